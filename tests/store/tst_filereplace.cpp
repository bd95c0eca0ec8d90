// Saving a database when things go wrong half-way: a failing sync of the
// file or of its folder, a failing stat, a save killed before its rename,
// and databases reached through symbolic links.
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <csignal>
#include <string>

#include "store/FileReplace.h"
#include "store/LdbFile.h"
#include "support/Child.h"
#include "support/Files.h"
#include "support/Records.h"

using namespace vorlix;
using vorlix::test::readFile;
using vorlix::test::writeFile;

namespace {

testing::FailPoint failAt;
int failWith = 0;

int failOnce(testing::FailPoint p) { return p == failAt ? failWith : 0; }

// Sets the hook for one scope.
struct Inject {
  Inject(testing::FailPoint p, int err) {
    failAt = p;
    failWith = err;
    testing::setFailHook(failOnce);
  }
  ~Inject() { testing::setFailHook(nullptr); }
};

LinkList makeList(int count, const std::string& tag) {
  LinkList list;
  for (int i = 0; i < count; ++i)
    list.append(LinkRecord::make("Favorites\\" + tag + "\\l" + std::to_string(i),
                                 "http://example.org/" + tag, 0x5A21'6B3Cu, "Url"));
  return list;
}

QByteArray bytesOf(const LinkList& list) { return test::recordBytes(list); }

QStringList entriesOf(const QString& dir) {
  return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                             QDir::Name);
}

mode_t modeOf(const QString& p) {
  struct stat st {};
  if (::stat(QFile::encodeName(p).constData(), &st) != 0) return 0;
  return st.st_mode & 07777;
}

bool backdate(const QString& p, int seconds) {
  timeval times[2];
  ::gettimeofday(&times[0], nullptr);
  times[0].tv_sec -= seconds;
  times[1] = times[0];
  return ::utimes(QFile::encodeName(p).constData(), times) == 0;
}

}  // namespace

class TestFileReplace : public QObject {
  Q_OBJECT

 private slots:
  void failedFolderSyncIsReportedWithTheNewFileInPlace() {
    QTemporaryDir tmp;
    const QString file = tmp.filePath(QStringLiteral("links.ldb"));
    for (const auto point : {testing::FailPoint::OpenFolder, testing::FailPoint::SyncFolder,
                             testing::FailPoint::CloseFolder}) {
      writeFile(file, bytesOf(makeList(2, "old")));
      const LinkList next = makeList(3, "new");
      IoResult r;
      {
        Inject fault(point, EIO);
        r = saveLdbFile(file, next);
      }
      QVERIFY(!r.ok);
      QCOMPARE(r.error, EIO);
      QVERIFY(r.replaced);
      QVERIFY2(r.message.startsWith(QStringLiteral("The file was saved, but")),
               qPrintable(r.message));
      QCOMPARE(readFile(file), bytesOf(next));
      QCOMPARE(entriesOf(tmp.path()), QStringList{QStringLiteral("links.ldb")});
    }
  }

  void failedFileSyncKeepsTheOldFile() {
    QTemporaryDir tmp;
    const QString file = tmp.filePath(QStringLiteral("links.ldb"));
    const QByteArray old = bytesOf(makeList(2, "old"));
    writeFile(file, old);
    Inject fault(testing::FailPoint::SyncFile, EIO);
    const IoResult r = saveLdbFile(file, makeList(3, "new"));
    QVERIFY(!r.ok);
    QVERIFY(!r.replaced);
    QCOMPARE(r.message, QStringLiteral("I/O error 5 (Input/output error)"));
    QCOMPARE(readFile(file), old);
    QCOMPARE(entriesOf(tmp.path()), QStringList{QStringLiteral("links.ldb")});
  }

