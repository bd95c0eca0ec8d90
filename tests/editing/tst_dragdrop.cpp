#include <QTest>

#include "editing/DragDrop.h"
#include "editing/EditorTestHost.h"

using namespace vorlix;
using vorlix::test::EditorTestHost;

namespace {

const QString kSameFolder =
    "Cannot move: the destination folder is the same as are the source folder !";

// Drags the rows with these captions from the folder shown now onto the
// folder `onto` ("" for the root).
void dragAndDrop(EditorTestHost& h, DragDrop& dd, std::initializer_list<const char*> rows,
                 const std::string& onto) {
  h.select(rows);
  dd.dragStart();
  dd.drop(h.node(onto));
}

}  // namespace

class TestDragDrop : public QObject {
  Q_OBJECT

 private slots:
  void edgeScroll() {
    QCOMPARE(EdgeScrollStep(0, 200), -1);
    QCOMPARE(EdgeScrollStep(14, 200), -1);
    QCOMPARE(EdgeScrollStep(15, 200), 0);
    QCOMPARE(EdgeScrollStep(185, 200), 0);
    QCOMPARE(EdgeScrollStep(186, 200), 1);
    QCOMPARE(EdgeScrollStep(10, 20), -1);  // a tiny tree scrolls up first
  }

  void moveFolderUnderAnother() {
    EditorTestHost h;
    h.load({"A\\", "A\\x", "A\\Sub\\", "A\\Sub\\y", "B\\", "B\\b", "C\\"});
    DragDrop dd(h);
    h.select({"A"});
    dd.dragStart();
    QCOMPARE(dd.dragList().sourceFolder, AnsiString("Favorites\\"));
    QCOMPARE(dd.dragList().records.size(), size_t(4));
    dd.drop(h.node("B\\"));
    QVERIFY(h.scripted.asked.empty());
    QCOMPARE(h.names(), (QStringList{"B\\", "B\\A\\", "B\\A\\Sub\\", "B\\A\\Sub\\y", "B\\A\\x",
                                     "B\\b", "C\\"}));
    QCOMPARE(h.treeText(), QString("Favorites(B(A(Sub)),C)"));
    QCOMPARE(h.captions(), (QStringList{"B", "C"}));
    QCOMPARE(h.pos.currentPath, AnsiString("Favorites\\"));
    QVERIFY(h.dirty());
  }

  void dropOnTheRootAndOnNothing() {
    EditorTestHost h;
    h.load({"B\\", "B\\l", "B\\m"});
    h.open("B\\");
    DragDrop dd(h);
    h.select({"l"});
    dd.dragStart();
    dd.drop(nullptr);
    QCOMPARE(h.list.size(), size_t(3));
    QVERIFY(!h.dirty());
    dd.drop(h.treeModel.root());
    QCOMPARE(h.sortedNames(), (QStringList{"B\\", "B\\m", "l"}));
    QCOMPARE(h.captions(), (QStringList{"..", "m"}));
  }

  void dropOnTheSourceOrBelowTheDraggedFolder() {
    EditorTestHost h;
    h.load({"0\\", "A\\", "A\\X\\", "A\\X\\deep", "Early"});
    const QStringList before = h.names();
    DragDrop dd(h);
    dragAndDrop(h, dd, {"0"}, "");
    QCOMPARE(h.scripted.lastText(), kSameFolder);
    QCOMPARE(h.scripted.asked.back().type, MsgType::Error);

    // A onto its own sub-folder, with rows before it in the selection.
    dragAndDrop(h, dd, {"0", "A", "Early"}, "A\\X\\");
    QCOMPARE(h.scripted.asked.size(), size_t(2));
    QCOMPARE(h.scripted.lastText(), kSameFolder);
    dragAndDrop(h, dd, {"A"}, "A\\");
    QCOMPARE(h.scripted.asked.size(), size_t(3));
    QCOMPARE(h.names(), before);
    QCOMPARE(h.treeText(), QString("Favorites(0,A(X))"));
    QVERIFY(!h.dirty());
  }

