#include <QTest>

#include "store/FolderPosition.h"
#include "store/FolderTree.h"
#include "store/LinkList.h"
#include "store/ListBuilder.h"
#include "store/Paths.h"

using namespace vorlix;

namespace {

bool inside(std::string_view part, std::string_view whole) {
  return part.empty() ||
         (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

}  // namespace

class TestPaths : public QObject {
  Q_OBJECT

 private slots:
  void pathOperations() {
    QCOMPARE(FilePath("Favorites\\News\\Daily"), AnsiString("Favorites\\News\\"));
    QCOMPARE(FilePath("C:x"), AnsiString());  // only '\\' separates
    QCOMPARE(FileName("Favorites\\Ref\\std::vector"), AnsiString("std::vector"));
    QCOMPARE(FilePath("plain"), AnsiString());
    QCOMPARE(FileName("Favorites\\News\\Daily"), AnsiString("Daily"));
    QCOMPARE(FileName("Favorites\\News\\"), AnsiString());
    QCOMPARE(FileName("plain"), AnsiString("plain"));
    QCOMPARE(FirstComponent("News\\Local\\"), AnsiString("News"));
    QCOMPARE(FirstComponent("News"), AnsiString());
    QCOMPARE(LastComponentSlash("Favorites\\News\\Local\\"), AnsiString("Local\\"));
    QCOMPARE(LastComponentSlash("Favorites\\"), AnsiString("Favorites\\"));
    QCOMPARE(LastComponentSlash("Favorites\\News\\Daily"), AnsiString("News\\"));
    QCOMPARE(LastComponentSlash("Local"), AnsiString());
    QCOMPARE(LastComponent("Favorites\\News\\Local\\"), AnsiString("Local"));
    QCOMPARE(LastComponent("Local"), AnsiString());
    QCOMPARE(ParentPath("Favorites\\News\\"), AnsiString("Favorites\\"));
    QCOMPARE(ParentPath("Favorites\\News\\Local\\"), AnsiString("Favorites\\News\\"));
    QCOMPARE(ParentPath("Favorites\\"), AnsiString());
    QCOMPARE(ParentPath("\\"), AnsiString());
    QCOMPARE(Depth("Favorites\\News\\"), 2);
    QCOMPARE(Depth("Favorites\\"), 1);
    QCOMPARE(Depth(""), 0);
  }

  void everyShortMixOfSeparatorsEnds() {
    // All names of up to 7 characters from '\\', ':' and 'a', bare and
    // after the root, as links and as folders: each path operation stays
    // inside its argument, and the tree and list rebuilds end.
    const char alphabet[] = {'\\', ':', 'a'};
    std::vector<std::string> names{""};
    for (size_t from = 0, len = 0; len < 7; ++len) {
      const size_t to = names.size();
      for (size_t i = from; i < to; ++i)
        for (char c : alphabet) names.push_back(names[i] + c);
      from = to;
    }
    FolderTreeModel model;
    int checked = 0;
    for (const std::string& tail : names)
      for (const std::string& n : {tail, "Favorites\\" + tail}) {
        const std::string_view s(n);
        QVERIFY(inside(FilePathView(s), s) && inside(FileNameView(s), s));
        QCOMPARE(FilePathView(s).size() + FileNameView(s).size(), s.size());
        QVERIFY(inside(FirstComponentView(s), s) && inside(LastComponentSlashView(s), s));
        QVERIFY(inside(LastComponentView(s), s) && inside(ParentPathView(s), s));
        LinkList list;
        list.append(LinkRecord::make(s, "", 0, "Folder"));
        list.append(LinkRecord::make(s, "http://x/", 0, "Url"));
        RebuildTree(model, list);
        QVERIFY(model.root());
        FolderPosition pos;
        pos.currentPath = AnsiString(kRootPath);
        BuildRows(list, pos, false);
        BuildRows(list, pos, true);
        ++checked;
      }
    QCOMPARE(checked, 2 * 3280);
  }

  void pathLabelText() {
    FolderPosition pos;
    pos.currentPath = "Favorites\\News\\Local\\";
    QCOMPARE(pos.tpathText(), AnsiString(" Favorites\\News\\Local\\"));
    pos.currentPath.clear();  // before start-up
    QCOMPARE(pos.tpathText(), AnsiString(" Favorites\\"));
  }

  void treeSelectionMovesThePosition() {
    FolderTreeModel model;
    FolderNode* root = model.addChild(nullptr, "Favorites");
    FolderNode* news = model.addChild(root, "News");
    FolderNode* local = model.addChild(news, "Local");

    FolderPosition pos;
    QVERIFY(SelectTreeNode(pos, local));
    QCOMPARE(pos.upMarker, AnsiString("News\\Local\\"));
    QCOMPARE(pos.currentPath, AnsiString("Favorites\\News\\Local\\"));
    QCOMPARE(pos.rootPath, AnsiString("Favorites\\"));

    QVERIFY(TreeFocused(pos, root));
    QVERIFY(pos.upMarker.empty());
    QCOMPARE(pos.currentPath, AnsiString("Favorites\\"));

    FolderPosition unchanged = pos;
    QVERIFY(!SelectTreeNode(pos, nullptr));
    QCOMPARE(pos.currentPath, unchanged.currentPath);

    pos.currentPath = "Favorites\\News\\";
    pos.upMarker = "News";
    pos.rootName = "Other";
    ReturnToRoot(pos);
    QCOMPARE(pos.currentPath, AnsiString("Favorites\\"));
    QVERIFY(pos.upMarker.empty());
    QCOMPARE(pos.rootName, AnsiString("Favorites"));
  }

  void enterAndGoUpFromTheList() {
    FolderPosition pos;
    pos.currentPath = "Favorites\\";
    EnterFolder(pos, "News");
    EnterFolder(pos, "Local");
    QCOMPARE(pos.currentPath, AnsiString("Favorites\\News\\Local\\"));
    QCOMPARE(pos.upMarker, AnsiString("Local"));

    // The entered name itself is the folder being left...
    QCOMPARE(GoUp(pos), AnsiString("Local"));
    QCOMPARE(pos.currentPath, AnsiString("Favorites\\News\\"));
    QCOMPARE(pos.upMarker, AnsiString("Favorites\\News\\"));
    // ...then the last component of the whole path kept as the marker.
    QCOMPARE(GoUp(pos), AnsiString("News"));
    QCOMPARE(pos.currentPath, AnsiString("Favorites\\"));
    QVERIFY(pos.upMarker.empty());

    // After a tree selection the marker is the path below the root.
    pos.currentPath = "Favorites\\News\\Local\\";
    pos.upMarker = "News\\Local\\";
    QCOMPARE(GoUp(pos), AnsiString("Local"));
    QCOMPARE(pos.upMarker, AnsiString("Favorites\\News\\"));
  }
};

QTEST_GUILESS_MAIN(TestPaths)
#include "tst_paths.moc"
