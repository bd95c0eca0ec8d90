#pragma once
// Connects the editing commands to the main window: its view, its questions,
// the list's selection and focus, and the commands themselves.
#include "editing/ClipboardCommands.h"
#include "editing/ClipboardList.h"
#include "editing/DragDrop.h"
#include "editing/EditorHost.h"
#include "editing/FolderCommands.h"

namespace vorlix {

class TXeListView;

class MainEditorHost : public EditorHost {
 public:
  MainEditorHost(FolderView& view, Prompts& prompts, TXeListView& list);

  FolderView& view() override { return view_; }
  Prompts& prompts() override { return prompts_; }
  std::vector<int> selectedRows() override;
  void focusRow(int row) override { view_.focusRow(row); }

  ClipboardList clipboard;
  FolderCommands folders{*this};
  ClipboardCommands clipboardCommands{*this, clipboard};
  DragDrop dragDrop{*this};

 private:
  FolderView& view_;
  Prompts& prompts_;
  TXeListView& list_;
};

}  // namespace vorlix
