#pragma once
// An EditorHost over the real store: a real LinkList, the real tree model
// rebuilt by RebuildTree and the real rows of BuildRows, with the window's
// reactions modelled plainly and the questions answered from a script.
#include <QStringList>
#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "document/LinkDocument.h"
#include "editing/EditorHost.h"
#include "store/FolderPosition.h"
#include "store/FolderTree.h"
#include "store/LinkList.h"
#include "store/ListBuilder.h"
#include "store/ListRows.h"
#include "support/ScriptedPrompts.h"

namespace vorlix::test {

class EditorTestHost : public EditorHost {
 public:
  LinkDocument doc;
  const LinkList& list = doc.links();
  FolderPosition pos;
  FolderTreeModel treeModel;
  ListRows rowList;
  std::vector<int> selection;
  int current = -1;
  FolderNode* clicked = nullptr;
  bool flat = false;
  int stateUpdates = 0;
  int focused = -1;
  int treeRebuilds = 0;
  AnsiString pathText;
  ScriptedPrompts scripted;

  EditorTestHost() {
    ReturnToRoot(pos);
    // The window forgets a clicked node the model takes away.
    QObject::connect(&treeModel, &QAbstractItemModel::modelAboutToBeReset,
                     [this] { clicked = nullptr; });
    QObject::connect(&treeModel, &QAbstractItemModel::rowsAboutToBeRemoved,
                     [this] { clicked = nullptr; });
    // After undo or redo the window shows the content again.
    QObject::connect(&doc, &LinkDocument::historyMoved, [this] {
      RebuildTree(treeModel, list);
      rebuildList();
    });
  }

  // --- EditorHost -------------------------------------------------------
  LinkDocument& document() override { return doc; }
  FolderPosition& position() override { return pos; }
  FolderTreeModel& tree() override { return treeModel; }
  const ListRows& rows() override { return rowList; }
  std::vector<int> selectedRows() override { return selection; }
  int currentItem() override { return current; }
  void setCurrentItem(int row) override { current = row; }
  FolderNode* clickedFolder() override { return clicked; }
  bool flatMode() override { return flat; }
  Prompts& prompts() override { return scripted; }
  void rebuildList() override {
    rowList = BuildRows(list, pos, flat);
    selection.clear();
    focused = -1;
  }
  void rebuildTree() override {
    RebuildTree(treeModel, list);
    ++treeRebuilds;
    // As with a focused tree: selecting the root makes it current.
    SelectTreeNode(pos, treeModel.root());
  }
  void focusRow(int row) override {
    focused = row;
    selection = {row};
    current = row;
    ++stateUpdates;
  }
  void selectTreeNode(FolderNode* node) override { treeModel.setSelected(node); }
  void setRowCaption(int row, const AnsiString& caption) override {
    rowList.setCaption(size_t(row), caption);
  }
  void showPath() override { pathText = pos.tpathText(); }
  void updateCommandState() override { ++stateUpdates; }

  // --- setting up -------------------------------------------------------
  // Records from names: a name ending in '\' is a folder, anything else a
  // link whose URL is "u:" + name. "Favorites\" is put in front of each.
  void load(std::initializer_list<const char*> names, bool sorted = true) {
    for (const char* n : names) add(n);
    if (sorted) sortList();
    RebuildTree(treeModel, list);
    rebuildList();
  }
  // Setting up the database is no edit: it opens as a saved file would.
  void add(const std::string& name, const std::string& url = {}, std::uint32_t date = 0) {
    const std::string full = "Favorites\\" + name;
    const bool folder = full.back() == '\\';
    LinkList next = list;
    next.append(LinkRecord::make(full, folder ? std::string() : (url.empty() ? "u:" + name : url),
                                 date, folder ? kKindFolder : kKindUrl));
    doc.adopt(std::move(next), {});
  }
  void sortList() {
    LinkList next = list;
    next.sortByFullName();
    doc.adopt(std::move(next), {});
  }
  void clearList() { doc.adopt(LinkList(), {}); }
  bool dirty() const { return doc.isDirty(); }
  // Shows `below` ("" for the root, "A\B\" for a folder) as a tree
  // selection would.
  void open(const std::string& below) {
    SelectTreeNode(pos, node(below));
    pos.currentPath = "Favorites\\" + below;  // also for a folder with no node
    rebuildList();
  }
  FolderNode* node(const std::string& below) {
    FolderNode* n = FindNodeByPath(treeModel, "Favorites\\" + below);
    return n && FolderTreeModel::NodePath(n) == "Favorites\\" + below ? n : nullptr;
  }
  // Selects the rows with these captions; the last becomes the current item.
  void select(std::initializer_list<const char*> captions) {
    selection.clear();
    for (const char* c : captions)
      for (size_t i = 0; i < rowList.size(); ++i)
        if (rowList[i].caption == c) {
          selection.push_back(int(i));
          current = int(i);
          break;
        }
    std::sort(selection.begin(), selection.end());
  }
  int rowOf(const char* caption) const {
    for (size_t i = 0; i < rowList.size(); ++i)
      if (rowList[i].caption == caption) return int(i);
    return -1;
  }

  // --- looking at the result --------------------------------------------
  // Every full name without "Favorites\", in list order.
  QStringList names() const {
    QStringList out;
    for (const LinkRecord& r : list) out << fromAnsi(r.fullName().substr(10));
    return out;
  }
  QStringList sortedNames() const {
    QStringList out = names();
    out.sort();
    return out;
  }
  const LinkRecord* record(const std::string& below) const {
    const long i = list.indexOf("Favorites\\" + below);
    return i < 0 ? nullptr : &list[size_t(i)];
  }
  QStringList captions() const {
    QStringList out;
    for (const ListRow& r : rowList) out << fromAnsi(r.caption);
    return out;
  }
  // The tree as text: "Favorites(A(X),B)".
  QString treeText() const { return treeModel.root() ? nodeText(treeModel.root()) : QString(); }
  static QString nodeText(const FolderNode* n) {
    QString s = fromAnsi(n->label);
    if (n->children.empty()) return s;
    QStringList kids;
    for (const auto& c : n->children) kids << nodeText(c.get());
    return s + '(' + kids.join(',') + ')';
  }
};

}  // namespace vorlix::test
