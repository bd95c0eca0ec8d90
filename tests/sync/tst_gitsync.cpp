// Two machines syncing through a branch of a bare Git repository on disk,
// reached through libgit2's file:// transport; the repository is looked at
// with the git program, as another floccus user would.
#include <QtTest>

#include "GitHttpServer.h"
#include "SyncMachines.h"
#include "document/LinkDocument.h"
#include "sync/FloccusXbel.h"
#include "sync/GitTarget.h"
#include "sync/SyncRun.h"
#include "sync/TargetAddress.h"

using namespace vorlix;
using namespace vorlix::test;

namespace {

QString git(const QString& dir, const QStringList& args, int* status = nullptr) {
  QProcess p;
  p.setWorkingDirectory(dir);
  p.start(QStringLiteral("git"), args);
  p.waitForFinished(30000);
  if (status) *status = p.exitCode();
  return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

// A commit on the branch made by someone else: one more link in the file.
void pushForeignLink(const QString& bare, const QString& work, const QString& url) {
  QDir(work).removeRecursively();
  git(QDir::tempPath(), {"clone", "-q", "-b", "main", bare, work});
  QFile file(work + QStringLiteral("/bookmarks.xbel"));
  QVERIFY(file.open(QIODevice::ReadOnly));
  auto tree = sync::parseFloccusXbel(file.readAll());
  QVERIFY(tree);
  file.close();
  sync::SyncItem link;
  link.title = QStringLiteral("foreign");
  link.url = url;
  tree->add(sync::kRootId, link);
  QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(sync::writeFloccusXbel(*tree));
  file.close();
  git(work, {"-c", "user.name=other", "-c", "user.email=o@x", "commit", "-qam", "other"});
  int status = 1;
  git(work, {"push", "-q", "origin", "main"}, &status);
  QCOMPARE(status, 0);
}

// Another writer pushes once, between this sync's fetch and its push.
class RacedTarget : public sync::GitTarget {
 public:
  RacedTarget(const QString& address, std::function<void()> race)
      : GitTarget(*sync::parseTargetAddress(address, ignored_), {}), race_(std::move(race)) {}
  bool store(const QByteArray& data, QString& error) override {
    if (race_) std::exchange(race_, nullptr)();
    return GitTarget::store(data, error);
  }

 private:
  QString ignored_;
  std::function<void()> race_;
};

}  // namespace

class TestGitSync : public QObject {
  Q_OBJECT
  QTemporaryDir dir_;
  int repos_ = 0;
  QString bare_;

  // A fresh bare repository for each test; its sync target.
  QString freshRepo() {
    bare_ = dir_.filePath(QStringLiteral("r%1.git").arg(++repos_));
    git(dir_.path(), {"init", "-q", "--bare", "-b", "main", bare_});
    return QStringLiteral("git+file://") + bare_ + QStringLiteral("#main");
  }
  QString tip() const { return git(bare_, {"rev-parse", "main"}); }
  QByteArray remoteFile() const {
    QProcess p;
    p.setWorkingDirectory(bare_);
    p.start(QStringLiteral("git"), {"show", "main:bookmarks.xbel"});
    p.waitForFinished(30000);
    return p.readAllStandardOutput();
  }
  void inStep(Machine& a, Machine& b, const QString& url) {
    QCOMPARE(syncCli(a, url).status, 0);
    QCOMPARE(syncCli(b, url).status, 0);
    QCOMPARE(b.content(), a.content());
  }

 private slots:
  void initTestCase() {
    if (QStandardPaths::findExecutable(QStringLiteral("git")).isEmpty())
      QSKIP("git is not installed");
    qunsetenv("VORLIX_SYNC_PASSPHRASE");
  }

