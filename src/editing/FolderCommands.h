#pragma once
// New folder, the two renames and Delete folder, with the tree popup's rule.
#include <QString>

namespace vorlix {

class EditorHost;
struct FolderNode;

// Which items of the tree popup are enabled when it opens.
struct TreePopupState {
  bool newFolder = true;
  bool rename = false;
  bool deleteFolder = false;
};

class FolderCommands {
 public:
  explicit FolderCommands(EditorHost& host) : host_(host) {}

  // F7: asks for a name and creates the folder in the current folder.
  void newFolder();

  // May the label of `node` be edited? Never the root's.
  bool TreeLinksEditing(const FolderNode* node) const;
  // The user ended a label edit of `node` with `text` (not called for an
  // edit cancelled with Escape). Renames the folder with everything below
  // it and relabels the node; returns false when the old label stays (a
  // rejected or empty name). The model's label is already set on true.
  bool TreeLinksEdited(FolderNode* node, const QString& text);

  // Edit on a folder row: asks for the new name of the current list item.
  void renameFromList();
  // The folder row `item` of the list takes the name `text` (typed in place
  // or in the box), by the same rules.
  void renameListFolder(int item, const QString& text);

  // The tree popup's Delete: removes the clicked folder with everything
  // below it, after asking.
  void deleteFolder();
  // The same for `node` (the Delete key acts on the selected folder).
  void deleteFolder(FolderNode* node);

  // The tree popup is opening. Edit and Delete act on the clicked folder, so
  // they are enabled when there is one and it is not the root.
  TreePopupState popupState() const;

 private:
  EditorHost& host_;
};

}  // namespace vorlix
