#pragma once
// What the editing commands need from the window that owns the database.
//
// The main window implements this; the commands hold a reference to it and
// never touch a widget. Everything a command changes goes either into the
// models returned here or through one of the notifications below, so a test
// double with the real models runs the real algorithms.
#include <vector>

#include "store/Ansi.h"

namespace vorlix {

class LinkDocument;
class FolderTreeModel;
class Prompts;
struct FolderNode;
struct FolderPosition;
class ListRows;

class EditorHost {
 public:
  virtual ~EditorHost() = default;

  // --- state --------------------------------------------------------------
  // The open database. Commands change it through a DocumentEdit, so each
  // command is one undo step; the dirty flag follows from its history.
  virtual LinkDocument& document() = 0;
  // Which folder the list shows. Commands may change it (after a rename or a
  // delete that touched the current folder) and then call showPath().
  virtual FolderPosition& position() = 0;
  virtual FolderTreeModel& tree() = 0;
  // The list's rows as they are shown now (".." row included).
  virtual const ListRows& rows() = 0;
  // Indices of the selected rows, in row order.
  virtual std::vector<int> selectedRows() = 0;
  // The current list item: the row last selected or clicked; -1 for none.
  virtual int currentItem() = 0;
  virtual void setCurrentItem(int row) = 0;
  // The tree node under the pointer at the last non-right mouse press in the
  // tree, or null. Must not be left pointing at a node the model removed
  // (watch the model's rowsAboutToBeRemoved).
  virtual FolderNode* clickedFolder() = 0;
  // True when the rows were built as the flat listing (classic style, or
  // find results). The commands themselves read each row's Path column.
  virtual bool flatMode() = 0;
  virtual Prompts& prompts() = 0;

  // --- refreshes ----------------------------------------------------------
  // RebuildList from LinkList for position(); afterwards no row is focused.
  virtual void rebuildList() = 0;
  // RebuildTree from LinkList. The commands save position() before and put
  // it back after, so the host may let the root selection move the current
  // folder the way a focused tree does.
  virtual void rebuildTree() = 0;
  // Moves the list's keyboard focus and selection to `row` (what a run of
  // Down-arrow presses from an unfocused list reaches), running the list's
  // ordinary selection handling (current item, command state).
  virtual void focusRow(int row) = 0;
  // Selects `node` (or nothing for null) in the tree without making it the
  // current folder, as when the tree follows the list.
  virtual void selectTreeNode(FolderNode* node) = 0;
  virtual void setRowCaption(int row, const AnsiString& caption) = 0;
  // Sets the path label TPath from position().
  virtual void showPath() = 0;
  // UpdateCommandState.
  virtual void updateCommandState() = 0;
};

}  // namespace vorlix
