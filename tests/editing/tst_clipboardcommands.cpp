#include <QTest>

#include <limits>

#include "editing/ClipboardCommands.h"
#include "editing/EditorTestHost.h"
#include "editing/FitSummary.h"
#include "editing/ForeignLinks.h"
#include "store/LdbFile.h"
#include "support/ScriptedPrompts.h"

using namespace vorlix;
using vorlix::test::EditorTestHost;

namespace {

QStringList clipNames(const ClipboardList& c) {
  QStringList out;
  for (const LinkRecord& r : c.records) out << fromAnsi(r.fullName());
  return out;
}

const QString kFolderQuestion =
    "The Folder already contains a folder named 'F'.\n\r\n\r"
    "If the links in the existing folder have the same URL as links in the\n\r"
    "the folder you are copying, they will be replaced.\n\r"
    "Do you still want to copy the folder ?";

}  // namespace

class TestClipboardCommands : public QObject {
  Q_OBJECT

 private slots:
  void copyNamesRecordsRelativeToTheSourceFolder() {
    EditorTestHost h;
    h.load({"News\\", "News\\Daily", "News\\Deep\\", "News\\Deep\\Item", "Top", "Other\\o"});
    ClipboardList clip;
    ClipboardCommands cmd(h, clip);
    h.select({"News", "Top"});
    cmd.copy();
    QCOMPARE(clip.sourceFolder, AnsiString("Favorites\\"));
    // Records directly in the source folder first, then by relative folder.
    QCOMPARE(clipNames(clip),
             (QStringList{"Top", "News\\", "News\\Daily", "News\\Deep\\", "News\\Deep\\Item"}));
    QCOMPARE(clip.rows.size(), size_t(2));
    QCOMPARE(clip.rows[0].text(), AnsiString("News=Folder"));
    QCOMPARE(clip.rows[1].text(), AnsiString("Top=Url"));
    QCOMPARE(clip.records[0].url(), std::string_view("u:Top"));
    QVERIFY(cmd.canPaste());
    QVERIFY(!h.dirty());
    QCOMPARE(h.list.size(), size_t(6));
  }

  void copyWithoutUsableSelection() {
    EditorTestHost h;
    h.load({"A\\", "A\\x"});
    ClipboardList clip;
    ClipboardCommands cmd(h, clip);
    h.select({"A"});
    cmd.copy();
    QVERIFY(cmd.canPaste());

    h.selection.clear();
    cmd.copy();
    QCOMPARE(h.scripted.asked.size(), size_t(1));
    QCOMPARE(h.scripted.asked[0].type, MsgType::Information);
    QCOMPARE(h.scripted.lastText(), QString("Incorect selection !"));
    QVERIFY(cmd.canPaste());  // untouched

    h.open("A\\");
    h.select({".."});
    cmd.copy();  // only "..": the clipboard ends up empty
    QVERIFY(!cmd.canPaste());
    QCOMPARE(h.scripted.asked.size(), size_t(1));
  }

  void deleteAsksAboutWhatItDeletes() {
    EditorTestHost h;
    h.load({"News\\", "News\\x", "News", "Newsletter", "Zed"});
    ClipboardList clip;
    ClipboardCommands cmd(h, clip);

    h.select({"News", "Zed"});
    h.scripted.answers = {Answer::No};
    cmd.deleteSelected();
    QCOMPARE(h.scripted.lastText(),
             QString("Are you sure you want to delete the selected items ?"));
    QCOMPARE(h.list.size(), size_t(5));
    QVERIFY(!h.dirty());

    // The link row "News" (not the folder of that name).
    h.selection = {h.rowOf("News") + 1};
    QCOMPARE(h.rowList[size_t(h.selection[0])].kind, AnsiString("Url"));
    h.folderView.setCurrentItem(0);  // the current item may lag behind the selection
    h.scripted.answers = {Answer::Yes};
    cmd.deleteSelected();
    QCOMPARE(h.scripted.lastText(), QString("Are you sure you want to delete the item 'News' ?"));
    QCOMPARE(h.sortedNames(), (QStringList{"News\\", "News\\x", "Newsletter", "Zed"}));
    QVERIFY(h.dirty());

    h.select({"News"});
    h.scripted.answers = {Answer::Yes};
    cmd.deleteSelected();
    QCOMPARE(h.scripted.lastText(),
             QString("Are you sure you want to delete the folder 'News' and all its contents ?"));
    QCOMPARE(h.sortedNames(), (QStringList{"Newsletter", "Zed"}));
  }

