#pragma once
// Connects the editing commands to the main window: the window's state and
// refreshes as the commands expect them, and the commands themselves.
#include "editing/ClipboardCommands.h"
#include "editing/ClipboardList.h"
#include "editing/DragDrop.h"
#include "editing/EditorHost.h"
#include "editing/FolderCommands.h"

namespace vorlix {

class TFMainXeVorlix;

class MainEditorHost : public EditorHost {
 public:
  explicit MainEditorHost(TFMainXeVorlix& window);

  LinkDocument& document() override;
  FolderPosition& position() override;
  FolderTreeModel& tree() override;
  const ListRows& rows() override;
  std::vector<int> selectedRows() override;
  int currentItem() override;
  void setCurrentItem(int row) override;
  FolderNode* clickedFolder() override;
  bool flatMode() override;
  Prompts& prompts() override;
  void rebuildList() override;
  void rebuildTree() override;
  void focusRow(int row) override;
  void selectTreeNode(FolderNode* node) override;
  void setRowCaption(int row, const AnsiString& caption) override;
  void showPath() override;
  void updateCommandState() override;

  ClipboardList clipboard;
  FolderCommands folders{*this};
  ClipboardCommands clipboardCommands{*this, clipboard};
  DragDrop dragDrop{*this};

 private:
  TFMainXeVorlix& w_;
};

}  // namespace vorlix