  // Edits on both machines arrive; every push is a new commit whose parent
  // is the tip it was made on, so no one's history is rewritten.
  void editsArriveOnTopOfTheBranch() {
    const QString url = freshRepo();
    Machine a({"News/", "News/a=http://a/", "c=http://c/"}), b;
    inStep(a, b, url);
    a.edit([](LinkList& l) { renameLink(l, "c", "c2"); });
    b.edit([](LinkList& l) {
      addLink(l, "News\\d", "http://d/");
      addLink(l, "b", "http://b/");
    });
    for (const Machine* m : {&a, &b, &a}) {
      const QString before = tip();
      QCOMPARE(syncCli(*m, url).status, 0);
      if (tip() != before) QCOMPARE(git(bare_, {"rev-parse", "main^"}), before);
    }
    const QStringList expected{"News/", "News/a=http://a/", "News/d=http://d/", "b=http://b/",
                               "c2=http://c/"};
    QCOMPARE(a.content(), expected);
    QCOMPARE(b.content(), expected);
    const auto remote = sync::parseFloccusXbel(remoteFile());
    QVERIFY(remote);
    QCOMPARE(paths(*remote), expected);
    // Nothing of the lock is left behind.
    QCOMPARE(git(bare_, {"tag", "--list", "floccus-lock-*"}), QString());
  }

  void lockTagHeldByOther_data() {
    QTest::addColumn<int>("ageMinutes");
    QTest::addColumn<int>("freedAfterMs");  // -1: never freed
    QTest::addColumn<bool>("succeeds");
    QTest::newRow("fresh tag freed while waiting") << 0 << 400 << true;
    QTest::newRow("fresh tag never broken") << 1 << -1 << false;
    QTest::newRow("stale tag passed over") << 20 << -1 << true;
  }
  void lockTagHeldByOther() {
    QFETCH(int, ageMinutes);
    QFETCH(int, freedAfterMs);
    QFETCH(bool, succeeds);
    const QString url = freshRepo();
    Machine a(tenLinks()), b;
    inStep(a, b, url);
    a.edit([](LinkList& l) { addLink(l, "new", "http://n/"); });
    const QString tag = QStringLiteral("floccus-lock-%1")
                            .arg(QDateTime::currentMSecsSinceEpoch() - ageMinutes * 60000LL);
    git(bare_, {"tag", tag, "main"});
    if (freedAfterMs >= 0)
      QTimer::singleShot(freedAfterMs, [this, tag] { git(bare_, {"tag", "-d", tag}); });
    const QString before = tip();

    a.use();
    LinkDocument doc;
    doc.adopt(a.load(), a.ldb);
    QString error;
    sync::GitTarget target(*sync::parseTargetAddress(url, error), {});
    target.wait = {100, succeeds ? 20000 : 600};
    QStringList told;
    target.progress = [&told](const QString& text) { told << text; };
    sync::SyncOptions options;
    options.databasePath = a.ldb;
    const sync::SyncReport report = sync::runSync(doc, target, options);
    QVERIFY2(report.ok == succeeds, qPrintable(report.message));
    QCOMPARE(!told.isEmpty(), ageMinutes < 15);
    if (succeeds) {
      QVERIFY(remoteFile().contains("http://n/"));
      QCOMPARE(git(bare_, {"rev-parse", "main^"}), before);
    } else {
      QVERIFY2(report.message.contains(QLatin1String("locked by another sync since")),
               qPrintable(report.message));
      QCOMPARE(tip(), before);
      QCOMPARE(git(bare_, {"tag", "--list", "floccus-lock-*"}), tag);
      QCOMPARE(doc.links().size(), size_t(12));
    }
  }

  // A push refused because the branch moved on changes nothing; the sync
  // fetches again and merges the other writer's commit in.
  void movedBranchIsMergedAgain() {
    const QString url = freshRepo();
    Machine a(tenLinks()), b;
    inStep(a, b, url);
    a.edit([](LinkList& l) { addLink(l, "mine", "http://mine/"); });
    a.use();
    QString raced;
    RacedTarget target(url, [&] {
      pushForeignLink(bare_, dir_.filePath(QStringLiteral("work")), QStringLiteral("http://f/"));
      raced = tip();
    });
    LinkDocument doc;
    doc.adopt(a.load(), a.ldb);
    sync::SyncOptions options;
    options.databasePath = a.ldb;
    const sync::SyncReport report = sync::runSync(doc, target, options);
    QVERIFY2(report.ok, qPrintable(report.message));
    QCOMPARE(git(bare_, {"rev-parse", "main^"}), raced);
    QVERIFY(paths(doc.links()).contains(QStringLiteral("foreign=http://f/")));
    QVERIFY(remoteFile().contains("http://mine/"));
    QVERIFY(remoteFile().contains("http://f/"));
  }

