#pragma once
// Which folder the list shows, and how tree events move it.
#include "store/Ansi.h"

namespace vorlix {

struct FolderNode;

struct FolderPosition {
  AnsiString rootName = "Favorites";
  AnsiString rootPath = "Favorites\\";
  // The folder the list shows, ending in '\'; empty until start-up sets it.
  AnsiString currentPath;
  // Non-empty exactly when the current folder is not the root. Its content
  // depends on how the folder was reached: the path below the root after a
  // tree selection ("News\Local\"), the entered folder's name after entering
  // from the list, the whole current path after going up from the list.
  AnsiString upMarker;

  // The path label's text: one blank, the root path, and the part of the
  // current path after the root path.
  AnsiString tpathText() const;
  bool atRoot() const { return upMarker.empty(); }
};

// The tree's selection moved to `node` while the tree has the keyboard focus.
// Callers then set the path label and rebuild the list. A null node leaves
// the position unchanged and returns false.
bool SelectTreeNode(FolderPosition& pos, const FolderNode* node);

// The tree received the keyboard focus with `selected` as its selected node;
// the same rules as a selection change (the list is rebuilt every time).
bool TreeFocused(FolderPosition& pos, const FolderNode* selected);

// A mouse press on the root node: back to the root at once, even when the
// root is already selected.
void ReturnToRoot(FolderPosition& pos);

// Back to the state of a freshly loaded or new database: the root, no up
// marker.
void ResetToRoot(FolderPosition& pos);

}  // namespace vorlix
