// The Add Url / Edit Url dialog's behaviour on a real store.
#include <QMimeData>
#include <QTest>

#include "EditorTestHost.h"
#include "editing/DialogFolderTree.h"
#include "editing/ForeignLinks.h"
#include "editing/LinkEditor.h"
#include "editing/LinkMime.h"

using namespace vorlix;
using vorlix::test::EditorTestHost;

namespace {

const QString kSpecial = QStringLiteral("Please do not include special characters \\");

// The tree with each node's images: "Favorites[2/2](A[0/5])".
QString imagesText(const FolderNode* n) {
  QString s =
      fromAnsi(n->label) + QStringLiteral("[%1/%2]").arg(n->imageIndex).arg(n->selectedImageIndex);
  if (n->children.empty()) return s;
  QStringList kids;
  for (const auto& c : n->children) kids << imagesText(c.get());
  return s + '(' + kids.join(',') + ')';
}

}  // namespace

class TestLinkEditor : public QObject {
  Q_OBJECT

 private slots:
  void descriptionRule() {
    EditorTestHost h;
    h.load({"News\\"});
    LinkEditor e(h);
    e.startAdd();
    e.activate();
    QVERIFY(!e.ok(QString(), "u"));
    QCOMPARE(h.scripted.lastText(), QStringLiteral("Enter description for this URL !"));
    for (const char* bad : {"a\\b", "a\tb", "a\x7F"}) {
      QVERIFY(!e.ok(bad, "u"));
      QCOMPARE(h.scripted.lastText(),
               QString(bad) + "\r\nThe above description name is invalid.\r\n" + kSpecial);
      QCOMPARE(h.scripted.asked.back().type, MsgType::Warning);
    }
    QCOMPARE(h.names(), QStringList{"News\\"});
    // A leading dot and every sign but '\\' are fine for links; an empty URL too.
    QVERIFY(e.ok(".profile", ""));
    QVERIFY(e.ok("a|b", "http://x/"));
    QVERIFY(e.ok("Python: What's new in 3.13?", "http://p/"));
    QCOMPARE(h.names(), (QStringList{"News\\", ".profile", "a|b", "Python: What's new in 3.13?"}));
    QCOMPARE(h.record(".profile")->url(), std::string_view());
    QCOMPARE(h.record("a|b")->kind(), kKindUrl);
    QVERIFY(h.record("a|b")->dateStamp() != 0);
  }

  void addGoesToTheTargetFolderWithCaseSensitiveDuplicates() {
    EditorTestHost h;
    h.load({"News\\", "News\\site", "Tech\\"});
    h.open("News\\");
    LinkEditor e(h);
    e.startAdd();
    e.activate();
    QCOMPARE(e.targetPath(), AnsiString("Favorites\\News\\"));
    QVERIFY(e.ok("Site", "http://s/"));
    QVERIFY(h.record("News\\Site"));
    const size_t n = h.list.size();
    QVERIFY(!e.ok("Site", "http://other/"));
    QCOMPARE(h.scripted.lastText(),
             QStringLiteral("The Description name you have entered already exist !"));
    QCOMPARE(h.list.size(), n);
    // Another folder picked in the dialog's tree.
    e.folderSelected(FindNodeByPath(e.folderTree(), "Favorites\\Tech\\"));
    QCOMPARE(e.targetPath(), AnsiString("Favorites\\Tech\\"));
    QVERIFY(e.ok("Site", "http://t/"));
    QCOMPARE(h.record("Tech\\Site")->url(), std::string_view("http://t/"));
    // Texts that do not fit are refused with the room they have; nothing
    // is cut.
    const size_t before = h.list.size();
    QVERIFY(!e.ok(QString(300, QLatin1Char('x')), "u"));
    QCOMPARE(h.scripted.lastText(), QStringLiteral("The description is too long.\r\nThere is room "
                                                   "for 240 bytes here; it takes 300."));
    QVERIFY(!e.ok("x", QString(300, 'u')));
    QCOMPARE(h.scripted.lastText(), QStringLiteral("The URL is too long.\r\nThere is room for "
                                                   "255 bytes here; it takes 300."));
    // In UTF-8 a character takes more than one byte.
    QVERIFY(!e.ok(QString(121, QChar(0x65E5)), "u"));
    QVERIFY(
        h.scripted.lastText().endsWith(QStringLiteral("room for 240 bytes here; it takes 363.")));
    QVERIFY(e.ok(QString(240, QLatin1Char('x')), QString(255, 'u')));
    QCOMPARE(h.list.size(), before + 1);
    e.finish(true);
    QVERIFY(h.dirty());
    QVERIFY(h.captions().contains("Site"));  // shown at once
  }