  void unknownPermissionsFailTheSave() {
    // A private file must not come back readable by everybody because its
    // mode could not be learnt.
    QTemporaryDir tmp;
    const QString file = tmp.filePath(QStringLiteral("links.ldb"));
    const QByteArray old = bytesOf(makeList(2, "old"));
    writeFile(file, old);
    QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner));
    {
      Inject fault(testing::FailPoint::StatTarget, EACCES);
      const IoResult r = saveLdbFile(file, makeList(3, "new"));
      QVERIFY(!r.ok);
      QCOMPARE(r.error, EACCES);
    }
    QCOMPARE(readFile(file), old);
    QCOMPARE(modeOf(file), mode_t(0600));
    QCOMPARE(entriesOf(tmp.path()), QStringList{QStringLiteral("links.ldb")});
    // Without the fault the mode is kept.
    QVERIFY(saveLdbFile(file, makeList(3, "new")).ok);
    QCOMPARE(modeOf(file), mode_t(0600));
  }

  void killedSaveLeavesATemporaryThatALaterSaveRemoves() {
    QTemporaryDir tmp;
    const QString file = tmp.filePath(QStringLiteral("links.ldb"));
    const QByteArray old = bytesOf(makeList(2, "old"));
    writeFile(file, old);
    // Another file's leftover and a file that merely looks alike stay.
    const QString otherTmp = tmp.filePath(QStringLiteral("other.ldb.vorlix-tmp-abcdef"));
    const QString lookalike = tmp.filePath(QStringLiteral("links.ldb.vorlix-tmp-toolong"));
    writeFile(otherTmp, "x");
    writeFile(lookalike, "x");
    QVERIFY(backdate(otherTmp, 3600) && backdate(lookalike, 3600));

    const LinkList big = makeList(2000, "big");  // about 1 MB
    const test::ChildRun run = test::runInChild([&] {
      testing::setFailHook([](testing::FailPoint p) {
        if (p == testing::FailPoint::SyncFile) ::raise(SIGKILL);
        return 0;
      });
      saveLdbFile(file, big);
      return QByteArray("not killed");
    });
    QVERIFY(run.started);
    QVERIFY(run.killedBy(SIGKILL));
    QCOMPARE(readFile(file), old);
    QStringList left = entriesOf(tmp.path());
    left.removeAll(QStringLiteral("links.ldb"));
    left.removeAll(QFileInfo(otherTmp).fileName());
    left.removeAll(QFileInfo(lookalike).fileName());
    QCOMPARE(left.size(), 1);
    const QString stale = tmp.filePath(left.first());
    QVERIFY(left.first().startsWith(QStringLiteral("links.ldb.vorlix-tmp-")));
    QCOMPARE(QFileInfo(stale).size(), qint64(bytesOf(big).size()));

    // Younger than a minute it may be another save's work in progress.
    QVERIFY(saveLdbFile(file, makeList(1, "a")).ok);
    QVERIFY(QFile::exists(stale));
    QVERIFY(backdate(stale, kStaleTemporarySeconds + 5));
    QVERIFY(saveLdbFile(file, makeList(1, "b")).ok);
    QVERIFY(!QFile::exists(stale));
    QVERIFY(QFile::exists(otherTmp) && QFile::exists(lookalike));
    QCOMPARE(readFile(file), bytesOf(makeList(1, "b")));
  }

  void saveWritesThroughSymbolicLinks() {
    QTemporaryDir tmp;
    QVERIFY(QDir(tmp.path()).mkdir(QStringLiteral("real")));
    const QString target = tmp.filePath(QStringLiteral("real/target.ldb"));
    writeFile(target, bytesOf(makeList(1, "old")));
    QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner));
    // A relative link, and a link to that link.
    const QString link = tmp.filePath(QStringLiteral("link.ldb"));
    const QString link2 = tmp.filePath(QStringLiteral("link2.ldb"));
    QCOMPARE(::symlink("real/target.ldb", QFile::encodeName(link).constData()), 0);
    QCOMPARE(::symlink("link.ldb", QFile::encodeName(link2).constData()), 0);

    const LinkList next = makeList(4, "new");
    QVERIFY(saveLdbFile(link2, next).ok);
    QVERIFY(QFileInfo(link).isSymLink());
    QVERIFY(QFileInfo(link2).isSymLink());
    QCOMPARE(readFile(target), bytesOf(next));
    QCOMPARE(modeOf(target), mode_t(0600));
    QCOMPARE(entriesOf(tmp.filePath(QStringLiteral("real"))),
             QStringList{QStringLiteral("target.ldb")});

    // A link whose file is missing: the save makes the file it names.
    const QString dangling = tmp.filePath(QStringLiteral("dangling.ldb"));
    QCOMPARE(::symlink("real/new.ldb", QFile::encodeName(dangling).constData()), 0);
    QVERIFY(saveLdbFile(dangling, next).ok);
    QVERIFY(QFileInfo(dangling).isSymLink());
    QCOMPARE(readFile(tmp.filePath(QStringLiteral("real/new.ldb"))), bytesOf(next));

    // A loop of links fails without touching anything.
    const QString loopA = tmp.filePath(QStringLiteral("a.ldb"));
    QCOMPARE(::symlink("b.ldb", QFile::encodeName(loopA).constData()), 0);
    QCOMPARE(
        ::symlink("a.ldb", QFile::encodeName(tmp.filePath(QStringLiteral("b.ldb"))).constData()),
        0);
    const IoResult r = saveLdbFile(loopA, next);
    QVERIFY(!r.ok);
    QCOMPARE(r.error, ELOOP);
  }
};

QTEST_GUILESS_MAIN(TestFileReplace)
#include "tst_filereplace.moc"