  void deleteFolderRowAtAnyDepthKeepsTheCaseTwin() {
    EditorTestHost h;
    // Unsorted, so that the row of the twins is "F" (the first one met).
    h.load(
        {"B\\", "B\\F\\", "B\\F\\G\\", "B\\F\\G\\deep", "B\\f\\", "B\\f\\keep", "B\\k1", "B\\k2"},
        false);
    h.open("B\\");
    ClipboardList clip;
    ClipboardCommands cmd(h, clip);
    h.select({"k1"});
    h.selection.insert(h.selection.begin(), h.rowOf("F"));
    h.scripted.answers = {Answer::Yes};
    cmd.deleteSelected();
    QCOMPARE(h.sortedNames(), (QStringList{"B\\", "B\\f\\", "B\\f\\keep", "B\\k2"}));
    // The rebuilt list of B, the tree rebuilt behind it, the current item
    // one row up and focused there.
    QCOMPARE(h.pos.currentPath, AnsiString("Favorites\\B\\"));
    QCOMPARE(h.captions(), (QStringList{"..", "f", "k2"}));
    QCOMPARE(h.treeText(), QString("Favorites(B(f))"));
    QCOMPARE(h.current(), 1);
    QCOMPARE(h.focused, 1);

    h.select({".."});
    cmd.deleteSelected();
    QCOMPARE(h.scripted.lastText(), QString("Incorect selection !"));
  }

  void pasteLinkQuestion() {
    EditorTestHost h;
    h.load({"S\\", "T\\"});
    h.add("S\\A", "new-url", 1234);
    h.add("T\\A", "old-url", 99);
    h.add("T\\b");
    h.sortList();
    ClipboardList clip;
    ClipboardCommands cmd(h, clip);
    h.open("S\\");
    h.select({"A"});
    cmd.copy();

    h.open("T\\");
    h.scripted.answers = {Answer::Yes};
    cmd.paste();
    QCOMPARE(h.scripted.lastText(), QString("This folder already contains a link with URL :\n\r"
                                            "A\n\r\n\rWould you like to replace the existing "
                                            "link ?"));
    QCOMPARE(h.scripted.asked.back().buttons, Buttons::YesNo);
    QCOMPARE(h.names().count("T\\A"), 1);
    QCOMPARE(h.record("T\\A")->url(), std::string_view("new-url"));
    QCOMPARE(h.record("T\\A")->dateStamp(), 1234u);
    QVERIFY(h.dirty());
    QCOMPARE(h.focused, 0);

    // No leaves the target alone and drops the link from the clipboard for
    // good: nothing is left to paste or to ask about.
    h.doc.markSaved({});
    h.scripted.answers = {Answer::No};
    cmd.paste();
    QCOMPARE(h.names().count("T\\A"), 1);
    QVERIFY(!h.dirty());
    QVERIFY(!cmd.canPaste());
    QVERIFY(clip.rows.empty());
  }