  void activationCopiesTheTreeAndTakesTheCurrentFolder() {
    EditorTestHost h;
    h.load({"A\\", "A\\X\\", "B\\", "B\\Y\\"});
    h.treeModel.setSelected(h.node("B\\Y\\"));
    h.open("A\\");  // the list shows A while the tree's selection is B\Y
    h.treeModel.setSelected(h.node("B\\Y\\"));
    LinkEditor e(h);
    e.startAdd();
    e.activate();
    FolderTreeModel& t = e.folderTree();
    QCOMPARE(EditorTestHost::nodeText(t.root()), h.treeText());
    QCOMPARE(imagesText(t.root()), QStringLiteral("Favorites[2/2](A[0/5](X[0/5]),B[0/5](Y[0/5]))"));
    QCOMPARE(FolderTreeModel::NodePath(t.selected()), AnsiString("Favorites\\B\\Y\\"));
    QVERIFY(t.root()->expanded);
    QVERIFY(!t.root()->children[0]->expanded);
    QCOMPARE(e.targetPath(), AnsiString("Favorites\\A\\"));

    // A tree of the root alone gets no selection.
    EditorTestHost bare;
    bare.load({"link"});
    bare.treeModel.setSelected(bare.treeModel.root());
    LinkEditor e2(bare);
    e2.activate();
    QCOMPARE(NodeCount(e2.folderTree()), 1);
    QVERIFY(!e2.folderTree().selected());
    QCOMPARE(e2.targetPath(), AnsiString("Favorites\\"));
  }

  void editChangesTheRowsOwnRecord() {
    EditorTestHost h;
    h.load({"A\\", "A\\one", "A\\two", "A\\B\\", "A\\B\\deep"});
    h.open("A\\");
    FolderNode* selectedBefore = h.node("A\\");
    h.treeModel.setSelected(selectedBefore);
    h.select({"two"});
    LinkEditor e(h);
    QString d, u;
    QVERIFY(e.startEdit(d, u));
    QVERIFY(e.editMode());
    QCOMPARE(d, QStringLiteral("two"));
    QCOMPARE(u, QStringLiteral("u:A\\two"));
    e.activate();
    // No duplicate test: two records may then share a name.
    QVERIFY(e.ok("one", "http://new/"));
    e.finish(true);
    QVERIFY(!e.editMode());
    QCOMPARE(h.names(), (QStringList{"A\\", "A\\B\\", "A\\B\\deep", "A\\one", "A\\one"}));
    const LinkRecord& edited = h.list[h.list[3].url() == "http://new/" ? 3 : 4];
    QCOMPARE(edited.url(), std::string_view("http://new/"));
    QCOMPARE(edited.kind(), kKindUrl);
    QCOMPARE(h.treeModel.selected(), selectedBefore);
    QVERIFY(h.dirty());

    // A row of the flat listing belongs to the folder in its Path column.
    h.flat = true;
    h.rebuildList();
    h.select({"deep"});
    QVERIFY(e.startEdit(d, u));
    QVERIFY(e.ok("deeper", "u2"));
    e.finish(true);
    QVERIFY(h.record("A\\B\\deeper"));
    QVERIFY(!h.record("A\\deeper"));

    // Folder rows are not edited here.
    h.flat = false;
    h.rebuildList();
    h.select({"B"});
    QVERIFY(!e.startEdit(d, u));
    QVERIFY(!e.editMode());
  }

