// The view without a window: it follows the document by itself, keeps the
// user's sort and find across rebuilds, and never leaves the list on a
// folder that is gone.
#include <QSignalSpy>
#include <QTest>

#include "document/DocumentEdit.h"
#include "document/LinkDocument.h"
#include "store/ListBuilder.h"
#include "view/FolderView.h"

namespace vorlix {
namespace {

LinkList links(std::initializer_list<const char*> names) {
  LinkList l;
  for (const char* n : names) {
    const std::string full = std::string("Favorites\\") + n;
    const bool folder = full.back() == '\\';
    l.append(LinkRecord::make(full, folder ? "" : "u:" + full, 0, folder ? kKindFolder : kKindUrl));
  }
  l.sortByFullName();
  return l;
}

struct Controls : FolderView::Controls {
  bool tree = false;
  QString findText;
  std::pair<int, bool> sort{-1, false};
  bool treeHasFocus() const override { return tree; }
  QString activeFind() const override { return findText; }
  bool classicStyle() const override { return false; }
  std::pair<int, bool> sortOrder() const override { return sort; }
};

QStringList captions(const FolderView& v) {
  QStringList out;
  for (const ListRow& r : v.rows()) out << fromAnsi(r.caption);
  return out;
}

}  // namespace

class TestFolderView : public QObject {
  Q_OBJECT
 private slots:
  // Another database, and undo or redo, show themselves: no caller rebuilds.
  void followsTheDocument() {
    LinkDocument doc;
    FolderView v(doc);
    QSignalSpy paths(&v, &FolderView::pathChanged);
    doc.adopt(links({"A\\", "A\\x", "B\\", "top"}), QStringLiteral("f.ldb"));
    QCOMPARE(captions(v), QStringList({"A", "B", "top"}));
    QCOMPARE(paths.last().at(0).toString(), QString(" Favorites\\"));

    v.changeFolder(FindNodeByPath(v.tree(), "Favorites\\A\\"));
    {
      DocumentEdit edit(doc, QStringLiteral("New Folder 'N'"));
      edit.links().append(LinkRecord::make("Favorites\\A\\N\\", "", 0, kKindFolder));
      edit.commit();
    }
    v.rebuildTree(false);
    v.changeFolder(FindNodeByPath(v.tree(), "Favorites\\A\\N\\"));
    QCOMPARE(fromAnsi(v.position().currentPath), QString("Favorites\\A\\N\\"));
    // Undoing the folder the list shows moves the list to the folder above.
    doc.undo();
    QCOMPARE(fromAnsi(v.position().currentPath), QString("Favorites\\A\\"));
    QCOMPARE(captions(v), QStringList({"..", "x"}));
    QCOMPARE(FolderTreeModel::NodePath(v.tree().selected()), AnsiString("Favorites\\A\\"));
    doc.redo();
    QCOMPARE(captions(v), QStringList({"..", "N", "x"}));

    // A new database starts at the root, whatever was shown.
    doc.adopt(links({"C\\", "C\\y"}), QString());
    QCOMPARE(fromAnsi(v.position().currentPath), QString("Favorites\\"));
    QCOMPARE(captions(v), QStringList({"C"}));
  }

  // What the controls say holds for every rebuild: the find while the box
  // has the keyboard, the sort the user chose, the tree's focus.
  void keepsFindSortAndFocus() {
    LinkDocument doc;
    FolderView v(doc);
    Controls c;
    v.setControls(&c);
    doc.adopt(links({"A\\", "A\\alpha", "B\\", "B\\alps", "beta", "alto"}), QString());

    c.sort = {0, true};  // links by caption, descending, after the folders
    v.rebuildList();
    QCOMPARE(captions(v), QStringList({"A", "B", "beta", "alto"}));

    c.findText = QStringLiteral("alp");
    v.find(c.findText);
    QVERIFY(v.flatMode());
    QCOMPARE(captions(v), QStringList({"alps", "alpha"}));
    // An undo while finding lists the hits again, not the folder.
    {
      DocumentEdit edit(doc, QStringLiteral("Delete"));
      edit.links().removeIf([](const LinkRecord& r) { return r.fullName() == "Favorites\\beta"; });
      edit.commit();
    }
    doc.undo();
    QCOMPARE(captions(v), QStringList({"alps", "alpha"}));

    // With the tree focused, a load rebuilds the list once.
    c.findText.clear();
    c.tree = true;
    QSignalSpy resets(&v.list(), &QAbstractItemModel::modelReset);
    doc.adopt(links({"Z\\"}), QString());
    QCOMPARE(resets.count(), 1);
  }
};

}  // namespace vorlix

QTEST_GUILESS_MAIN(vorlix::TestFolderView)
#include "tst_folderview.moc"
