// File > Sync in the window: the target asked for once, the file's news as
// one undo step, the delete guard's question in a box.
#include <QtTest>
#include <QtWidgets>

#include "SyncTestData.h"
#include "mainwindow/WindowParts.h"
#include "store/LdbFile.h"
#include "support/MainWindowFixture.h"
#include "sync/FloccusXbel.h"
#include "sync/SyncSettings.h"

using namespace vorlix;
using namespace vorlix::test;

namespace {

QAction* syncAction(MainWindowFixture& f) {
  return f.w().findChild<QAction*>(QStringLiteral("Sync1"));
}

// The sync runs on a thread of its own; the action is back when it is done.
void syncAndWait(MainWindowFixture& f) {
  syncAction(f)->trigger();
  QTRY_VERIFY(syncAction(f)->isEnabled());
}

// Changes the shared file as floccus on another machine would.
void editRemote(const QString& file, const std::function<void(sync::SyncTree&)>& change) {
  QFile in(file);
  QVERIFY(in.open(QIODevice::ReadOnly));
  auto tree = sync::parseFloccusXbel(in.readAll());
  QVERIFY(tree);
  change(*tree);
  QFile out(file);
  QVERIFY(out.open(QIODevice::WriteOnly));
  out.write(sync::writeFloccusXbel(*tree));
}

int idOf(const sync::SyncTree& t, const QString& title) {
  for (const auto& [id, item] : t.items())
    if (item.title == title) return id;
  return -1;
}

}  // namespace

class TestSyncCommand : public QObject {
  Q_OBJECT
  QTemporaryDir shared_;
  QString file() const { return shared_.filePath(QStringLiteral("bookmarks.xbel")); }

