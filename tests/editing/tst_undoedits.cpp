// Every editing command is one undo step: edit, undo, redo and undo again
// give the records back byte for byte, order included, and redo gives the
// edited records back exactly.
#include <QTest>

#include "document/DocumentEdit.h"
#include "editing/ClipboardCommands.h"
#include "editing/DragDrop.h"
#include "editing/EditorTestHost.h"
#include "editing/FolderCommands.h"
#include "platform/Prompts.h"
#include "support/Records.h"

using namespace vorlix;
using namespace vorlix::test;

namespace {

QByteArray bytesOf(const LinkList& l) { return test::recordBytes(l); }

// Runs `edit` once and checks the undo round trip; returns the step's
// caption.
template <typename Edit>
QString checkRoundTrip(EditorTestHost& h, Edit edit) {
  const QByteArray before = bytesOf(h.list);
  edit();
  if (QTest::currentTestFailed()) return {};
  const QByteArray after = bytesOf(h.list);
  [&] {
    QVERIFY2(after != before, "the edit changed nothing");
    QVERIFY(h.doc.history().canUndo() && !h.doc.history().canRedo());
    QVERIFY(h.dirty());
    h.doc.undo();
    QCOMPARE(bytesOf(h.list), before);
    QVERIFY(!h.dirty());
    h.doc.redo();
    QCOMPARE(bytesOf(h.list), after);
    h.doc.undo();
    QCOMPARE(bytesOf(h.list), before);
  }();
  return h.doc.history().redoText();
}

}  // namespace

class TestUndoEdits : public QObject {
  Q_OBJECT
 private slots:
  void folderCommands() {
    EditorTestHost h;
    // Not sorted as loaded: the first edit's sort must be undone too.
    h.load({"Zed\\", "News\\", "News\\Daily", "News\\Regional\\", "News\\Regional\\x", "Apps"},
           false);
    FolderCommands cmd(h);

    h.scripted.inputs = {"Fresh"};
    QCOMPARE(checkRoundTrip(h, [&] { cmd.newFolder(); }), QStringLiteral("New Folder 'Fresh'"));

    QCOMPARE(checkRoundTrip(h, [&] { QVERIFY(cmd.TreeLinksEdited(h.node("News\\"), "Press")); }),
             QStringLiteral("Rename 'News' to 'Press'"));
    RebuildTree(h.treeModel, h.list);

    h.select({"News"});
    h.scripted.inputs = {"Journal"};
    QCOMPARE(checkRoundTrip(h, [&] { cmd.renameFromList(); }),
             QStringLiteral("Rename 'News' to 'Journal'"));

    h.folderView.setClickedFolder(h.node("News\\"));
    h.scripted.answers = {Answer::Yes};
    QCOMPARE(checkRoundTrip(h, [&] { cmd.deleteFolder(); }), QStringLiteral("Delete 'News'"));
  }

  void deleteCopyAndMergingPaste() {
    EditorTestHost h;
    h.load({"S\\", "S\\F\\", "S\\F\\x", "S\\F\\y", "S\\link", "T\\", "T\\F\\", "T\\F\\x",
            "T\\F\\old", "T\\link"});
    ClipboardList clip;
    ClipboardCommands cmd(h, clip);

    h.open("S\\");
    h.select({"F", "link"});
    h.scripted.answers = {Answer::Yes};
    QCOMPARE(checkRoundTrip(h, [&] { cmd.deleteSelected(); }), QStringLiteral("Delete 2 Items"));
    h.rebuildList();
    h.select({"link"});
    h.scripted.answers = {Answer::Yes};
    QCOMPARE(checkRoundTrip(h, [&] { cmd.deleteSelected(); }), QStringLiteral("Delete 'link'"));

    // Paste into T: F merges into T's F (x replaced, old kept), link replaced.
    h.rebuildList();
    h.select({"F", "link"});
    cmd.copy();
    h.open("T\\");
    h.scripted.answers = {Answer::Yes, Answer::Yes};
    QCOMPARE(checkRoundTrip(h, [&] { cmd.paste(); }), QStringLiteral("Paste"));
  }

  void dropMovesAndMerges() {
    EditorTestHost h;
    h.load({"A\\", "A\\x", "A\\Sub\\", "A\\Sub\\deep", "B\\", "B\\Sub\\", "B\\Sub\\other"});
    DragDrop dd(h);
    h.open("A\\");
    h.select({"x", "Sub"});
    dd.dragStart();
    h.scripted.answers = {Answer::Yes};
    QCOMPARE(checkRoundTrip(h, [&] { dd.drop(h.node("B\\")); }), QStringLiteral("Move to 'B'"));
  }

  void abandonedQuestionsLeaveNoStep() {
    EditorTestHost h;
    h.load({"A\\", "A\\x"});
    FolderCommands cmd(h);
    h.folderView.setClickedFolder(h.node("A\\"));
    h.scripted.answers = {Answer::No};
    cmd.deleteFolder();
    h.scripted.inputs = {"a"};  // exists already
    cmd.newFolder();
    QVERIFY(!h.doc.history().canUndo());
    QVERIFY(!h.dirty());
  }

  // The large case: a 10,000-record folder deleted from 100,000 records.
  void deleteOfALargeFolder() {
    EditorTestHost h;
    LinkList l;
    l.reserve(100000);
    char name[64];
    for (int f = 0; f < 10; ++f) {
      std::snprintf(name, sizeof name, "Favorites\\F%d\\", f);
      l.append(LinkRecord::make(name, "", 1, kKindFolder));
      for (int i = 0; i < 9999; ++i) {
        std::snprintf(name, sizeof name, "Favorites\\F%d\\link %d", f, i);
        l.append(LinkRecord::make(name, "http://x/", 2, kKindUrl));
      }
    }
    h.doc.adopt(std::move(l), {});
    RebuildTree(h.treeModel, h.list);
    h.rebuildList();
    h.folderView.setClickedFolder(h.node("F3\\"));
    h.scripted.answers = {Answer::Yes};
    FolderCommands cmd(h);
    QCOMPARE(checkRoundTrip(h, [&] { cmd.deleteFolder(); }), QStringLiteral("Delete 'F3'"));
    QCOMPARE(h.list.size(), size_t(100000));
    // The step holds the 10,000 records it removed, not the database.
    QVERIFY(h.doc.history().memoryBytes() < 10100 * sizeof(LinkRecord));
  }
};

QTEST_MAIN(TestUndoEdits)
#include "tst_undoedits.moc"
