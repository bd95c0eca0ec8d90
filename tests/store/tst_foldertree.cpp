#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include "store/FolderTree.h"
#include "store/LinkList.h"

using namespace vorlix;

namespace {

LinkList folders(std::initializer_list<const char*> names) {
  LinkList list;
  for (const char* n : names) {
    const std::string_view s(n);
    const size_t last = s.find_last_not_of(" \t");
    const bool folder = last != std::string_view::npos && s[last] == '\\';
    list.append(LinkRecord::make(s, folder ? "" : "http://x/", 0, folder ? "Folder" : "Url"));
  }
  return list;
}

QStringList labels(const FolderNode* n) {
  QStringList out;
  for (const auto& c : n->children) out << fromAnsi(c->label);
  return out;
}

}  // namespace

class TestFolderTree : public QObject {
  Q_OBJECT

 private slots:
  void rebuildKeepsListOrder() {
    FolderTreeModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserts(&model, &QAbstractItemModel::rowsInserted);
    RebuildTree(model, folders({"Favorites\\B\\", "Favorites\\link", "Favorites\\A\\",
                                "Favorites\\A\\X\\", "Favorites\\A\\X\\deep"}));
    QCOMPARE(resets.count(), 1);  // one reset, so the view repaints once
    QCOMPARE(inserts.count(), 0);
    FolderNode* root = model.root();
    QVERIFY(root);
    QCOMPARE(fromAnsi(root->label), QStringLiteral("Favorites"));
    QCOMPARE(labels(root), (QStringList{"B", "A"}));
    QCOMPARE(labels(root->children[1].get()), QStringList{"X"});
    QCOMPARE(model.selected(), root);
    QCOMPARE(root->imageIndex, 2);
    QCOMPARE(model.data(model.indexFor(root), FolderTreeModel::ImageIndexRole).toInt(), 2);
    QCOMPARE(root->children[0]->imageIndex, 0);
    QCOMPARE(model.data(model.indexFor(root->children[0].get())).toString(), QStringLiteral("B"));
  }

  void onlyTheRootIsExpandedAfterRebuild() {
    FolderTreeModel model;
    const LinkList list = folders({"Favorites\\A\\", "Favorites\\A\\X\\"});
    RebuildTree(model, list);
    model.setExpanded(model.root()->children[0].get(), true);
    model.setSelected(model.root()->children[0].get());
    RebuildTree(model, list);
    QVERIFY(model.root()->expanded);
    QVERIFY(!model.root()->children[0]->expanded);
    QVERIFY(!model.root()->children[0]->children[0]->expanded);
    QCOMPARE(model.selected(), model.root());

    RebuildTree(model, folders({"Favorites\\only a link"}));
    QVERIFY(model.root()->children.empty());
  }

  void oddFolderRecordsStillGetNodes() {
    FolderTreeModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    // C's parents have no records; " L" begins with a blank; "Favorites\"
    // names the root; the trimmed blanks around a name are not part of it.
    RebuildTree(model, folders({"Favorites\\A\\B\\C\\", "Favorites\\ L\\", "Favorites\\",
                                "  Favorites\\A\\D\\ \t", "Favorites\\A\\B\\E\\"}));
    FolderNode* root = model.root();
    QCOMPARE(labels(root), (QStringList{"A", " L"}));
    FolderNode* a = root->children[0].get();
    QCOMPARE(labels(a), (QStringList{"B", "D"}));
    QCOMPARE(labels(a->children[0].get()), (QStringList{"C", "E"}));
    QCOMPARE(FindNodeByPath(model, "Favorites\\ L\\"), root->children[1].get());
    QCOMPARE(FolderTreeModel::NodePath(a->children[0]->children[1].get()),
             AnsiString("Favorites\\A\\B\\E\\"));
  }

  void colonsInFolderRecordsEndTheWalk() {
    // A ':' separates nothing in a folder path; such records once made the
    // rebuild loop for good. The Favorites import cuts long names at 255
    // characters, which can leave "...\c:d" behind.
    const std::string longName =
        "Favorites\\" + std::string(120, 'A') + "\\" + std::string(120, 'B') + "\\c:d-eeeeeeeeee";
    LinkList list;
    for (const std::string& n : {std::string("Favorites\\x\\a:b"), longName,
                                 std::string("Favorites\\c:\\"), std::string("Favorites:\\y\\")})
      list.append(LinkRecord::make(n, "", 0, "Folder"));
    QCOMPARE(list[1].fullName().substr(250), std::string_view("B\\c:d"));
    FolderTreeModel model;
    RebuildTree(model, list);
    const FolderNode* root = model.root();
    QCOMPARE(labels(root), (QStringList{"x", QString(120, 'A'), "c:", "y"}));
    QCOMPARE(labels(root->children[1].get()), QStringList{QString(120, 'B')});
    QCOMPARE(FindNodeByPath(model, "Favorites\\x\\a:b"), root->children[0].get());
    QCOMPARE(FindNodeByPath(model, list[1].fullName()), root->children[1]->children[0].get());
  }