 private slots:
  void syncsThroughTheMenu() {
    MainWindowFixture f({"Favorites\\Work\\", "Favorites\\Work\\a|http://a/"});
    qputenv("XDG_STATE_HOME", f.home.path(QStringLiteral("state")).toLocal8Bit());
    QAction* sync = syncAction(f);
    QVERIFY(sync);
    QCOMPARE(sync->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    f.prompts.inputs.push_back(shared_.path());
    syncAndWait(f);
    QVERIFY(QFile::exists(file()));

    editRemote(file(), [](sync::SyncTree& t) {
      sync::SyncItem b;
      b.title = QStringLiteral("b");
      b.url = QStringLiteral("http://b/");
      t.add(idOf(t, QStringLiteral("Work")), b);
    });
    syncAndWait(f);
    QCOMPARE(f.prompts.inputCaptions.size(), 1);  // the target is kept
    QVERIFY(paths(f.document.links()).contains(QStringLiteral("Work/b=http://b/")));
    QCOMPARE(f.document.history().undoText(), QStringLiteral("Sync with ") + file());
    QVERIFY(!f.document.isDirty());
    f.document.undo();
    QVERIFY(!paths(f.document.links()).contains(QStringLiteral("Work/b=http://b/")));
  }

  // Answered No, the guard leaves the database and the file as they were.
  void deleteGuardAsksInABox() {
    QTemporaryDir shared;
    MainWindowFixture f({"Favorites\\Work\\", "Favorites\\Work\\a|http://a/",
                         "Favorites\\Work\\b|http://b/", "Favorites\\Work\\c|http://c/"});
    qputenv("XDG_STATE_HOME", f.home.path(QStringLiteral("state")).toLocal8Bit());
    f.prompts.inputs.push_back(shared.path());
    syncAndWait(f);
    const QString remote = shared.filePath(QStringLiteral("bookmarks.xbel"));
    editRemote(remote, [](sync::SyncTree& t) {
      t.remove(idOf(t, QStringLiteral("a")));
      t.remove(idOf(t, QStringLiteral("b")));
    });
    QFile in(remote);
    QVERIFY(in.open(QIODevice::ReadOnly));
    const QByteArray before = in.readAll();
    const QStringList links = paths(f.document.links());
    f.prompts.answers.push_back(Answer::No);
    syncAndWait(f);
    QVERIFY2(f.prompts.asked.front().text.contains(
                 QLatin1String("delete 2 of the 3 links in this database and 0 of the 1 links")),
             qPrintable(f.prompts.asked.front().text));
    QCOMPARE(paths(f.document.links()), links);
    in.seek(0);
    QCOMPARE(in.readAll(), before);

    // With a larger share allowed, the same sync goes on without asking.
    QVERIFY(f.registry.writeInteger(QStringLiteral("\\SOFTWARE\\Vorlix\\Sync"),
                                    QStringLiteral("DeleteSharePercent"), 80));
    const size_t asked = f.prompts.asked.size();
    syncAndWait(f);
    QCOMPARE(f.prompts.asked.size(), asked);
    QVERIFY(!paths(f.document.links()).contains(QStringLiteral("Work/a=http://a/")));
  }

  // A snapshot opens as a new untitled database, one undo step away from
  // empty, so Save never writes over it.
  void restoresASnapshotUntitled() {
    MainWindowFixture f({"Favorites\\Now|http://now/"});
    qputenv("XDG_STATE_HOME", f.home.path(QStringLiteral("state")).toLocal8Bit());
    const QString folder = f.home.path(QStringLiteral("state/vorlix/snapshots"));
    QDir().mkpath(folder);
    const QString snapshot = folder + QStringLiteral("/links-1-20260101-120000-000.ldb");
    QVERIFY(saveLdbFile(snapshot, records({"Old/", "Old/x=http://x/"})));
    f.desktop.openNames.push_back(snapshot);
    f.w().findChild<QAction*>(QStringLiteral("RestorefromaSnapshot1"))->trigger();
    QCOMPARE(f.desktop.openStartDirs, QStringList{folder});
    QCOMPARE(paths(f.document.links()), QStringList({"Old/", "Old/x=http://x/"}));
    QVERIFY(f.document.fileName().isEmpty());
    QVERIFY(f.document.isDirty());
    QCOMPARE(f.document.history().undoText(), QStringLiteral("Restore from a Snapshot"));
  }

  // With "SyncOnSave" on, Save brings the change to the file; with
  // "SyncEveryMinutes", the timer syncs without asking anything.
  void syncsAfterSaveAndOnTheTimer() {
    QTemporaryDir shared;
    MainWindowFixture f({"Favorites\\a|http://a/"});
    qputenv("XDG_STATE_HOME", f.home.path(QStringLiteral("state")).toLocal8Bit());
    f.prompts.inputs.push_back(shared.path());
    syncAndWait(f);
    const QString remote = shared.filePath(QStringLiteral("bookmarks.xbel"));
    QVERIFY(f.registry.writeInteger(QStringLiteral("\\SOFTWARE\\Vorlix\\Sync"),
                                    QStringLiteral("SyncOnSave"), 1));
    appendRecord(f.w(), LinkRecord::make("Favorites\\saved", "http://s/", 0, kKindUrl));
    part<QAction>(f.w(), "FSave")->trigger();
    QTRY_VERIFY(syncAction(f)->isEnabled());
    QFile file(remote);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("http://s/"));

    editRemote(remote, [](sync::SyncTree& t) {
      sync::SyncItem item;
      item.title = QStringLiteral("t");
      item.url = QStringLiteral("http://t/");
      t.add(sync::kRootId, item);
    });
    auto* timer = f.w().findChild<QTimer*>(QStringLiteral("SyncTimer"));
    QVERIFY(timer);
    timer->start(10);
    QTRY_VERIFY(paths(f.document.links()).contains(QStringLiteral("t=http://t/")));
    timer->stop();
    QCOMPARE(f.prompts.inputCaptions.size(), 1);
  }

  // File > Sync Settings... keeps what the dialog says for this database,
  // and the timer follows it at once.
  void settingsArmTheTimer() {
    MainWindowFixture f({"Favorites\\a|http://a/"});
    f.prompts.inputs.push_back(shared_.path());
    syncAndWait(f);  // the database now has a file name and a target
    QTimer::singleShot(0, [] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      dialog->findChild<QSpinBox*>(QStringLiteral("SyncEveryMinutes"))->setValue(5);
      dialog->accept();
    });
    f.w().findChild<QAction*>(QStringLiteral("SyncSettings1"))->trigger();
    auto* timer = f.w().findChild<QTimer*>(QStringLiteral("SyncTimer"));
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 5 * 60 * 1000);
    QCOMPARE(sync::loadSyncSettings(f.document.fileName()).target, file());
  }
};

QTEST_MAIN(TestSyncCommand)
#include "tst_synccommand.moc"
