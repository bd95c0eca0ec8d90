#include "editing/ClipboardCommands.h"

#include "editing/FitSummary.h"

#include "document/DocumentEdit.h"
#include "document/LinkDocument.h"
#include "editing/EditTexts.h"
#include "editing/EditorHost.h"
#include "editing/HostSteps.h"
#include "editing/RecordTransfer.h"
#include "editing/SystemClipboardLinks.h"
#include "platform/Prompts.h"
#include "store/FolderPosition.h"
#include "store/FolderTree.h"
#include "store/LinkList.h"
#include "store/ListRows.h"

namespace vorlix {

std::vector<TransferRow> SelectedTransferRows(EditorHost& host) {
  const ListRows& rows = host.rows();
  const AnsiString& current = host.position().currentPath;
  std::vector<TransferRow> out;
  for (int i : host.selectedRows()) {
    if (i < 0 || size_t(i) >= rows.size()) continue;
    const ListRow& row = rows[size_t(i)];
    if (row.isUpRow()) continue;
    // A link row's Path is its own folder: the current one in the explorer
    // listing, any folder below it in the flat one. Reading it per row keeps
    // find results right after the find box has lost the focus.
    const bool ownFolder = !row.isFolder() && !row.path.empty();
    out.push_back({AnsiString(row.caption), AnsiString(row.kind),
                   ownFolder ? AnsiString(row.path) : current});
  }
  return out;
}

void ClipboardCommands::copy() {
  if (host_.selectedRows().empty()) {
    host_.prompts().message(MsgType::Information, Buttons::Ok, IncorrectSelectionText());
    return;
  }
  clipboard_.clear();
  clipboard_.sourceFolder = host_.position().currentPath;
  clipboard_.rows = SelectedTransferRows(host_);
  clipboard_.records = CollectRows(host_.document().links(), clipboard_.sourceFolder,
                                   clipboard_.rows, LinkMatch::First);
  clipboard_.sortByFolder();
  if (system_) system_->copied(clipboard_);
  host_.updateCommandState();
}

bool ClipboardCommands::canPaste() const {
  return !clipboard_.empty() || (system_ && system_->hasForeignLinks());
}

void ClipboardCommands::deleteSelected() {
  const std::vector<TransferRow> rows = SelectedTransferRows(host_);
  // A selection of nothing but ".." has nothing to delete.
  if (rows.empty()) {
    host_.prompts().message(MsgType::Information, Buttons::Ok, IncorrectSelectionText());
    return;
  }
  // The question names the row that is deleted.
  QString question;
  if (rows.size() > 1)
    question = QStringLiteral("Are you sure you want to delete the selected items ?");
  else if (rows.front().isFolder())
    question = QStringLiteral("Are you sure you want to delete the folder '") +
               fromAnsi(rows.front().caption) + QStringLiteral("' and all its contents ?");
  else
    question = QStringLiteral("Are you sure you want to delete the item '") +
               fromAnsi(rows.front().caption) + QStringLiteral("' ?");
  if (host_.prompts().message(MsgType::Warning, Buttons::YesNo, question) != Answer::Yes) return;

  DocumentEdit edit(host_.document(),
                    rows.size() > 1 ? QStringLiteral("Delete %1 Items").arg(rows.size())
                                    : QStringLiteral("Delete ") + QuotedName(rows.front().caption));
  RemoveRows(edit.links(), host_.position().currentPath, rows);
  edit.commit();
  host_.rebuildList();
  RebuildTreeKeepingPosition(host_);

  int item = host_.currentItem();
  if (item > 0) host_.setCurrentItem(--item);
  host_.updateCommandState();
  if (item >= 0) {
    const int row = RowAfterDownPresses(item + 1, int(host_.rows().size()));
    if (row >= 0) host_.focusRow(row);
  }
}

bool ClipboardCommands::askPasteQuestions() {
  Prompts& prompts = host_.prompts();
  const FolderContents target = ContentsOf(host_.document().links(), host_.position().currentPath);
  bool yesToAll = false;
  bool noToAll = false;
  // Rows an answer left out lose their records for good; they are not asked
  // about again.
  std::vector<bool> leftOut(clipboard_.rows.size(), false);
  for (size_t i = 0; i < clipboard_.rows.size() && !noToAll; ++i) {
    const TransferRow& row = clipboard_.rows[i];
    const AnsiString upper = upperAscii(row.caption);
    if (row.kind == kKindFolder && target.subfolders.count(upper)) {
      if (yesToAll) continue;
      switch (prompts.message(MsgType::Warning, Buttons::YesNoNoToAllYesToAll,
                              FolderExistsText(row.caption, FolderVerb::Copy))) {
        case Answer::YesToAll:
          yesToAll = true;
          break;
        case Answer::Yes:
          break;
        case Answer::No:
          leftOut[i] = true;
          clipboard_.dropFolderRecords(row.caption);
          break;
        default:  // No to all, or the box closed: change nothing
          noToAll = true;
          break;
      }
    } else if (row.kind == kKindUrl && target.links.count(upper)) {
      if (prompts.message(MsgType::Warning, Buttons::YesNo, LinkExistsText(row.caption)) !=
          Answer::Yes) {
        leftOut[i] = true;
        clipboard_.dropLinkRecords(row.caption);
      }
    }
  }
  std::vector<TransferRow> kept;
  for (size_t i = 0; i < clipboard_.rows.size(); ++i)
    if (!leftOut[i]) kept.push_back(std::move(clipboard_.rows[i]));
  clipboard_.rows.swap(kept);
  return !noToAll;
}

void ClipboardCommands::paste() {
  if (system_ && system_->pasteForeignLinks()) return;
  const AnsiString current = host_.position().currentPath;
  if (clipboard_.sourceFolder == current) {
    host_.prompts().message(MsgType::Error, Buttons::Ok, SameFolderPasteText());
    return;
  }
  if (clipboard_.empty()) return;
  if (!askPasteQuestions()) return;
  if (clipboard_.empty()) return;

  DocumentEdit edit(host_.document(), QStringLiteral("Paste"));
  FitReport report;
  InsertRecords(edit.links(), current, clipboard_.records, &report);
  edit.links().sortByFullName();
  edit.commit();
  host_.rebuildList();
  RebuildTreeKeepingPosition(host_);
  ShowFitSummary(host_.prompts(), report);

  const int item = host_.currentItem();
  const ListRows& rows = host_.rows();
  if (item >= 0 && size_t(item) < rows.size() && rows[size_t(item)].isFolder())
    host_.selectTreeNode(
        FindNodeByPath(host_.tree(), current + AnsiString(rows[size_t(item)].caption) + '\\'));
  if (!rows.empty()) host_.focusRow(0);
  host_.updateCommandState();
}

}  // namespace vorlix
