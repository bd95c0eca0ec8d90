// The sync on a thread of its own: the database stays usable meanwhile,
// progress arrives on the window's thread, and an edit made while the sync
// is away leaves the database and the remote file alone.
#include <QtTest>

#include "SyncMachines.h"
#include "WebDavServer.h"
#include "document/DocumentEdit.h"
#include "document/LinkDocument.h"
#include "sync/SyncJob.h"

using namespace vorlix;
using namespace vorlix::test;

class TestSyncJob : public QObject {
  Q_OBJECT

  struct Outcome {
    bool done = false;
    sync::SyncReport report;
    QStringList told;
  };

  // Starts a job on `doc` with `a`'s folder target, waiting 50 ms between
  // looks at a held lock.
  static std::unique_ptr<sync::SyncJob> startJob(LinkDocument& doc, const Machine& a,
                                                 const QString& target, Outcome& out,
                                                 const sync::TargetOptions& login = {}) {
    sync::SyncOptions options;
    options.databasePath = a.ldb;
    options.saveLocal = [&a](const LinkList& merged, QString&) {
      a.save(merged);
      return true;
    };
    auto job = std::make_unique<sync::SyncJob>(doc, target, login, options);
    job->setLockWait({50, 20000});
    QObject::connect(job.get(), &sync::SyncJob::progress,
                     [&out](const QString& text) { out.told << text; });
    QObject::connect(job.get(), &sync::SyncJob::finished,
                     [&out](const sync::SyncReport& report, const QString&) {
                       out.report = report;
                       out.done = true;
                     });
    job->start();
    return job;
  }

 private slots:
  void mergesOnItsOwnThread_data() {
    QTest::addColumn<bool>("editMeanwhile");
    QTest::newRow("untouched database takes the merge") << false;
    QTest::newRow("edit while away is left alone") << true;
  }
  void mergesOnItsOwnThread() {
    QFETCH(bool, editMeanwhile);
    QTemporaryDir shared;
    Machine a(tenLinks()), b;
    const QString remote = shared.filePath(QStringLiteral("bookmarks.xbel"));
    QCOMPARE(syncCli(a, shared.path()).status, 0);
    QCOMPARE(syncCli(b, shared.path()).status, 0);
    b.edit([](LinkList& l) { addLink(l, "fromb", "http://b/"); });
    QCOMPARE(syncCli(b, shared.path()).status, 0);
    a.use();
    // Another sync holds the lock, so the job waits while the test edits.
    QFile lock(remote + QStringLiteral(".lock"));
    QVERIFY(lock.open(QIODevice::WriteOnly));
    lock.close();
    const QByteArray remoteBefore = Machine::readFile(remote);

    LinkDocument doc;
    doc.adopt(a.load(), a.ldb);
    Outcome out;
    auto job = startJob(doc, a, shared.path(), out);
    QTRY_VERIFY(!out.told.isEmpty());
    QVERIFY(out.told.first().contains(QLatin1String("another sync holds the lock")));
    if (editMeanwhile) {
      DocumentEdit edit(doc, QStringLiteral("Add"));
      edit.links().append(LinkRecord::make("Favorites\\mine", "http://m/", 0, kKindUrl));
      edit.commit();
    }
    QFile::remove(lock.fileName());
    QTRY_VERIFY(out.done);
    QVERIFY2(out.report.ok == !editMeanwhile, qPrintable(out.report.message));
    const QStringList local = paths(doc.links());
    QCOMPARE(local.contains(QStringLiteral("fromb=http://b/")), !editMeanwhile);
    QCOMPARE(local.contains(QStringLiteral("mine=http://m/")), editMeanwhile);
    if (editMeanwhile) {
      QCOMPARE(out.report.message, sync::changedWhileSyncing());
      QCOMPARE(Machine::readFile(remote), remoteBefore);
    } else {
      QCOMPARE(doc.history().undoText(), QStringLiteral("Sync with ") + remote);
      QVERIFY(!doc.isDirty());
    }
  }

  // The WebDAV target's network requests run on the job's thread too.
  void webDavFromItsOwnThread() {
    WebDavServer server;
    if (lighttpdProgram().isEmpty()) QSKIP("lighttpd is not installed");
    QVERIFY2(server.start(), "lighttpd with mod_webdav did not start");
    Machine a(tenLinks());
    a.use();
    LinkDocument doc;
    doc.adopt(a.load(), a.ldb);
    Outcome out;
    const QString url = QStringLiteral("http://127.0.0.1:%1/bookmarks.xbel").arg(server.port());
    auto job = startJob(doc, a, url, out, {QStringLiteral("alice"), QStringLiteral("secret")});
    QTRY_VERIFY(out.done);
    QVERIFY2(out.report.ok, qPrintable(out.report.message));
    QVERIFY(server.read(QStringLiteral("bookmarks.xbel")).contains("https://l3.example/"));
  }

  // Destroyed while it waits for a lock, the job stops waiting and
  // changes nothing.
  void stopsWhenDestroyed() {
    QTemporaryDir shared;
    Machine a(tenLinks());
    a.use();
    QFile lock(shared.filePath(QStringLiteral("bookmarks.xbel.lock")));
    QVERIFY(lock.open(QIODevice::WriteOnly));
    lock.close();
    LinkDocument doc;
    doc.adopt(a.load(), a.ldb);
    Outcome out;
    auto job = startJob(doc, a, shared.path(), out);
    QTRY_VERIFY(!out.told.isEmpty());
    job.reset();
    QVERIFY(!out.done);
    QVERIFY(!QFile::exists(shared.filePath(QStringLiteral("bookmarks.xbel"))));
    QCOMPARE(doc.links().size(), size_t(11));
  }
};

QTEST_GUILESS_MAIN(TestSyncJob)
#include "tst_syncjob.moc"