  // Over Git's smart HTTP with a password: both machines arrive; a wrong
  // password is named as such and changes nothing.
  void overHttpWithPassword() {
    GitHttpServer server;
    if (lighttpdProgram().isEmpty() || gitHttpBackend().isEmpty())
      QSKIP("lighttpd or git http-backend is not installed");
    QVERIFY2(server.start(), "lighttpd with git http-backend did not start");
    bare_ = server.repoPath(QStringLiteral("marks.git"));
    git(dir_.path(), {"init", "-q", "--bare", "-b", "main", bare_});
    const QString url = QStringLiteral("git+") + server.url(QStringLiteral("marks.git"));
    qputenv("VORLIX_SYNC_USER", "alice");
    qputenv("VORLIX_SYNC_PASSWORD", "secret");
    Machine a(tenLinks()), b;
    inStep(a, b, url);
    a.edit([](LinkList& l) { removeLink(l, "Work\\l0"); });
    const QString before = tip();
    qputenv("VORLIX_SYNC_PASSWORD", "wrong");
    const Run refused = syncCli(a, url);
    qputenv("VORLIX_SYNC_PASSWORD", "secret");
    QVERIFY(refused.status != 0);
    QVERIFY2(refused.err.contains(QLatin1String("refused the user name or password")),
             qPrintable(refused.err));
    QCOMPARE(tip(), before);
    QCOMPARE(syncCli(a, url).status, 0);
    QCOMPARE(syncCli(b, url).status, 0);
    QCOMPARE(b.content(), a.content());
    qunsetenv("VORLIX_SYNC_USER");
    qunsetenv("VORLIX_SYNC_PASSWORD");
  }

  void targetAddresses_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("location");
    QTest::addColumn<QString>("branch");
    QTest::addColumn<QString>("file");
    using K = sync::TargetAddress::Kind;
    QTest::newRow("git+ with branch and file")
        << "git+https://h.example/me/b#work:dir/m.xbel" << int(K::Git) << "https://h.example/me/b"
        << "work"
        << "dir/m.xbel";
    QTest::newRow(".git URL, default branch")
        << "ssh://git@h.example/b.git" << int(K::Git) << "ssh://git@h.example/b.git"
        << "main"
        << "bookmarks.xbel";
    QTest::newRow("WebDAV folder")
        << "https://dav.example/f" << int(K::WebDav) << "https://dav.example/f/"
        << ""
        << "bookmarks.xbel";
    QTest::newRow("WebDAV file") << "http://localhost:8/f/m.xbel" << int(K::WebDav)
                                 << "http://localhost:8/f/"
                                 << ""
                                 << "m.xbel";
    QTest::newRow("folder file") << "/tmp/x/m.xbel" << int(K::Folder) << "/tmp/x"
                                 << ""
                                 << "m.xbel";
  }
  // Each form reads into its parts and is written back the same.
  void targetAddresses() {
    QFETCH(QString, text);
    QFETCH(int, kind);
    QFETCH(QString, location);
    QFETCH(QString, branch);
    QFETCH(QString, file);
    QString error;
    const auto address = sync::parseTargetAddress(text, error);
    QVERIFY2(address, qPrintable(error));
    QCOMPARE(int(address->kind), kind);
    QCOMPARE(address->location, location);
    QCOMPARE(address->branch, branch);
    QCOMPARE(address->file, file);
    const auto again = sync::parseTargetAddress(sync::composeTargetAddress(*address), error);
    QVERIFY(again);
    QCOMPARE(*again, *address);
  }

  void refusedTargets_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("plain http Git elsewhere") << "git+http://h.example/b.git";
    QTest::newRow("file outside the repository") << "git+https://h.example/b#main:../x";
    QTest::newRow("unknown scheme") << "ftp://h.example/b";
  }
  void refusedTargets() {
    QFETCH(QString, text);
    QString error;
    QVERIFY(!sync::parseTargetAddress(text, error));
    QVERIFY(!error.isEmpty());
  }
};

QTEST_GUILESS_MAIN(TestGitSync)
#include "tst_gitsync.moc"
