#pragma once
// Delete, Copy and Paste of the selected list rows.
#include <vector>

#include "editing/ClipboardList.h"

namespace vorlix {

class EditorHost;

// The rows a command works on: the selected rows in row order, the ".." row
// left out, each with the folder its records live in (the current folder,
// or a flat-listing link's own folder).
std::vector<TransferRow> SelectedTransferRows(EditorHost& host);

class ClipboardCommands {
 public:
  // The clipboard belongs to the host, which keeps it across New and Open.
  ClipboardCommands(EditorHost& host, ClipboardList& clipboard)
      : host_(host), clipboard_(clipboard) {}

  void copy();
  void deleteSelected();
  void paste();

  // Paste is enabled while the clipboard holds records.
  bool canPaste() const { return !clipboard_.empty(); }

 private:
  // Asks the paste questions; false when the answer was No to all.
  bool askPasteQuestions();

  EditorHost& host_;
  ClipboardList& clipboard_;
};

}  // namespace vorlix
