#include "editing/LinkEditor.h"

#include <algorithm>

#include "document/DocumentEdit.h"
#include "document/LinkDocument.h"
#include "editing/DialogFolderTree.h"
#include "editing/EditorHost.h"
#include "editing/FolderName.h"
#include "editing/HostSteps.h"
#include "platform/Prompts.h"
#include "store/DosDate.h"
#include "store/FolderPosition.h"
#include "store/LinkList.h"
#include "store/ListBuilder.h"
#include "store/ListRows.h"
#include "store/Paths.h"

namespace vorlix {

namespace {

const QString kSpecialCharacters = QStringLiteral("Please do not include special characters \\");

bool hasForbidden(const QString& text) { return !HoldsOnlyNameCharacters(text); }

// The warning when `name` does not fit a record below `folder`, or empty.
QString tooLongBelow(const QString& what, const AnsiString& folder, const AnsiString& name,
                     std::string_view tail = {}) {
  const size_t base = storedSize(folder) + tail.size();
  const size_t room = base >= size_t(kMaxText) ? 0 : size_t(kMaxText) - base;
  const size_t whole = storedSize(folder + name) + tail.size();
  return TooLongText(what, room, whole - std::min(whole, base));
}

// The node that is `path`'s own folder, not merely its deepest existing
// ancestor.
FolderNode* ownNode(const FolderTreeModel& tree, const AnsiString& path) {
  FolderNode* node = FindNodeByPath(tree, path);
  return node && FolderTreeModel::NodePath(node) == path ? node : nullptr;
}

void warn(Prompts& prompts, const QString& text) {
  prompts.message(MsgType::Warning, Buttons::Ok, text);
}

}  // namespace

QString checkDescription(const QString& d) {
  if (d.isEmpty()) return QStringLiteral("Enter description for this URL !");
  if (hasForbidden(d))
    return d + QStringLiteral("\r\nThe above description name is invalid.\r\n") +
           kSpecialCharacters;
  return {};
}

QString checkDialogFolderName(const QString& name) {
  if (!hasForbidden(name)) return {};
  return name + QStringLiteral("\r\nThe Folder name you have entered is invalid.\r\n") +
         kSpecialCharacters;
}

LinkEditor::LinkEditor(EditorHost& host) : host_(host) {}

void LinkEditor::startAdd(const AnsiString& folder) {
  presetTarget_ = folder;
  editMode_ = false;
  editedName_.clear();
  editedFolder_.clear();
}

bool LinkEditor::startEdit(QString& description, QString& url) {
  startAdd();
  const int item = host_.currentItem();
  const auto& rows = host_.rows();
  if (item < 0 || size_t(item) >= rows.size() || rows[size_t(item)].isFolder()) return false;
  const ListRow& row = rows[size_t(item)];
  // A row of the flat listing lives in the folder its Path column names.
  editedName_ = RowFullName(row, host_.position(), host_.flatMode());
  editedFolder_ = FilePath(editedName_);
  description = fromAnsi(row.caption);
  url = fromAnsi(row.url);
  editMode_ = true;
  return true;
}

void LinkEditor::activate() {
  CopyFolderTree(host_.tree(), tree_);
  if (NodeCount(tree_) > 1)
    tree_.setSelected(NodeAtAbsolutePosition(tree_, AbsolutePosition(host_.tree().selected())));
  target_ = host_.position().currentPath;
  if (!presetTarget_.empty()) {
    FolderNode* node = FindNodeByPath(tree_, presetTarget_);
    if (node && FolderTreeModel::NodePath(node) == presetTarget_) tree_.setSelected(node);
    target_ = presetTarget_;
    presetTarget_.clear();
  }
}

void LinkEditor::folderSelected(const FolderNode* node) {
  if (node) target_ = FolderTreeModel::NodePath(node);
}

bool LinkEditor::ok(const QString& description, const QString& url) {
  Prompts& prompts = host_.prompts();
  const QString problem = checkDescription(description);
  if (!problem.isEmpty()) {
    warn(prompts, problem);
    return false;
  }
  const AnsiString desc = toAnsi(description);
  const AnsiString newUrl = toAnsi(url);
  // Nothing is cut: a text that does not fit is refused with its room.
  QString tooLong =
      tooLongBelow(QStringLiteral("description"), editMode_ ? editedFolder_ : target_, desc);
  if (tooLong.isEmpty())
    tooLong = TooLongText(QStringLiteral("URL"), size_t(kMaxText), storedSize(newUrl));
  if (!tooLong.isEmpty()) {
    warn(prompts, tooLong);
    return false;
  }
  if (editMode_) {
    // Every record of that name changes; no duplicate test, as for a rename
    // in place.
    const AnsiString newName = editedFolder_ + desc;
    const std::uint32_t now = currentDosDateTime();
    DocumentEdit edit(host_.document(),
                      QStringLiteral("Edit ") + QuotedName(FileNameView(newName)));
    LinkList& links = edit.links();
    for (size_t i = 0; i < links.size(); ++i) {
      if (links[i].fullName() != editedName_) continue;
      LinkRecord r = links[i];
      r.setFullName(newName);
      r.setUrl(newUrl);
      r.setDateStamp(now);
      links.replace(i, r);
    }
    links.sortByFullName();
    edit.commit();
    return true;
  }
  const AnsiString name = target_ + desc;
  if (host_.document().links().indexOf(name) >= 0) {
    warn(prompts, QStringLiteral("The Description name you have entered already exist !"));
    return false;
  }
  DocumentEdit edit(host_.document(), QStringLiteral("Add ") + QuotedName(FileNameView(name)));
  edit.links().append(LinkRecord::make(name, newUrl, currentDosDateTime(), kKindUrl));
  edit.commit();
  return true;
}

void LinkEditor::newFolder() {
  remembered_ = std::max(0, AbsolutePosition(tree_.selected()));
  Prompts& prompts = host_.prompts();
  const QString typed =
      prompts.input(QStringLiteral("New Folder"), QStringLiteral("Folder Name"), QString());
  const QString problem = checkDialogFolderName(typed);
  if (!problem.isEmpty()) {
    warn(prompts, problem);
    return;
  }
  if (typed.isEmpty()) return;
  const AnsiString name = toAnsi(typed);
  const QString tooLong = tooLongBelow(QStringLiteral("folder name"), target_, name, "\\");
  if (!tooLong.isEmpty()) {
    warn(prompts, tooLong);
    return;
  }
  const AnsiString path = target_ + name + '\\';
  for (const LinkRecord& r : host_.document().links()) {
    if (startsWithNoCase(r.fullName(), path)) {
      warn(prompts, QStringLiteral("The Folder name you have entered already exist !"));
      return;
    }
  }
  DocumentEdit edit(host_.document(), QStringLiteral("New Folder ") + QuotedName(name));
  edit.links().append(LinkRecord::make(path, {}, currentDosDateTime(), kKindFolder));
  edit.links().sortByFullName();
  edit.commit();

  FolderTreeModel& main = host_.tree();
  if (FolderNode* parent = ownNode(main, target_)) {
    main.addChild(parent, name);
    main.sortChildrenRecursive(main.root());
    if (NodeCount(main) <= 2) ExpandAll(main);
  } else {
    // The target has no node of its own to hang the new one on.
    const FolderPosition keep = host_.position();
    host_.rebuildTree();
    host_.position() = keep;
  }

  if (FolderNode* parent = ownNode(tree_, target_)) {
    tree_.addChild(parent, name)->selectedImageIndex = kImageFolderSelected;
    tree_.setExpanded(parent, true);  // so the new folder is in sight
  }
  if (FolderNode* kept = NodeAtAbsolutePosition(tree_, remembered_)) {
    tree_.sortChildrenRecursive(kept);
    tree_.setSelected(kept);
  }
  if (NodeCount(tree_) <= 2) ExpandAll(tree_);

  host_.rebuildList();
}

void LinkEditor::finish(bool accepted) {
  if (accepted) {
    // The new or changed link shows at once; the main tree keeps its
    // selection, which is the folder the list shows.
    host_.rebuildList();
  }
  startAdd();
  host_.updateCommandState();
}

}  // namespace vorlix
