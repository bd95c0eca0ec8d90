#include "editing/DragDrop.h"

#include "editing/FitSummary.h"

#include <unordered_set>

#include "document/DocumentEdit.h"
#include "document/LinkDocument.h"
#include "editing/ClipboardCommands.h"
#include "editing/EditTexts.h"
#include "editing/EditorHost.h"
#include "editing/HostSteps.h"
#include "editing/RecordTransfer.h"
#include "platform/Prompts.h"
#include "store/FolderPosition.h"
#include "store/FolderTree.h"
#include "store/LinkList.h"

namespace vorlix {
namespace {

constexpr int kScrollMargin = 15;

enum class Fate { LeftInPlace, Moved, Merged };

FolderNode* ChildLabelled(const FolderNode* parent, std::string_view label) {
  for (const auto& child : parent->children)
    if (child->label == label) return child.get();
  return nullptr;
}

// Carries the sub-folders of `from` into `into`, folding same-named ones
// together as the records merge (names compared exactly), and removes `from`.
void MergeNodes(FolderTreeModel& tree, FolderNode* from, FolderNode* into) {
  std::vector<FolderNode*> children;
  for (const auto& child : from->children) children.push_back(child.get());
  for (FolderNode* child : children) {
    if (FolderNode* twin = ChildLabelled(into, child->label))
      MergeNodes(tree, child, twin);
    else
      tree.moveNode(child, into);
  }
  tree.removeNode(from);
}

}  // namespace

int EdgeScrollStep(int y, int height) {
  if (y < kScrollMargin) return -1;
  if (height - y < kScrollMargin) return 1;
  return 0;
}

void DragDrop::dragStart() {
  drag_.clear();
  drag_.sourceFolder = host_.position().currentPath;
  drag_.rows = SelectedTransferRows(host_);
  drag_.records = CollectRows(host_.document().links(), drag_.sourceFolder, drag_.rows,
                              LinkMatch::All, &recordRow_);
}

void DragDrop::drop(FolderNode* target) {
  if (!target) return;
  Prompts& prompts = host_.prompts();
  const AnsiString targetPath = FolderTreeModel::NodePath(target);
  const AnsiString& source = drag_.sourceFolder;
  if (source == targetPath) {
    prompts.message(MsgType::Error, Buttons::Ok, SameFolderMoveText());
    return;
  }

  std::unordered_set<AnsiString> targetFolders;
  for (const auto& child : target->children) targetFolders.insert(upperAscii(child->label));

  // Settle every row before anything changes, so an error or No to all
  // leaves the database as it was.
  const std::vector<TransferRow>& rows = drag_.rows;
  std::vector<Fate> fate(rows.size(), Fate::Moved);
  bool yesToAll = false;
  for (size_t i = 0; i < rows.size(); ++i) {
    const AnsiString& name = rows[i].caption;
    if (rows[i].isFolder() && startsWith(targetPath, source + name + '\\')) {
      prompts.message(MsgType::Error, Buttons::Ok, SameFolderMoveText());
      return;
    }
    if (!targetFolders.count(upperAscii(name))) continue;
    if (yesToAll) {
      fate[i] = Fate::Merged;
      continue;
    }
    switch (prompts.message(MsgType::Warning, Buttons::YesNoNoToAllYesToAll,
                            FolderExistsText(name, FolderVerb::Move))) {
      case Answer::YesToAll:
        yesToAll = true;
        fate[i] = Fate::Merged;
        break;
      case Answer::Yes:
        fate[i] = Fate::Merged;
        break;
      case Answer::No:
        fate[i] = Fate::LeftInPlace;
        break;
      default:  // No to all, or the box closed
        return;
    }
  }

  std::vector<LinkRecord> arriving;
  for (size_t j = 0; j < drag_.records.size(); ++j)
    if (fate[recordRow_[j]] != Fate::LeftInPlace) arriving.push_back(drag_.records[j]);
  if (arriving.empty()) return;

  std::vector<TransferRow> leaving;
  for (size_t i = 0; i < rows.size(); ++i)
    if (fate[i] != Fate::LeftInPlace) leaving.push_back(rows[i]);

  DocumentEdit edit(host_.document(), QStringLiteral("Move to ") + QuotedName(target->label));
  LinkList& links = edit.links();
  RemoveRows(links, source, leaving);
  FitReport report;
  InsertRecords(links, targetPath, arriving, &report);
  links.sortByFullName();
  edit.commit();

  // Patch the tree: a moved folder's node goes under the target, a merged
  // one folds into the target's folder of exactly that name.
  FolderTreeModel& tree = host_.tree();
  for (size_t i = 0; i < rows.size(); ++i) {
    if (fate[i] == Fate::LeftInPlace || !rows[i].isFolder()) continue;
    const AnsiString path = source + rows[i].caption + '\\';
    FolderNode* node = FindNodeByPath(tree, path);
    if (!node || FolderTreeModel::NodePath(node) != path) continue;
    FolderNode* twin = ChildLabelled(target, rows[i].caption);
    if (fate[i] == Fate::Merged && twin)
      MergeNodes(tree, node, twin);
    else
      tree.moveNode(node, target);
  }
  tree.sortChildrenRecursive(target);

  host_.rebuildList();
  host_.updateCommandState();
  ShowFitSummary(host_.prompts(), report);

  // What was left in place is no longer part of this drag.
  std::vector<size_t> keptRows;
  for (size_t row : recordRow_)
    if (fate[row] != Fate::LeftInPlace) keptRows.push_back(row);
  drag_.records = std::move(arriving);
  recordRow_ = std::move(keptRows);
}

}  // namespace vorlix
