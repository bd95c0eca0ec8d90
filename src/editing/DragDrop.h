#pragma once
// Moving list rows onto a tree folder by drag and drop. Only the tree takes
// drops; the list refuses them and the tree starts no drags.
#include <vector>

#include "editing/ClipboardList.h"

namespace vorlix {

class EditorHost;
struct FolderNode;

// Drag over the tree at height `y` of a tree `height` pixels high: -1 to
// scroll one line up, 1 to scroll one line down, 0 to stay.
int EdgeScrollStep(int y, int height);

class DragDrop {
 public:
  explicit DragDrop(EditorHost& host) : host_(host) {}

  // The list started a drag of its selected rows.
  void dragStart();
  // The dragged rows were dropped on `target` (null: empty space).
  void drop(FolderNode* target);

  // The last drag: its records, source folder and rows.
  const TransferList& dragList() const { return drag_; }

 private:
  EditorHost& host_;
  TransferList drag_;
  std::vector<size_t> recordRow_;  // for each record of drag_, its row
};

}  // namespace vorlix
