#pragma once
// Delete, Copy and Paste of the selected list rows.
#include <vector>

#include "editing/ClipboardList.h"

namespace vorlix {

class EditorHost;
class SystemClipboardLinks;

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

  // Paste is enabled while either clipboard has something to paste.
  bool canPaste() const;

  // Copy also goes to the system clipboard, and Paste takes links of other
  // programs from there first; null: the own clipboard only.
  void setSystemClipboard(SystemClipboardLinks* system) { system_ = system; }

 private:
  // Asks the paste questions; false when the answer was No to all.
  bool askPasteQuestions();

  EditorHost& host_;
  ClipboardList& clipboard_;
  SystemClipboardLinks* system_ = nullptr;
};

}  // namespace vorlix