  void cancelledEditThenAdd() {
    EditorTestHost h;
    h.load({"one"});
    h.select({"one"});
    LinkEditor e(h);
    QString d, u;
    QVERIFY(e.startEdit(d, u));
    e.activate();
    e.finish(false);
    QVERIFY(!h.dirty());
    e.startAdd();
    e.activate();
    QVERIFY(e.ok("two", "u"));
    QCOMPARE(h.names(), (QStringList{"one", "two"}));
    QCOMPARE(h.record("one")->url(), std::string_view("u:one"));
  }

  void newFolderChecksAndBothTrees() {
    EditorTestHost h;
    h.load({"News\\", "News\\Local\\", "Tech\\"});
    LinkEditor e(h);
    e.startAdd();
    e.activate();
    QCOMPARE(e.rememberedPosition(), 0);

    h.scripted.inputs = {"news"};  // letter case is ignored here
    e.newFolder();
    QCOMPARE(h.scripted.lastText(),
             QStringLiteral("The Folder name you have entered already exist !"));
    QCOMPARE(h.scripted.inputCaptions.last(), QStringLiteral("New Folder|Folder Name"));
    h.scripted.inputs = {"Lo\\cal"};
    e.newFolder();
    QCOMPARE(h.scripted.lastText(),
             "Lo\\cal\r\nThe Folder name you have entered is invalid.\r\n" + kSpecial);
    h.scripted.inputs = {""};
    e.newFolder();
    QCOMPARE(h.scripted.asked.size(), size_t(2));
    QVERIFY(!h.dirty());

    // The dialog shows News selected; the new folder goes below the target.
    e.folderSelected(FindNodeByPath(e.folderTree(), "Favorites\\News\\"));
    e.folderTree().setSelected(FindNodeByPath(e.folderTree(), "Favorites\\News\\"));
    h.scripted.inputs = {"Alpha"};
    h.folderView.list().clearRows();
    e.newFolder();
    QCOMPARE(e.rememberedPosition(), 1);
    QVERIFY(h.record("News\\Alpha\\"));
    QCOMPARE(h.record("News\\Alpha\\")->kind(), kKindFolder);
    QCOMPARE(h.treeText(), QStringLiteral("Favorites(News(Alpha,Local),Tech)"));
    QCOMPARE(EditorTestHost::nodeText(e.folderTree().root()), h.treeText());
    QCOMPARE(FolderTreeModel::NodePath(e.folderTree().selected()), AnsiString("Favorites\\News\\"));
    QVERIFY(h.dirty());
    QCOMPARE(h.captions(), (QStringList{"News", "Tech"}));  // the list was rebuilt

    // '|' and a leading dot pass, unlike in the folder commands.
    h.scripted.inputs = {".cfg"};
    e.newFolder();
    h.scripted.inputs = {"a|b"};
    e.newFolder();
    QVERIFY(h.record("News\\.cfg\\"));
    QVERIFY(h.record("News\\a|b\\"));
    QCOMPARE(h.scripted.asked.size(), size_t(2));
    // The list stays in its sorted order.
    LinkList sorted = h.list;
    sorted.sortByFullName();
    QStringList sortedNames;
    for (const LinkRecord& r : sorted) sortedNames << fromAnsi(r.fullName().substr(10));
    QCOMPARE(h.names(), sortedNames);
  }

  void newFolderInASmallTreeExpandsIt() {
    EditorTestHost h;
    h.load({"link"});
    LinkEditor e(h);
    e.startAdd();
    e.activate();
    h.scripted.inputs = {"First"};
    e.newFolder();
    QCOMPARE(h.treeText(), QStringLiteral("Favorites(First)"));
    QVERIFY(h.treeModel.root()->expanded);
    QVERIFY(e.folderTree().root()->expanded);
    QCOMPARE(AbsolutePosition(e.folderTree().root()->children[0].get()), 1);
    QCOMPARE(NodeAtAbsolutePosition(e.folderTree(), 1)->label, AnsiString("First"));
    QVERIFY(!NodeAtAbsolutePosition(e.folderTree(), 2));
  }

