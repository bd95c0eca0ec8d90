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
#include "view/FolderView.h"

namespace vorlix::test {

class EditorTestHost : public EditorHost, public FolderView::Controls {
 public:
  LinkDocument doc;
  const LinkList& list = doc.links();
  FolderView folderView{doc};
  FolderPosition& pos = folderView.position();
  FolderTreeModel& treeModel = folderView.tree();
  const ListRows& rowList = folderView.rows();
  std::vector<int> selection;
  bool flat = false;
  int stateUpdates = 0;
  int focused = -1;
  AnsiString pathText;
  ScriptedPrompts scripted;

  EditorTestHost() {
    ReturnToRoot(pos);
    folderView.setControls(this);
    // What the window's controls do with what the view tells them.
    QObject::connect(&folderView, &FolderView::commandStateChanged, [this] { ++stateUpdates; });
    QObject::connect(&folderView, &FolderView::rowFocused, [this](int row) {
      focused = row;
      selection = {row};
    });
    QObject::connect(&folderView, &FolderView::pathChanged,
                     [this](const QString& text) { pathText = toAnsi(text); });
    // A rebuilt list has no selection and no focused row.
    QObject::connect(&folderView.list(), &QAbstractItemModel::modelReset, [this] {
      selection.clear();
      focused = -1;
    });
  }

  // --- EditorHost -------------------------------------------------------
  FolderView& view() override { return folderView; }
  Prompts& prompts() override { return scripted; }
  std::vector<int> selectedRows() override { return selection; }
  void focusRow(int row) override { folderView.focusRow(row); }
  // --- FolderView::Controls: `flat` stands for the classic style ----------
  bool treeHasFocus() const override { return false; }
  QString activeFind() const override { return {}; }
  bool classicStyle() const override { return flat; }
  std::pair<int, bool> sortOrder() const override { return {-1, false}; }
  int current() const { return folderView.currentItem(); }

  // --- setting up -------------------------------------------------------
  // Records from names: a name ending in '\' is a folder, anything else a
  // link whose URL is "u:" + name. "Favorites\" is put in front of each.
  // Setting up the database is no edit: it opens as a saved file would.
  void load(std::initializer_list<const char*> names, bool sorted = true) {
    LinkList next = list;
    for (const char* n : names) next.append(made(n));
    if (sorted) next.sortByFullName();
    doc.adopt(std::move(next), {});
    stateUpdates = 0;  // counts what the commands refresh, not the opening
  }
  void add(const std::string& name, const std::string& url = {}, std::uint32_t date = 0) {
    LinkList next = list;
    next.append(made(name, url, date));
    doc.adopt(std::move(next), {});
  }
  static LinkRecord made(const std::string& name, const std::string& url = {},
                         std::uint32_t date = 0) {
    const std::string full = "Favorites\\" + name;
    const bool folder = full.back() == '\\';
    return LinkRecord::make(full, folder ? std::string() : (url.empty() ? "u:" + name : url), date,
                            folder ? kKindFolder : kKindUrl);
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
          folderView.setCurrentItem(int(i));
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
