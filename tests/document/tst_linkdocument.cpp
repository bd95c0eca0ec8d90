// The document's undo history: steps keep only what they changed, undo and
// redo restore the records byte for byte, the dirty flag is "not at the
// saved point", and the history stays under its memory cap.
#include <QSignalSpy>
#include <QTest>
#include <cstring>

#include "document/DocumentEdit.h"
#include "document/LinkDocument.h"
#include "store/Find.h"
#include "support/Records.h"

using namespace vorlix;

namespace {

LinkRecord rec(const std::string& name, const std::string& url = "u") {
  std::string full = "Favorites\\";
  full += name;
  return LinkRecord::make(full, url, 0x58E96000u, name.back() == '\\' ? kKindFolder : kKindUrl);
}

LinkList listOf(std::initializer_list<const char*> names) {
  LinkList l;
  for (const char* n : names) l.append(rec(n));
  return l;
}

QByteArray bytesOf(const LinkList& l) { return test::recordBytes(l); }

}  // namespace

class TestLinkDocument : public QObject {
  Q_OBJECT
 private slots:
  // Every kind of change the list records, mixed in one step, in an
  // unsorted list with a record whose unused bytes are not zero.
  void mixedStepUndoesAndRedoesByteForByte() {
    LinkList start = listOf({"b", "A\\", "c", "A\\x", "d"});
    LinkRecord odd = rec("odd");
    std::memset(odd.raw.data() + 200, 0x5A, 40);  // bytes past the name's end
    start.append(odd);
    LinkDocument doc;
    doc.adopt(std::move(start), QStringLiteral("f.ldb"));
    const QByteArray before = bytesOf(doc.links());

    DocumentEdit edit(doc, QStringLiteral("Mixed"));
    LinkList& l = edit.links();
    l.setFullName(0, "Favorites\\renamed");
    l.append(rec("new"));
    l.removeIf([](const LinkRecord& r) { return r.fullName() == "Favorites\\c"; });
    l.sortByFullName();
    l.setFullName(2, "Favorites\\again");
    l.removeIf([](const LinkRecord& r) { return r.fullName() == "Favorites\\odd"; });
    l.append(rec("last"));
    edit.commit();
    const QByteArray after = bytesOf(doc.links());
    QVERIFY(after != before);

    for (int round = 0; round < 2; ++round) {
      doc.undo();
      QCOMPARE(bytesOf(doc.links()), before);
      doc.redo();
      QCOMPARE(bytesOf(doc.links()), after);
    }
    doc.undo();
    QCOMPARE(bytesOf(doc.links()), before);
  }

  void editLeftWithoutCommitIsTakenBack() {
    LinkDocument doc;
    doc.adopt(listOf({"b", "a"}), {});
    const QByteArray before = bytesOf(doc.links());
    {
      DocumentEdit edit(doc, QStringLiteral("Abandoned"));
      edit.links().sortByFullName();
      edit.links().clear();
    }
    QCOMPARE(bytesOf(doc.links()), before);
    QVERIFY(!doc.history().canUndo());
    QVERIFY(!doc.isDirty());
    // A committed step that changed nothing is no step.
    DocumentEdit none(doc, QStringLiteral("Nothing"));
    none.commit();
    QVERIFY(!doc.history().canUndo());
  }