  void eachOkAndNewFolderIsOneStep() {
    EditorTestHost h;
    h.load({"News\\", "News\\old"});
    h.open("News\\");
    LinkEditor e(h);
    e.startAdd();
    e.activate();
    QVERIFY(!e.ok("old", "u"));  // refused: no step
    QVERIFY(!h.doc.history().canUndo());
    QVERIFY(e.ok("fresh", "http://f/"));
    QCOMPARE(h.doc.history().undoText(), QStringLiteral("Add 'fresh'"));
    h.doc.undo();
    QVERIFY(!h.record("News\\fresh"));
    QVERIFY(!h.dirty());
    h.doc.redo();
    QVERIFY(h.record("News\\fresh"));

    h.scripted.inputs = {"sub"};
    e.newFolder();
    h.scripted.inputs = {"SUB"};  // refused: no step
    e.newFolder();
    QCOMPARE(h.doc.history().count(), size_t(2));
    QCOMPARE(h.doc.history().undoText(), QStringLiteral("New Folder 'sub'"));
    const QStringList withFolder = h.names();
    h.doc.undo();
    QVERIFY(!h.record("News\\sub\\"));
    h.doc.redo();
    QCOMPARE(h.names(), withFolder);

    // The edit and the sort it needs are one step.
    h.rebuildList();
    h.select({"old"});
    QString d, u;
    QVERIFY(e.startEdit(d, u));
    const QStringList before = h.names();
    QVERIFY(e.ok("Zulu", "http://z/"));
    e.finish(true);
    QCOMPARE(h.doc.history().undoText(), QStringLiteral("Edit 'Zulu'"));
    h.doc.undo();
    QCOMPARE(h.names(), before);
    QCOMPARE(h.record("News\\old")->url(), std::string_view("u:News\\old"));
  }

  void everyScriptRoundTripsThroughDialogAndClipboard_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("chinese") << QStringLiteral("\u4E2D\u6587: \u4E66\u7B7E?");
    QTest::newRow("japanese") << QStringLiteral("\u65E5\u672C\u8A9E\u306E\u30DA\u30FC\u30B8");
    QTest::newRow("cyrillic") << QStringLiteral("\u041F\u0440\u0438\u0432\u0435\u0442 / AC/DC");
    QTest::newRow("greek") << QStringLiteral("\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC");
    QTest::newRow("arabic") << QStringLiteral("\u0645\u0631\u062D\u0628\u0627 *<>\"");
    QTest::newRow("emoji") << QStringLiteral("\U0001F600 \U0001F44D\U0001F3FD");
    QTest::newRow("combining") << QStringLiteral("e\u0301 n\u0303 a\u0308");
    QTest::newRow("looks like UTF-8") << QStringLiteral("\u00C3\u00A9");
  }
  void everyScriptRoundTripsThroughDialogAndClipboard() {
    QFETCH(QString, text);
    const QString url = QStringLiteral("https://example.org/") + text;
    EditorTestHost h;
    h.load({"News\\", "Other\\"});
    LinkEditor e(h);
    e.startAdd();
    e.activate();
    QVERIFY(e.ok(text, url));
    const LinkRecord* added = h.record(toAnsi(text));
    QVERIFY(added);
    QCOMPARE(fromAnsi(added->url()), url);
    // Onto the clipboard in every format and pasted back in another folder.
    QMimeData mime;
    PutLinksOnMime(mime, {{url, text}});
    const std::vector<ForeignLink> back = LinksFromMime(mime);
    QCOMPARE(back.size(), size_t(1));
    const auto records = RecordsForLinks(h.list, "Favorites\\Other\\", back, 0);
    QCOMPARE(records.size(), size_t(1));
    QCOMPARE(fromAnsi(records[0].fullName()), "Favorites\\Other\\" + text);
    QCOMPARE(fromAnsi(records[0].url()), url);
  }
};

QTEST_GUILESS_MAIN(TestLinkEditor)
#include "tst_linkeditor.moc"
