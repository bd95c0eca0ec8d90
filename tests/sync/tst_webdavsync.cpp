// Two machines (two HOMEs, two databases) syncing through a real WebDAV
// server: lighttpd with mod_webdav on 127.0.0.1.
#include <QtTest>

#include "SyncMachines.h"
#include "WebDavServer.h"
#include "cli/Verbs.h"
#include "document/LinkDocument.h"
#include "store/LdbFile.h"
#include "sync/FloccusCrypto.h"
#include "sync/FloccusXbel.h"
#include "sync/SyncRun.h"
#include "sync/WebDavTarget.h"

using namespace vorlix;
using namespace vorlix::test;

class TestWebDavSync : public QObject {
  Q_OBJECT
  WebDavServer server_;
  int files_ = 0;

  // A file of its own on the server for each test.
  QString freshUrl() {
    return QStringLiteral("http://127.0.0.1:%1/t%2/bookmarks.xbel")
        .arg(server_.port())
        .arg(++files_);
  }
  QString serverFile(const QString& url) const { return QUrl(url).path().mid(1); }
  // Two machines in step through `url`, holding `lines`.
  void inStep(Machine& a, Machine& b, const QString& url) {
    QDir(server_.file(QString())).mkpath(QFileInfo(serverFile(url)).path());
    QCOMPARE(syncCli(a, url).status, 0);
    QCOMPARE(syncCli(b, url).status, 0);
    QCOMPARE(b.content(), a.content());
  }

 private slots:
  void initTestCase() {
    if (lighttpdProgram().isEmpty()) QSKIP("lighttpd is not installed");
    QVERIFY2(server_.start(), "lighttpd with mod_webdav did not start");
    qputenv("VORLIX_SYNC_USER", "alice");
    qputenv("VORLIX_SYNC_PASSWORD", "secret");
  }

  void editsOnBothSidesArrive() {
    const QString url = freshUrl();
    Machine a({"News/", "News/a=http://a/", "News/b=http://b/", "c=http://c/"}), b;
    inStep(a, b, url);
    a.edit([](LinkList& l) {
      addLink(l, "News\\d", "http://d/");
      renameLink(l, "c", "c2");
    });
    b.edit([](LinkList& l) {
      addLink(l, "e", "http://e/");
      renameLink(l, "News\\b", "b");
    });
    const Run first = syncCli(a, url);
    QCOMPARE(first.status, 0);
    QVERIFY2(first.out.contains(QLatin1String("1 changed")), qPrintable(first.out));
    QCOMPARE(syncCli(b, url).status, 0);
    QCOMPARE(syncCli(a, url).status, 0);
    const QStringList expected{"News/",       "News/a=http://a/", "News/d=http://d/",
                               "b=http://b/", "c2=http://c/",     "e=http://e/"};
    QCOMPARE(a.content(), expected);
    QCOMPARE(b.content(), expected);
    const auto remote = sync::parseFloccusXbel(server_.read(serverFile(url)));
    QVERIFY(remote);
    QCOMPARE(paths(*remote), expected);
  }

  void deletionPropagates() {
    const QString url = freshUrl();
    Machine a(tenLinks() + QStringList{"Work/gone=https://gone.example/"}), b;
    inStep(a, b, url);
    a.edit([](LinkList& l) { removeLink(l, "Work\\gone"); });
    QCOMPARE(syncCli(a, url).status, 0);
    QCOMPARE(syncCli(b, url).status, 0);
    QVERIFY(!b.content().contains(QStringLiteral("Work/gone=https://gone.example/")));
    QCOMPARE(b.content(), a.content());
  }

  void conflictKeepsBoth() {
    const QString url = freshUrl();
    Machine a(tenLinks()), b;
    inStep(a, b, url);
    a.edit([](LinkList& l) { setUrl(l, "Work\\l3", "https://from-a.example/"); });
    b.edit([](LinkList& l) { setUrl(l, "Work\\l3", "https://from-b.example/"); });
    QCOMPARE(syncCli(a, url).status, 0);
    const Run second = syncCli(b, url);
    QCOMPARE(second.status, 0);
    QVERIFY(second.out.contains(QLatin1String("(conflict)")));
    QCOMPARE(syncCli(a, url).status, 0);
    for (const Machine* m : {&a, &b}) {
      QVERIFY(m->content().contains(QStringLiteral("Work/l3=https://from-b.example/")));
      QVERIFY(m->content().contains(QStringLiteral("Work/l3 (conflict)=https://from-a.example/")));
    }
  }

  // Without a window the guard cannot ask: it refuses, changing nothing,
  // unless the command line allows the deletions.
  void deleteGuardAsks() {
    const QString url = freshUrl();
    Machine a(tenLinks()), b;
    inStep(a, b, url);
    a.edit([](LinkList& l) {
      for (const char* n : {"Work\\l0", "Work\\l1", "Work\\l2"}) removeLink(l, n);
    });
    const QByteArray remoteBefore = server_.read(serverFile(url));
    const QByteArray localBefore = a.bytes();
    const Run refused = syncCli(a, url);
    QVERIFY(refused.status != 0);
    QVERIFY2(refused.err.contains(QLatin1String("delete 0 of the 7 links in this database and 3 of "
                                                "the 10 links in")),
             qPrintable(refused.err));
    QCOMPARE(server_.read(serverFile(url)), remoteBefore);
    QCOMPARE(a.bytes(), localBefore);
    QCOMPARE(syncCli(a, url, {QStringLiteral("--allow-deletions")}).status, 0);
    QCOMPARE(syncCli(b, url, {QStringLiteral("--allow-deletions")}).status, 0);
    QCOMPARE(b.content().size(), 8);
  }

