#include <QTest>

#include "editing/EditorTestHost.h"
#include "editing/FitSummary.h"
#include "editing/FolderCommands.h"
#include "editing/FolderName.h"
#include "editing/ImportPlacement.h"
#include "store/Paths.h"

using namespace vorlix;
using vorlix::test::EditorTestHost;

class TestFolderCommands : public QObject {
  Q_OBJECT

 private slots:
  void folderNameRule_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("valid");
    QTest::newRow("inner dot") << "a.b" << true;
    QTest::newRow("leading dot") << ".a" << false;
    // Names take every sign but '\\' and control characters.
    QTest::newRow("colon") << "a:b" << true;
    QTest::newRow("bar") << "a|b" << true;
    QTest::newRow("slash") << "AC/DC" << true;
    QTest::newRow("backslash") << "a\\b" << false;
    QTest::newRow("tab") << "a\tb" << false;
    QTest::newRow("quote") << "a\"b" << true;
    QTest::newRow("question") << "why?" << true;
    QTest::newRow("cyrillic") << QStringLiteral("\u041F\u0440\u0438\u0432\u0435\u0442") << true;
    QTest::newRow("blank") << "my links" << true;
  }
  void folderNameRule() {
    QFETCH(QString, name);
    QFETCH(bool, valid);
    EditorTestHost h;
    h.load({"Old\\"});
    h.scripted.inputs = {name};
    FolderCommands(h).newFolder();
    const bool created = h.record(toAnsi(name) + "\\") != nullptr;
    QCOMPARE(created, valid);
    QCOMPARE(h.dirty(), valid);
    if (!valid) {
      QCOMPARE(h.scripted.asked.size(), size_t(1));
      QCOMPARE(h.scripted.asked[0].type, MsgType::Warning);
      QCOMPARE(h.scripted.asked[0].buttons, Buttons::Ok);
      QCOMPARE(h.scripted.lastText(), name +
                                          "\r\nThe above folder name is invalid."
                                          "\r\nPlease do not include special characters :"
                                          "\r\n\\ .");
      QCOMPARE(h.names(), QStringList{"Old\\"});
    }
  }

  void newFolderRefusesDuplicatesIgnoringCase() {
    EditorTestHost h;
    h.load({"News\\", "News\\Daily", "Notes\\x"});  // Notes has no folder record
    FolderCommands cmd(h);

    h.scripted.inputs = {"news"};
    cmd.newFolder();
    h.scripted.inputs = {"NOTES"};
    cmd.newFolder();
    QCOMPARE(h.scripted.asked.size(), size_t(2));
    QCOMPARE(h.scripted.lastText(), QString("The Folder name you have entered already exist !"));
    QVERIFY(!h.dirty());
    QCOMPARE(h.list.size(), size_t(3));

    // "New" is not a prefix of anything below "News".
    h.scripted.inputs = {"New"};
    cmd.newFolder();
    QCOMPARE(h.names(), (QStringList{"New\\", "News\\", "News\\Daily", "Notes\\x"}));
    QVERIFY(h.record("New\\")->isFolder());
    QVERIFY(h.record("New\\")->url().empty());
    QVERIFY(h.record("New\\")->dateStamp() != 0);
    QCOMPARE(h.treeText(), QString("Favorites(New,News)"));
    QCOMPARE(h.focused, h.rowOf("New"));
    QVERIFY(h.dirty());
  }

  void newFolderCancelAndSubfolder() {
    EditorTestHost h;
    h.load({"News\\", "News\\Daily"});
    FolderCommands cmd(h);
    cmd.newFolder();  // no input scripted: Cancel gives the empty default
    QVERIFY(h.scripted.asked.empty());
    QVERIFY(!h.dirty());
    QCOMPARE(h.scripted.inputCaptions, QStringList{"New Folder|Folder Name"});

    h.open("News\\");
    h.scripted.inputs = {"Local", "Abc"};
    cmd.newFolder();
    cmd.newFolder();
    QVERIFY(h.record("News\\Local\\"));
    QCOMPARE(h.treeText(), QString("Favorites(News(Abc,Local))"));
    QCOMPARE(h.captions(), (QStringList{"..", "Abc", "Local", "Daily"}));
    QCOMPARE(h.focused, 1);
  }

  void renameInPlaceRewritesEveryRecordBelow() {
    EditorTestHost h;
    h.load({"A\\", "A\\x", "A\\C\\", "A\\C\\y", "AB\\", "AB\\z"});
    FolderCommands cmd(h);
    QVERIFY(!cmd.TreeLinksEditing(h.treeModel.root()));
    QVERIFY(cmd.TreeLinksEditing(h.node("A\\")));

    h.open("A\\C\\");  // the renamed folder holds the current one
    QVERIFY(cmd.TreeLinksEdited(h.node("A\\"), "Q"));
    // Not re-sorted: the records keep their places.
    QCOMPARE(h.names(), (QStringList{"Q\\", "Q\\C\\", "Q\\C\\y", "Q\\x", "AB\\", "AB\\z"}));
    QCOMPARE(h.treeText(), QString("Favorites(AB,Q(C))"));
    QCOMPARE(h.pos.currentPath, AnsiString("Favorites\\Q\\C\\"));
    QCOMPARE(h.pathText, AnsiString(" Favorites\\Q\\C\\"));
    QCOMPARE(GoUp(h.pos), AnsiString("C"));  // the up marker still finds its row
    QVERIFY(h.dirty());
  }

  void renameInPlaceActsOnTheEditedNode() {
    EditorTestHost h;
    h.load({"A\\", "A\\x", "B\\", "B\\y"});
    h.open("B\\");  // the list shows B while A's label is edited
    FolderCommands cmd(h);
    QVERIFY(cmd.TreeLinksEdited(h.node("A\\"), "Z"));
    QCOMPARE(h.sortedNames(), (QStringList{"B\\", "B\\y", "Z\\", "Z\\x"}));
    QCOMPARE(h.pos.currentPath, AnsiString("Favorites\\B\\"));
  }

  void renameInPlaceRefusals() {
    EditorTestHost h;
    h.load({"A\\", "A\\x"});
    FolderCommands cmd(h);
    QVERIFY(!cmd.TreeLinksEdited(h.node("A\\"), ".hidden"));
    QCOMPARE(h.scripted.asked.size(), size_t(1));
    QVERIFY(!cmd.TreeLinksEdited(h.node("A\\"), QString()));
    QVERIFY(!cmd.TreeLinksEdited(h.treeModel.root(), "Root"));
    QCOMPARE(h.scripted.asked.size(), size_t(1));
    QCOMPARE(h.names(), (QStringList{"A\\", "A\\x"}));
    QCOMPARE(h.treeText(), QString("Favorites(A)"));
    QVERIFY(!h.dirty());
  }

  void renameFromList() {
    EditorTestHost h;
    h.load({"A\\", "A\\x", "A\\D\\", "AB\\", "Z\\"});
    FolderCommands cmd(h);
    h.select({"A"});
    h.scripted.inputs = {"M"};
    cmd.renameFromList();
    QCOMPARE(h.scripted.inputCaptions, QStringList{"Rename folder|New folder name"});
    QCOMPARE(h.sortedNames(), (QStringList{"AB\\", "M\\", "M\\D\\", "M\\x", "Z\\"}));
    QCOMPARE(h.treeText(), QString("Favorites(AB,M(D),Z)"));
    QCOMPARE(h.rowList[size_t(h.current())].caption, AnsiString("M"));
    QVERIFY(h.dirty());
    QCOMPARE(h.stateUpdates, 1);

    // A rejected name: no change and no refresh of the commands.
    h.doc.markSaved({});
    h.scripted.inputs = {"a\\b"};
    cmd.renameFromList();
    QVERIFY(!h.dirty());
    QCOMPARE(h.stateUpdates, 1);

    // Cancel re-applies the old name: nothing moves, yet it counts as a change.
    cmd.renameFromList();
    QCOMPARE(h.sortedNames(), (QStringList{"AB\\", "M\\", "M\\D\\", "M\\x", "Z\\"}));
    QVERIFY(h.dirty());
  }

  void renameFromListOfAFolderWithoutNode() {
    // Only a link below "Q": the row exists, the tree node does not. No other
    // node may take the new label.
    EditorTestHost h;
    h.load({"N\\", "N\\Q\\k"});
    h.open("N\\");
    h.select({"Q"});
    h.scripted.inputs = {"R"};
    FolderCommands(h).renameFromList();
    QCOMPARE(h.names(), (QStringList{"N\\", "N\\R\\k"}));
    QCOMPARE(h.treeText(), QString("Favorites(N)"));
  }

  void deleteFolderKeepsTheCaseTwin() {
    EditorTestHost h;
    h.load({"A\\", "A\\x", "A\\C\\", "A\\C\\y", "a\\", "a\\k", "AB\\", "AB\\z"});
    FolderCommands cmd(h);
    h.folderView.setClickedFolder(h.node("A\\"));
    h.scripted.answers = {Answer::No};
    cmd.deleteFolder();
    QCOMPARE(h.list.size(), size_t(8));
    QVERIFY(!h.dirty());

    h.open("A\\C\\");
    h.folderView.setClickedFolder(h.node("A\\"));
    h.folderView.setCurrentItem(2);
    h.scripted.answers = {Answer::Yes};
    cmd.deleteFolder();
    QCOMPARE(h.scripted.lastText(),
             QString("Are you sure you want to delete the folder 'A' and all its contents ?"));
    QCOMPARE(h.scripted.asked.back().buttons, Buttons::YesNo);
    QCOMPARE(h.sortedNames(), (QStringList{"AB\\", "AB\\z", "a\\", "a\\k"}));
    // The current folder was inside the deleted one: the list moves to its
    // parent, which exists.
    QCOMPARE(h.pos.currentPath, AnsiString("Favorites\\"));
    QVERIFY(h.pos.upMarker.empty());
    QStringList captions = h.captions();
    captions.sort();  // their order is the locale's
    QCOMPARE(captions, (QStringList{"AB", "a"}));
    QCOMPARE(h.treeModel.root()->children.size(), size_t(2));
    QCOMPARE(h.current(), 1);
    QVERIFY(h.dirty());
  }

  void deleteFolderActsOnTheClickedFolder() {
    EditorTestHost h;
    h.load({"A\\", "A\\x", "B\\", "B\\S\\", "B\\y"});
    h.open("B\\S\\");
    h.folderView.setClickedFolder(h.node("A\\"));
    h.scripted.answers = {Answer::Yes};
    FolderCommands(h).deleteFolder();
    QCOMPARE(h.names(), (QStringList{"B\\", "B\\S\\", "B\\y"}));
    QCOMPARE(h.pos.currentPath, AnsiString("Favorites\\B\\S\\"));
    QCOMPARE(h.treeModel.selected(), h.node("B\\S\\"));
  }

  void treePopupFollowsTheClickedFolder() {
    EditorTestHost h;
    h.load({"A\\"});
    FolderCommands cmd(h);
    h.scripted.answers = {Answer::Yes};
    for (FolderNode* n : {static_cast<FolderNode*>(nullptr), h.treeModel.root()}) {
      h.folderView.setClickedFolder(n);
      const TreePopupState s = cmd.popupState();
      QVERIFY(s.newFolder);
      QVERIFY(!s.rename && !s.deleteFolder);
      cmd.deleteFolder();  // does nothing, asks nothing
    }
    QVERIFY(h.scripted.asked.empty());
    QCOMPARE(h.list.size(), size_t(1));
    h.folderView.setClickedFolder(h.node("A\\"));
    QVERIFY(cmd.popupState().rename && cmd.popupState().deleteFolder);
  }

  void importAddedBesideWhatIsThere() {
    LinkList existing;
    existing.append(LinkRecord::make("Favorites\\Imported bookmarks\\", "", 0, kKindFolder));
    existing.append(
        LinkRecord::make("Favorites\\imported bookmarks (2)", "http://x/", 0, kKindUrl));
    const AnsiString deep =
        "Favorites\\" + std::string(120, 'a') + "\\" + std::string(110, 'b') + "\\";
    LinkList imported;
    imported.append(LinkRecord::make("Favorites\\Dev\\", "", 0, kKindFolder));
    imported.append(
        LinkRecord::make("Favorites\\Dev\\" + std::string(230, 'c'), "http://c/", 0, kKindUrl));
    imported.append(LinkRecord::make(deep, "", 0, kKindFolder));
    imported.append(LinkRecord::make(deep + "x", "http://d/", 0, kKindUrl));
    FitReport report;
    const LinkList placed = PlaceImport(existing, imported, "Imported bookmarks", 0, report);
    // Both taken names count, letter case ignored.
    const AnsiString top = "Favorites\\Imported bookmarks (3)\\";
    QCOMPARE(placed[0].fullName(), std::string_view(top));
    QCOMPARE(placed[1].fullName(), std::string_view(top + "Dev\\"));
    QCOMPARE(placed[2].fullName().size(), size_t(255));  // cut, and told
    QCOMPARE(report.cutTitles, QStringList{fromAnsi(placed[2].fullName())});
    // The folder that lies too deep now goes into its parent, and is told.
    QCOMPARE(report.mergedFolders, QStringList{fromAnsi(deep)});
    QCOMPARE(placed.size(), size_t(4));
    QCOMPARE(FilePath(placed[3].fullName()), top + std::string(120, 'a') + "\\");
    const QString summary = FitSummaryText(report);
    QVERIFY(summary.contains(fromAnsi(deep)) && summary.contains(fromAnsi(placed[2].fullName())));
    QVERIFY(FitSummaryText(FitReport()).isEmpty());
  }
};

QTEST_GUILESS_MAIN(TestFolderCommands)
#include "tst_foldercommands.moc"