  void pasteFolderQuestion_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("expected");
    const QStringList untouched{"F\\", "F\\x", "F\\z", "S\\", "S\\F\\", "S\\F\\x", "S\\F\\y"};
    QTest::newRow("yes merges") << int(Answer::Yes)
                                << QStringList{"F\\", "F\\x",   "F\\y",    "F\\z",
                                               "S\\", "S\\F\\", "S\\F\\x", "S\\F\\y"};
    QTest::newRow("no leaves it") << int(Answer::No) << untouched;
    QTest::newRow("no to all") << int(Answer::NoToAll) << untouched;
  }
  void pasteFolderQuestion() {
    QFETCH(int, answer);
    QFETCH(QStringList, expected);
    EditorTestHost h;
    h.load({"S\\", "S\\F\\", "F\\", "F\\z"});
    h.add("S\\F\\x", "copied");
    h.add("S\\F\\y");
    h.add("F\\x", "existing");
    h.sortList();
    ClipboardList clip;
    ClipboardCommands cmd(h, clip);
    h.open("S\\");
    h.select({"F"});
    cmd.copy();
    h.open("");
    h.scripted.answers = {Answer(answer)};
    cmd.paste();
    QCOMPARE(h.scripted.asked.size(), size_t(1));
    QCOMPARE(h.scripted.lastText(), kFolderQuestion);
    QCOMPARE(h.scripted.asked[0].buttons, Buttons::YesNoNoToAllYesToAll);
    QCOMPARE(h.sortedNames(), expected);
    QCOMPARE(h.dirty(), Answer(answer) == Answer::Yes);
    if (Answer(answer) == Answer::Yes)
      QCOMPARE(h.record("F\\x")->url(), std::string_view("copied"));
    // No to all keeps the clipboard; No leaves the folder out of it for good.
    QCOMPARE(cmd.canPaste(), Answer(answer) != Answer::No);
  }

  void pasteNoToAllUndoesEarlierAnswers() {
    EditorTestHost h;
    h.load({"S\\", "S\\F\\", "S\\F\\new", "S\\G\\", "S\\G\\new", "S\\L", "F\\", "G\\"});
    ClipboardList clip;
    ClipboardCommands cmd(h, clip);
    h.open("S\\");
    h.select({"F", "G", "L"});
    cmd.copy();
    h.open("");
    const QStringList before = h.names();
    h.scripted.answers = {Answer::Yes, Answer::NoToAll};
    cmd.paste();
    QCOMPARE(h.scripted.asked.size(), size_t(2));
    QCOMPARE(h.names(), before);
    QVERIFY(!h.dirty());

    // Yes to all answers every later folder question at once.
    h.scripted.answers = {Answer::YesToAll};
    cmd.paste();
    QCOMPARE(h.scripted.asked.size(), size_t(3));
    QVERIFY(h.record("F\\new") && h.record("G\\new") && h.record("L"));
  }

  void pasteReplacesOnlyTheExactName() {
    EditorTestHost h;
    h.load({"S\\", "S\\News", "S\\Ne", "T\\", "T\\news", "T\\Newsletter"});
    ClipboardList clip;
    ClipboardCommands cmd(h, clip);
    h.open("S\\");
    h.select({"News", "Ne"});
    cmd.copy();
    h.open("T\\");
    h.scripted.answers = {Answer::Yes};
    cmd.paste();
    QCOMPARE(h.scripted.asked.size(), size_t(1));  // "news" asks, "Ne" does not
    QCOMPARE(h.sortedNames(), (QStringList{"S\\", "S\\Ne", "S\\News", "T\\", "T\\Ne", "T\\News",
                                           "T\\Newsletter", "T\\news"}));
  }

  void pasteIntoADeepFolderTellsWhatWasCut() {
    // A title that fits where it was but not below a longer path is cut,
    // and the one summary box names it; non-Latin text keeps every
    // character that fits.
    const std::string deep(200, 'd');
    const QString title = QString(20, QChar(0x65E5));  // 60 bytes in UTF-8
    EditorTestHost h;
    const AnsiString titleName = "S\\" + toAnsi(title), deepName = deep + "\\";
    h.load({"S\\", titleName.c_str(), deepName.c_str()});
    ClipboardList clip;
    ClipboardCommands cmd(h, clip);
    h.open("S\\");
    const AnsiString caption = toAnsi(title);
    h.select({caption.c_str()});
    cmd.copy();
    h.open(deep + "\\");
    cmd.paste();
    const AnsiString pasted = "Favorites\\" + deep + "\\" + toAnsi(title.left(14));
    QVERIFY(h.list.indexOf(pasted) >= 0);
    QCOMPARE(h.scripted.asked.size(), size_t(1));
    QVERIFY(h.scripted.lastText().contains(fromAnsi(pasted)));
  }

  void foreignLinksThatDoNotFitAreToldInOneBox() {
    // Below a deep folder a long title is cut and named; nothing is lost
    // without a word.
    const AnsiString folder = "Favorites\\" + std::string(230, 'd') + "\\";
    LinkList list;
    FitReport report;
    const std::vector<LinkRecord> out = RecordsForLinks(
        list, folder,
        {{"https://a.example/", "short"}, {"https://b.example/", QString(40, QChar(0x65E5))}}, 0,
        &report);
    QCOMPARE(out.size(), size_t(2));
    QCOMPARE(report.cutTitles, QStringList{fromAnsi(out[1].fullName())});
    QVERIFY(FitSummaryText(report).contains(fromAnsi(out[1].fullName())));
  }

  void aPasteThatWouldOverfillTheDatabaseAddsNothing_data() {
    QTest::addColumn<size_t>("already");
    QTest::addColumn<size_t>("adding");
    QTest::addColumn<bool>("refused");
    QTest::newRow("fits") << size_t(10) << size_t(5) << false;
    QTest::newRow("exactly full") << kMaxLdbRecords - 5 << size_t(5) << false;
    QTest::newRow("one too many") << kMaxLdbRecords - 5 << size_t(6) << true;
    QTest::newRow("no overflow") << size_t(1) << std::numeric_limits<size_t>::max() << true;
  }
  void aPasteThatWouldOverfillTheDatabaseAddsNothing() {
    QFETCH(size_t, already);
    QFETCH(size_t, adding);
    QFETCH(bool, refused);
    test::ScriptedPrompts prompts;
    QCOMPARE(RefuseWhenFull(prompts, already, adding), refused);
    QCOMPARE(prompts.asked.size(), size_t(refused ? 1 : 0));
    if (refused) QVERIFY(prompts.lastText().contains(QString::number(already)));
  }

  void pasteTwiceAndAcrossNew() {
    EditorTestHost h;
    h.load({"A\\", "A\\x", "A\\Sub\\", "A\\Sub\\y", "P\\", "Q\\"});
    ClipboardList clip;
    ClipboardCommands cmd(h, clip);
    h.select({"A"});
    cmd.copy();
    for (const char* f : {"P\\", "Q\\"}) {
      h.open(f);
      cmd.paste();
    }
    QVERIFY(h.scripted.asked.empty());
    QCOMPARE(h.sortedNames(), (QStringList{"A\\", "A\\Sub\\", "A\\Sub\\y", "A\\x", "P\\", "P\\A\\",
                                           "P\\A\\Sub\\", "P\\A\\Sub\\y", "P\\A\\x", "Q\\",
                                           "Q\\A\\", "Q\\A\\Sub\\", "Q\\A\\Sub\\y", "Q\\A\\x"}));

    // New: an empty database, the clipboard kept, its source folder forgotten.
    h.clearList();
    clip.forgetSourceFolder();
    ReturnToRoot(h.pos);
    RebuildTree(h.treeModel, h.list);
    h.rebuildList();
    cmd.paste();
    QCOMPARE(h.names(), (QStringList{"A\\", "A\\Sub\\", "A\\Sub\\y", "A\\x"}));
    QCOMPARE(h.treeText(), QString("Favorites(A(Sub))"));
    QCOMPARE(h.captions(), QStringList{"A"});
  }

  void pasteIntoTheSourceAndBelowIt() {
    EditorTestHost h;
    h.load({"A\\", "A\\X\\", "A\\l"});
    ClipboardList clip;
    ClipboardCommands cmd(h, clip);
    h.select({"A"});
    cmd.copy();
    cmd.paste();
    QCOMPARE(h.scripted.asked.size(), size_t(1));
    QCOMPARE(h.scripted.asked[0].type, MsgType::Error);
    QCOMPARE(h.scripted.lastText(),
             QString("Cannot move: the destination folder is the same as the source folder !"));
    QVERIFY(!h.dirty());

    // Into its own sub-folder: accepted, copied once.
    h.open("A\\X\\");
    cmd.paste();
    QCOMPARE(h.sortedNames(),
             (QStringList{"A\\", "A\\X\\", "A\\X\\A\\", "A\\X\\A\\X\\", "A\\X\\A\\l", "A\\l"}));
    QCOMPARE(h.pos.currentPath, AnsiString("Favorites\\A\\X\\"));
    QCOMPARE(h.treeText(), QString("Favorites(A(X(A(X))))"));
  }

  void flatListingRowsUseTheirOwnFolder() {
    EditorTestHost h;
    h.load({"Top", "Sub\\", "Sub\\inner", "Sub\\Deep\\", "Sub\\Deep\\deep", "Other\\"});
    h.flat = true;
    h.rebuildList();
    QCOMPARE(h.captions(), (QStringList{"deep", "inner", "Top"}));
    ClipboardList clip;
    ClipboardCommands cmd(h, clip);
    h.select({"inner", "deep"});
    cmd.copy();
    QCOMPARE(clipNames(clip), (QStringList{"deep", "inner"}));

    h.scripted.answers = {Answer::Yes};
    h.select({"deep"});
    cmd.deleteSelected();
    QCOMPARE(h.sortedNames(),
             (QStringList{"Other\\", "Sub\\", "Sub\\Deep\\", "Sub\\inner", "Top"}));

    h.flat = false;
    h.open("Other\\");
    cmd.paste();
    QVERIFY(h.record("Other\\inner") && h.record("Other\\deep"));
  }
};

QTEST_GUILESS_MAIN(TestClipboardCommands)
#include "tst_clipboardcommands.moc"