  void lockHeldByOther_data() {
    QTest::addColumn<int>("ageMinutes");
    QTest::addColumn<int>("freedAfterMs");  // -1: never freed
    QTest::addColumn<bool>("succeeds");
    QTest::addColumn<bool>("takenAfterOurLook");  // no lock when we look, one when we write
    QTest::newRow("fresh lock freed while waiting") << 0 << 400 << true << false;
    QTest::newRow("fresh lock never broken") << 1 << -1 << false << false;
    QTest::newRow("stale lock taken over") << 20 << -1 << true << false;
    QTest::newRow("lock taken between look and write") << 0 << 400 << true << true;
  }
  void lockHeldByOther() {
    QFETCH(int, ageMinutes);
    QFETCH(int, freedAfterMs);
    QFETCH(bool, succeeds);
    QFETCH(bool, takenAfterOurLook);
    const QString url = freshUrl();
    Machine a(tenLinks()), b;
    inStep(a, b, url);
    a.edit([](LinkList& l) { addLink(l, "new", "http://n/"); });
    const QString lockFile = server_.file(serverFile(url) + QStringLiteral(".lock"));
    const auto takeLock = [&] {
      QFile f(lockFile);
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write("<html><body>I am a lock file</body></html>");
      f.flush();  // else closing writes and dates the file now
      QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-60 * ageMinutes),
                            QFileDevice::FileModificationTime));
      if (freedAfterMs >= 0)
        QTimer::singleShot(freedAfterMs, [lockFile] { QFile::remove(lockFile); });
    };
    if (!takenAfterOurLook) takeLock();

    a.use();
    LinkDocument doc;
    doc.adopt(a.load(), a.ldb);
    sync::WebDavTarget target(QUrl(url), {QStringLiteral("alice"), QStringLiteral("secret")});
    target.wait = {100, succeeds ? 20000 : 600};
    if (takenAfterOurLook)
      target.beforeLockWrite = [&, taken = false]() mutable {
        if (!std::exchange(taken, true)) takeLock();
      };
    QStringList told;
    target.progress = [&told](const QString& text) { told << text; };
    sync::SyncOptions options;
    options.databasePath = a.ldb;
    const sync::SyncReport report = sync::runSync(doc, target, options);
    QVERIFY2(report.ok == succeeds, qPrintable(report.message));
    QCOMPARE(!told.isEmpty(), ageMinutes < 15);
    if (!succeeds) {
      QVERIFY2(report.message.contains(QLatin1String("locked by another sync since")),
               qPrintable(report.message));
      QVERIFY(QFile::exists(lockFile));
      QCOMPARE(doc.links().size(), size_t(12));
    } else {
      QVERIFY(!QFile::exists(lockFile));
      QVERIFY(server_.read(serverFile(url)).contains("http://n/"));
    }
  }

  // floccus's encryption end to end: both machines share the passphrase;
  // a wrong one changes nothing.
  void encryptedFileSyncs() {
    const QString url = freshUrl();
    qputenv("VORLIX_SYNC_PASSPHRASE", "geheim");
    Machine a(tenLinks()), b;
    inStep(a, b, url);
    QVERIFY(sync::looksEncrypted(server_.read(serverFile(url))));
    QVERIFY(!server_.read(serverFile(url)).contains("l3.example"));
    qputenv("VORLIX_SYNC_PASSPHRASE", "falsch");
    const QByteArray before = b.bytes();
    const Run wrong = syncCli(b, url);
    qunsetenv("VORLIX_SYNC_PASSPHRASE");
    QVERIFY(wrong.status != 0);
    QVERIFY2(wrong.err.contains(QLatin1String("passphrase does not open")), qPrintable(wrong.err));
    QCOMPARE(b.bytes(), before);
  }

  void faultsChangeNothing_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    QTest::newRow("connection dropped mid-upload") << "drop"
                                                   << "No connection to 127.0.0.1";
    QTest::newRow("wrong password") << "password"
                                    << "refused the user name or password";
    QTest::newRow("garbage file") << "garbage"
                                  << "is not a bookmarks file";
  }
  void faultsChangeNothing() {
    QFETCH(QString, fault);
    QFETCH(QString, message);
    const QString url = freshUrl();
    Machine a(tenLinks()), b;
    inStep(a, b, url);
    a.edit([](LinkList& l) { addLink(l, "new", "http://n/"); });
    DroppingProxy proxy(server_.port());
    QString syncUrl = url;
    if (fault == QLatin1String("drop")) {
      proxy.dropUploads = true;
      syncUrl.replace(QString::number(server_.port()), QString::number(proxy.port()));
    } else if (fault == QLatin1String("password")) {
      qputenv("VORLIX_SYNC_PASSWORD", "wrong");
    } else {
      server_.writeFile(QStringLiteral("www/") + serverFile(url), "\x89PNG garbage \x01\x02");
    }
    const QByteArray remoteBefore = server_.read(serverFile(url));
    const QByteArray localBefore = a.bytes();
    const Run run = syncCli(a, syncUrl);
    qputenv("VORLIX_SYNC_PASSWORD", "secret");
    QVERIFY(run.status != 0);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QCOMPARE(a.bytes(), localBefore);
    QCOMPARE(server_.read(serverFile(url)), remoteBefore);
    if (fault == QLatin1String("drop")) QVERIFY(proxy.dropped > 0);
  }
};

QTEST_GUILESS_MAIN(TestWebDavSync)
#include "tst_webdavsync.moc"