  void dirtyMeansNotAtTheSavedPoint() {
    LinkDocument doc;
    QSignalSpy dirty(&doc, &LinkDocument::dirtyChanged);
    doc.adopt(listOf({"a"}), QStringLiteral("f.ldb"));
    QVERIFY(!doc.isDirty());
    auto add = [&doc](const char* name) {
      DocumentEdit e(doc, QStringLiteral("Add"));
      e.links().append(rec(name));
      e.commit();
    };
    add("b");
    QVERIFY(doc.isDirty());
    doc.markSaved(QStringLiteral("g.ldb"));
    QVERIFY(!doc.isDirty());
    QCOMPARE(doc.fileName(), QStringLiteral("g.ldb"));
    doc.undo();
    QVERIFY(doc.isDirty());
    doc.redo();
    QVERIFY(!doc.isDirty());
    // Undoing to the saved point and branching off loses that point.
    doc.undo();
    add("c");
    QVERIFY(doc.isDirty());
    doc.undo();
    QVERIFY(doc.isDirty());
    QVERIFY(!dirty.isEmpty());
    QCOMPARE(dirty.last().at(0).toBool(), true);
    // A fresh database starts a fresh, clean history.
    doc.adopt(LinkList(), {});
    QVERIFY(!doc.isDirty() && !doc.history().canUndo() && !doc.history().canRedo());
    // The first-run import is content no file holds.
    doc.adopt(listOf({"x"}), {}, true);
    QVERIFY(doc.isDirty());
  }

  void importIsOneStepThatKeepsTheFileName() {
    LinkDocument doc;
    doc.adopt(listOf({"mine", "more"}), QStringLiteral("user.ldb"));
    const QByteArray before = bytesOf(doc.links());
    doc.replaceContent(listOf({"imported"}), QStringLiteral("Import Favorites"));
    QCOMPARE(doc.links().size(), size_t(1));
    QCOMPARE(doc.fileName(), QStringLiteral("user.ldb"));
    QVERIFY(doc.isDirty());
    QCOMPARE(doc.history().undoText(), QStringLiteral("Import Favorites"));
    doc.undo();
    QCOMPARE(bytesOf(doc.links()), before);
    QVERIFY(!doc.isDirty());
    QCOMPARE(doc.history().redoText(), QStringLiteral("Import Favorites"));
  }

  void findIndexFollowsEveryChange() {
    LinkDocument doc;
    doc.adopt(listOf({"alpha"}), {});
    QCOMPARE(doc.findIndex().find("ALP").size(), size_t(1));
    {
      DocumentEdit e(doc, QStringLiteral("Add"));
      e.links().append(rec("alpine"));
      e.commit();
    }
    doc.findIndex().resetNarrowing();
    QCOMPARE(doc.findIndex().find("ALP").size(), size_t(2));
    doc.undo();
    doc.findIndex().resetNarrowing();
    QCOMPARE(doc.findIndex().find("ALP").size(), size_t(1));
  }

  // Each step keeps what it changed; past the cap the oldest steps go, and
  // a saved point among them can no longer be reached.
  void historyDropsItsOldestStepsPastTheCap() {
    LinkDocument doc;
    LinkList big;
    for (int i = 0; i < 1000; ++i) big.append(rec(std::to_string(i)));
    doc.adopt(std::move(big), QStringLiteral("f.ldb"));
    auto removeTen = [&doc](int k) {
      DocumentEdit e(doc, QStringLiteral("Remove %1").arg(k));
      int n = 0;
      e.links().removeIf([&n](const LinkRecord&) { return n++ < 10; });
      e.commit();
    };
    removeTen(0);
    const size_t oneStep = doc.history().memoryBytes();
    QVERIFY(oneStep >= 10 * sizeof(LinkRecord));
    QVERIFY(oneStep < 20 * sizeof(LinkRecord) + 1024);  // not a copy of the list
    doc.history().setMemoryLimit(oneStep * 3);
    for (int k = 1; k < 10; ++k) removeTen(k);
    QCOMPARE(doc.history().count(), size_t(3));
    QCOMPARE(doc.history().undoText(), QStringLiteral("Remove 9"));
    while (doc.history().canUndo()) doc.undo();
    QCOMPARE(doc.links().size(), size_t(1000 - 70));
    QVERIFY(doc.isDirty());  // the saved state was dropped with the oldest steps
    // The newest step stays even when it alone is over the cap.
    while (doc.history().canRedo()) doc.redo();
    doc.history().setMemoryLimit(1);
    QCOMPARE(doc.history().count(), size_t(1));
    QVERIFY(doc.history().canUndo());
  }
};

QTEST_GUILESS_MAIN(TestLinkDocument)
#include "tst_linkdocument.moc"
