#pragma once
// What the editing commands need from the window that shows the database.
//
// Everything about the database and the folder shown is the FolderView;
// only the questions, the list's selection and its keyboard focus need the
// window. The commands never touch a widget, so a test double over a real
// FolderView runs the real algorithms.
#include <vector>

#include "document/LinkDocument.h"
#include "store/Ansi.h"
#include "view/FolderView.h"

namespace vorlix {

class Prompts;

class EditorHost {
 public:
  virtual ~EditorHost() = default;

  virtual FolderView& view() = 0;
  virtual Prompts& prompts() = 0;
  // Indices of the selected rows, in row order.
  virtual std::vector<int> selectedRows() = 0;
  // Moves the list's keyboard focus and selection to `row` (what a run of
  // Down-arrow presses from an unfocused list reaches), running the list's
  // ordinary selection handling (current item, command state).
  virtual void focusRow(int row) = 0;

  // --- the view, as the commands use it ------------------------------------
  // Commands change the database through a DocumentEdit, so each command is
  // one undo step; the dirty flag follows from its history.
  LinkDocument& document() { return view().document(); }
  // Commands may change the position (after a rename or a delete that
  // touched the current folder) and then call showPath().
  FolderPosition& position() { return view().position(); }
  FolderTreeModel& tree() { return view().tree(); }
  // The list's rows as they are shown now (".." row included).
  const ListRows& rows() { return view().rows(); }
  int currentItem() { return view().currentItem(); }
  void setCurrentItem(int row) { view().setCurrentItem(row); }
  FolderNode* clickedFolder() { return view().clickedFolder(); }
  bool flatMode() { return view().flatMode(); }
  void rebuildList() { view().rebuildList(); }
  // The commands save position() before and put it back after, and the
  // list they rebuilt must not be replaced by the root's.
  void rebuildTree() { view().rebuildTree(false); }
  void selectTreeNode(FolderNode* node) { view().selectNode(node); }
  void setRowCaption(int row, const AnsiString& caption) { view().list().setCaption(row, caption); }
  void showPath() { view().showPath(); }
  void updateCommandState() { view().stateChanged(); }
};

}  // namespace vorlix