  void mergeIntoAFolderOfTheSameName_data() {
    QTest::addColumn<int>("answer");
    QTest::newRow("yes") << int(Answer::Yes);
    QTest::newRow("yes to all") << int(Answer::YesToAll);
    QTest::newRow("no") << int(Answer::No);
    QTest::newRow("no to all") << int(Answer::NoToAll);
  }
  void mergeIntoAFolderOfTheSameName() {
    QFETCH(int, answer);
    const Answer a = Answer(answer);
    EditorTestHost h;
    h.load({"A\\", "A\\Sub\\", "A\\Sub\\s", "B\\", "B\\A\\", "B\\A\\keep", "B\\A\\Old\\", "link"});
    h.add("A\\x", "moved-url");
    h.add("B\\A\\x", "old-url");
    h.sortList();
    RebuildTree(h.treeModel, h.list);
    h.rebuildList();
    const QStringList before = h.names();
    DragDrop dd(h);
    h.scripted.answers = {a};
    dragAndDrop(h, dd, {"A", "link"}, "B\\");
    QCOMPARE(h.scripted.asked.size(), size_t(1));
    QCOMPARE(h.scripted.asked[0].buttons, Buttons::YesNoNoToAllYesToAll);
    QCOMPARE(h.scripted.lastText(),
             QString("The Folder already contains a folder named 'A'.\n\r\n\r"
                     "If the links in the existing folder have the same URL as links in the\n\r"
                     "the folder you are copying, they will be replaced.\n\r"
                     "Do you still want to move the folder ?"));
    if (a == Answer::NoToAll) {
      QCOMPARE(h.names(), before);  // not even the link moved
      QVERIFY(!h.dirty());
      return;
    }
    QVERIFY(h.dirty());
    QVERIFY(h.record("B\\link"));
    if (a == Answer::No) {
      QCOMPARE(h.sortedNames(),
               (QStringList{"A\\", "A\\Sub\\", "A\\Sub\\s", "A\\x", "B\\", "B\\A\\", "B\\A\\Old\\",
                            "B\\A\\keep", "B\\A\\x", "B\\link"}));
      QCOMPARE(h.treeText(), QString("Favorites(A(Sub),B(A(Old)))"));
      return;
    }
    QCOMPARE(h.sortedNames(), (QStringList{"B\\", "B\\A\\", "B\\A\\Old\\", "B\\A\\Sub\\",
                                           "B\\A\\Sub\\s", "B\\A\\keep", "B\\A\\x", "B\\link"}));
    QCOMPARE(h.record("B\\A\\x")->url(), std::string_view("moved-url"));
    // The source node is gone; its sub-folder joins the target's A.
    QCOMPARE(h.treeText(), QString("Favorites(B(A(Old,Sub)))"));
  }

  void noToAllAfterAnEarlierYes() {
    EditorTestHost h;
    h.load({"F\\", "F\\f", "G\\", "G\\g", "T\\", "T\\F\\", "T\\G\\"});
    const QStringList before = h.names();
    DragDrop dd(h);
    h.scripted.answers = {Answer::Yes, Answer::NoToAll};
    dragAndDrop(h, dd, {"F", "G"}, "T\\");
    QCOMPARE(h.scripted.asked.size(), size_t(2));
    QCOMPARE(h.names(), before);
    QVERIFY(!h.dirty());

    // Every row left in place: nothing was inserted, the flag stays clear.
    h.scripted.answers = {Answer::No, Answer::No};
    dragAndDrop(h, dd, {"F", "G"}, "T\\");
    QCOMPARE(h.names(), before);
    QVERIFY(!h.dirty());
  }

  void linksAgainstTheTargetsNames() {
    EditorTestHost h;
    h.load({"T\\", "T\\Same\\", "T\\News", "News", "Newsletter", "Same"});
    h.add("T\\News", "old");  // a second record of that name
    h.sortList();
    h.rebuildList();
    DragDrop dd(h);
    // "News" replaces a link of its name without a question; "Same" meets a
    // folder of its name and is asked about.
    h.scripted.answers = {Answer::Yes};
    h.select({"News", "Same"});
    dd.dragStart();
    QCOMPARE(dd.dragList().records.size(), size_t(2));
    dd.drop(h.node("T\\"));
    QCOMPARE(h.scripted.asked.size(), size_t(1));
    QVERIFY(h.scripted.lastText().contains("named 'Same'"));
    QCOMPARE(h.sortedNames(),
             (QStringList{"Newsletter", "T\\", "T\\News", "T\\News", "T\\Same", "T\\Same\\"}));
    QCOMPARE(h.captions(), (QStringList{"T", "Newsletter"}));
  }

  void linkOntoTheFolderOfItsOwnName() {
    EditorTestHost h;
    h.load({"News\\", "News\\d", "News"});
    DragDrop dd(h);
    h.selection = {1};  // the link row "News"
    dd.dragStart();
    dd.drop(h.node("News\\"));
    QVERIFY(h.scripted.asked.empty());
    QCOMPARE(h.sortedNames(), (QStringList{"News\\", "News\\News", "News\\d"}));
  }

  void flatListingLinkLeavesItsOwnFolder() {
    EditorTestHost h;
    h.load({"S\\", "S\\Deep\\", "S\\Deep\\x", "S\\y", "T\\"});
    h.open("S\\");
    h.flat = true;
    h.rebuildList();
    QCOMPARE(h.captions(), (QStringList{"x", "y"}));
    h.flat = false;  // find results stay listed once the find box loses the focus
    DragDrop dd(h);
    dragAndDrop(h, dd, {"x", "y"}, "T\\");
    QCOMPARE(h.sortedNames(), (QStringList{"S\\", "S\\Deep\\", "T\\", "T\\x", "T\\y"}));
    QCOMPARE(h.captions(), (QStringList{"..", "Deep"}));
  }
};

QTEST_GUILESS_MAIN(TestDragDrop)
#include "tst_dragdrop.moc"
