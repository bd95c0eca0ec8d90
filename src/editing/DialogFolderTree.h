#pragma once
// The Add Url dialog's own copy of the folder tree, and the node positions
// the dialog and the main tree agree on.
#include "store/FolderTree.h"

namespace vorlix {

// Replaces `to` by a copy of `from`: same labels, hierarchy and order. The
// root shows image 2 whether selected or not, every other node image 0 and
// image 5 while selected. Only the root is expanded; nothing is selected.
void CopyFolderTree(const FolderTreeModel& from, FolderTreeModel& to);

// A node's index in the depth-first order of all nodes (the root is 0);
// -1 for null.
int AbsolutePosition(const FolderNode* node);
// The node at that index, or null.
FolderNode* NodeAtAbsolutePosition(const FolderTreeModel& tree, int position);
int NodeCount(const FolderTreeModel& tree);
void ExpandAll(FolderTreeModel& tree);

}  // namespace vorlix
