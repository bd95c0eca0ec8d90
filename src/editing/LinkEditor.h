#pragma once
// What the Add Url / Edit Url dialog does, without its widgets: the two
// modes, the dialog's folder tree and target folder, the OK check and New
// Folder. The dialog turns button presses into calls here.
#include <QString>

#include "store/Ansi.h"
#include "store/FolderTree.h"

namespace vorlix {

class EditorHost;

class LinkEditor {
 public:
  explicit LinkEditor(EditorHost& host);

  // The dialog's own copy of the folder tree (TreeViewAdd's model).
  FolderTreeModel& folderTree() { return tree_; }
  bool editMode() const { return editMode_; }
  // The folder a new link goes to, as LabelPath shows it.
  const AnsiString& targetPath() const { return target_; }
  // The node selected in the dialog tree at the last New Folder; the root
  // until then. Kept for the life of the program.
  int rememberedPosition() const { return remembered_; }

  // The Add command: add mode. A non-empty `folder` is the target folder
  // of the next showing, in place of the current folder (a link pasted or
  // dropped on a folder).
  void startAdd(const AnsiString& folder = {});
  // Edit on a link row: edit mode for the current list item, with the row's
  // caption and URL. False (and add mode) when the current item is no link.
  bool startEdit(QString& description, QString& url);
  // Each showing: the tree copied from the main tree, the node at the main
  // tree's selected position selected, the current folder as the target.
  void activate();
  // The user selected `node` in the dialog tree.
  void folderSelected(const FolderNode* node);

  // The OK press: checks the description and adds or edits. False when a
  // check failed and told the user; the dialog then stays open.
  bool ok(const QString& description, const QString& url);
  // The New Folder press: asks for a name and creates the folder in the
  // target folder, in the database and in both trees. The dialog stays open.
  void newFolder();
  // The dialog closed, with OK or not: refreshes what the change touched
  // and leaves edit mode.
  void finish(bool accepted);

 private:
  EditorHost& host_;
  FolderTreeModel tree_;
  bool editMode_ = false;
  AnsiString target_;
  AnsiString presetTarget_;  // for the next showing only
  AnsiString editedName_;    // the full name of the record being edited
  AnsiString editedFolder_;  // its folder, where the new description goes
  int remembered_ = 0;
};

// The description rule: the warning for a description that may not be used
// (empty, or holding '\' or a control character), or an empty text when it
// passes.
QString checkDescription(const QString& description);
// The same rule for a folder name made in the dialog; empty names pass here.
// Unlike the folder commands, a leading dot is allowed.
QString checkDialogFolderName(const QString& name);

}  // namespace vorlix