  void findNodeByPath() {
    FolderTreeModel model;
    RebuildTree(model,
                folders({"Favorites\\Misc\\", "Favorites\\News\\", "Favorites\\News\\Local\\"}));
    FolderNode* news = model.root()->children[1].get();
    FolderNode* local = news->children[0].get();
    QCOMPARE(FindNodeByPath(model, "Favorites\\"), model.root());
    QCOMPARE(FindNodeByPath(model, "Favorites\\News\\"), news);
    QCOMPARE(FindNodeByPath(model, "Favorites\\News\\Local\\"), local);
    QCOMPARE(FindNodeByPath(model, "Favorites\\News\\Local"), local);  // no final '\'
    QCOMPARE(FindNodeByPath(model, "Favorites\\News\\Missing\\"), news);
    QCOMPARE(FindNodeByPath(model, "Favorites\\News\\Local\\Missing\\x\\"), local);
    QCOMPARE(FindNodeByPath(model, "Favorites\\Missing\\"), nullptr);
    QCOMPARE(FindNodeByPath(model, "Favorites\\news\\"), nullptr);  // letter case counts
    QCOMPARE(FindNodeByPath(model, "Favorites"), nullptr);
    model.clear();
    QCOMPARE(FindNodeByPath(model, "Favorites\\"), nullptr);
  }

  void nodeOperationsKeepViewsInStep() {
    FolderTreeModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    RebuildTree(model, folders({"Favorites\\b\\", "Favorites\\d\\", "Favorites\\f\\"}));
    FolderNode* root = model.root();
    FolderNode* b = root->children[0].get();
    FolderNode* d = root->children[1].get();
    FolderNode* f = root->children[2].get();

    FolderNode* x = model.addChild(d, "x");
    QCOMPARE(x->parent, d);
    QCOMPARE(model.indexFor(x).parent(), model.indexFor(d));

    const QPersistentModelIndex keepF(model.indexFor(f));
    model.setLabel(b, "g");  // re-sorts the siblings: d f g
    QCOMPARE(labels(root), (QStringList{"d", "f", "g"}));
    QCOMPARE(keepF.row(), 1);
    QCOMPARE(model.nodeFor(keepF), f);

    QVERIFY(model.moveNode(d, root));  // within its own parent: now last
    QCOMPARE(labels(root), (QStringList{"f", "g", "d"}));
    QVERIFY(model.moveNode(x, f));
    QCOMPARE(labels(f), QStringList{"x"});
    QVERIFY(d->children.empty());
    QVERIFY(!model.moveNode(f, x));  // not into its own subtree
    QVERIFY(!model.moveNode(root, f));

    QSignalSpy selSpy(&model, &FolderTreeModel::selectedChanged);
    model.setSelected(x);
    QCOMPARE(selSpy.count(), 1);
    QCOMPARE(model.data(model.indexFor(x), FolderTreeModel::ImageIndexRole).toInt(), 5);
    QCOMPARE(model.data(model.indexFor(f), FolderTreeModel::ImageIndexRole).toInt(), 0);
    model.removeNode(f);  // takes the selected x with it
    QCOMPARE(model.selected(), root);
    QCOMPARE(labels(root), (QStringList{"g", "d"}));
    model.setSelected(root);
    QCOMPARE(model.data(model.indexFor(root), FolderTreeModel::ImageIndexRole).toInt(), 2);

    model.setLabel(d, "z");
    model.addChild(root, "a");
    model.sortChildrenRecursive(root);
    QCOMPARE(labels(root), (QStringList{"a", "g", "z"}));
    model.removeNode(root);
    QCOMPARE(model.root(), nullptr);
    QVERIFY(model.addChild(nullptr, "Favorites"));
  }
};

QTEST_GUILESS_MAIN(TestFolderTree)
#include "tst_foldertree.moc"
