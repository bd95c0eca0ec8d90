#include "editing/FolderCommands.h"

#include <algorithm>

#include "document/DocumentEdit.h"
#include "document/LinkDocument.h"
#include "editing/EditorHost.h"
#include "editing/FolderName.h"
#include "editing/HostSteps.h"
#include "platform/Prompts.h"
#include "store/DosDate.h"
#include "store/FolderPosition.h"
#include "store/FolderTree.h"
#include "store/LinkList.h"
#include "store/ListBuilder.h"
#include "store/ListRows.h"
#include "store/Paths.h"

namespace vorlix {
namespace {

// The node that is `path`'s own folder, not merely its deepest existing
// ancestor.
FolderNode* OwnNode(const FolderTreeModel& tree, const AnsiString& path) {
  FolderNode* node = FindNodeByPath(tree, path);
  return node && FolderTreeModel::NodePath(node) == path ? node : nullptr;
}

// False (after the warning) when renaming or making the folder `oldPath` as
// `newPath` would leave a record too long for its field.
bool FitsAfterRename(EditorHost& host, std::string_view oldPath, const AnsiString& newPath,
                     const AnsiString& name) {
  size_t longest = storedSize(newPath);
  if (!oldPath.empty())
    longest = std::max(longest, LongestAfterRename(host.document().links(), oldPath, newPath));
  if (longest <= size_t(kMaxText)) return true;
  const size_t needed = storedSize(name);
  const size_t over = longest - size_t(kMaxText);
  host.prompts().message(
      MsgType::Warning, Buttons::Ok,
      TooLongText(QStringLiteral("folder name"), needed > over ? needed - over : 0, needed));
  return false;
}

}  // namespace

void FolderCommands::newFolder() {
  Prompts& prompts = host_.prompts();
  const AnsiString name =
      toAnsi(prompts.input(QStringLiteral("New Folder"), QStringLiteral("Folder Name"), {}));
  if (CheckFolderName(prompts, name) != FolderNameVerdict::Accepted) return;

  const AnsiString current = host_.position().currentPath;
  const AnsiString path = current + name + '\\';
  if (!FitsAfterRename(host_, {}, path, name)) return;
  // Any record below a path of that name, link or folder, in any letter case.
  for (const LinkRecord& r : host_.document().links()) {
    if (startsWithNoCase(r.fullName(), path)) {
      prompts.message(MsgType::Warning, Buttons::Ok,
                      QStringLiteral("The Folder name you have entered already exist !"));
      return;
    }
  }

  DocumentEdit edit(host_.document(), QStringLiteral("New Folder ") + QuotedName(name));
  edit.links().append(LinkRecord::make(path, {}, currentDosDateTime(), kKindFolder));
  edit.links().sortByFullName();
  edit.commit();

  FolderTreeModel& tree = host_.tree();
  if (FolderNode* parent = OwnNode(tree, current)) {
    tree.addChild(parent, name);
    tree.sortChildrenRecursive(parent);
  } else {
    // The current folder has no node to hang the new one on.
    RebuildTreeKeepingPosition(host_);
  }

  host_.rebuildList();
  const int row = FindRowByCaptionPrefix(host_.rows(), name);
  if (row >= 0) host_.focusRow(row);
  host_.updateCommandState();
}

bool FolderCommands::TreeLinksEditing(const FolderNode* node) const {
  return node && !node->isRoot() && node->label != kRootName;
}

bool FolderCommands::TreeLinksEdited(FolderNode* node, const QString& text) {
  if (!TreeLinksEditing(node)) return false;
  const AnsiString name = toAnsi(text);
  if (CheckFolderName(host_.prompts(), name) != FolderNameVerdict::Accepted) return false;

  // The edited node names the folder, whichever folder the list shows.
  const AnsiString oldPath = FolderTreeModel::NodePath(node);
  const AnsiString newPath = FolderTreeModel::NodePath(node->parent) + name + '\\';
  if (!FitsAfterRename(host_, oldPath, newPath, name)) return false;
  DocumentEdit edit(host_.document(), QStringLiteral("Rename ") + QuotedName(node->label) +
                                          QStringLiteral(" to ") + QuotedName(name));
  RenameFolderPath(edit.links(), oldPath, newPath);
  edit.commit();
  host_.tree().setLabel(node, name);

  // Keep the current folder an existing one when it lies in the renamed one.
  const AnsiString current = host_.position().currentPath;
  if (startsWithNoCase(current, oldPath))
    MoveToFolder(host_, newPath + current.substr(oldPath.size()));

  host_.updateCommandState();
  return true;
}

void FolderCommands::renameFromList() {
  const int item = host_.currentItem();
  const ListRows& rows = host_.rows();
  if (item < 0 || size_t(item) >= rows.size()) return;
  if (!rows[size_t(item)].isFolder() || rows[size_t(item)].isUpRow()) return;
  // Cancel returns the old name, which is then applied like a typed one.
  renameListFolder(item, host_.prompts().input(QStringLiteral("Rename folder"),
                                               QStringLiteral("New folder name"),
                                               fromAnsi(AnsiString(rows[size_t(item)].caption))));
}

void FolderCommands::renameListFolder(int item, const QString& text) {
  const ListRows& rows = host_.rows();
  if (item < 0 || size_t(item) >= rows.size()) return;
  if (!rows[size_t(item)].isFolder() || rows[size_t(item)].isUpRow()) return;
  const AnsiString caption(rows[size_t(item)].caption);

  const AnsiString name = toAnsi(text);
  switch (CheckFolderName(host_.prompts(), name)) {
    case FolderNameVerdict::Rejected:
      return;
    case FolderNameVerdict::Empty:
      host_.updateCommandState();
      return;
    case FolderNameVerdict::Accepted:
      break;
  }

  const AnsiString current = host_.position().currentPath;
  const AnsiString oldPath = current + caption + '\\';
  if (!FitsAfterRename(host_, oldPath, current + name + '\\', name)) return;
  DocumentEdit edit(host_.document(), QStringLiteral("Rename ") + QuotedName(caption) +
                                          QStringLiteral(" to ") + QuotedName(name));
  RenameFolderPath(edit.links(), oldPath, current + name + '\\');
  edit.commit();
  if (FolderNode* node = OwnNode(host_.tree(), oldPath)) host_.tree().setLabel(node, name);
  host_.setRowCaption(item, name);
  host_.updateCommandState();
}

void FolderCommands::deleteFolder() { deleteFolder(host_.clickedFolder()); }

void FolderCommands::deleteFolder(FolderNode* node) {
  if (!TreeLinksEditing(node)) return;
  const AnsiString label = node->label;
  const Answer answer =
      host_.prompts().message(MsgType::Warning, Buttons::YesNo,
                              QStringLiteral("Are you sure you want to delete the folder '") +
                                  fromAnsi(label) + QStringLiteral("' and all its contents ?"));
  if (answer != Answer::Yes) return;

  const AnsiString path = FolderTreeModel::NodePath(node);
  DocumentEdit edit(host_.document(), QStringLiteral("Delete ") + QuotedName(label));
  edit.links().removeIf([&](const LinkRecord& r) { return startsWith(r.fullName(), path); });
  edit.commit();

  // A current folder inside the deleted one moves up to the deleted one's
  // parent, which still exists.
  if (startsWith(host_.position().currentPath, path)) MoveToFolder(host_, ParentPath(path));

  host_.rebuildList();
  RebuildTreeKeepingPosition(host_);
  host_.selectTreeNode(FindNodeByPath(host_.tree(), host_.position().currentPath));

  const int item = host_.currentItem();
  if (item > 0) host_.setCurrentItem(item - 1);
  host_.updateCommandState();
}

TreePopupState FolderCommands::popupState() const {
  TreePopupState state;
  state.rename = state.deleteFolder = TreeLinksEditing(host_.clickedFolder());
  return state;
}

}  // namespace vorlix
