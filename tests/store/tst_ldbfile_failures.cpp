// How loading and saving .ldb files fail: permissions, a full file system and
// directories in the way. A failure must never damage the old file or leave a
// temporary file behind.
#include <grp.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <functional>
#include <string>

#include "store/LdbFile.h"
#include "support/Child.h"
#include "support/Records.h"

using namespace vorlix;

namespace {

constexpr uid_t kNobody = 65534;

LinkList makeList(int count, const std::string& tag) {
  LinkList list;
  for (int i = 0; i < count; ++i)
    list.append(LinkRecord::make("Favorites\\" + tag + "\\l" + std::to_string(i),
                                 "http://example.org/" + tag + std::to_string(i), 0x5A21'6B3Cu,
                                 "Url"));
  return list;
}

QByteArray bytesOf(const LinkList& list) { return test::recordBytes(list); }

QByteArray readFile(const QString& p) {
  QFile f(p);
  if (!f.open(QIODevice::ReadOnly)) return QByteArrayLiteral("<unreadable>");
  return f.readAll();
}

bool writeFile(const QString& p, const QByteArray& data) {
  QFile f(p);
  return f.open(QIODevice::WriteOnly) && f.write(data) == data.size() && f.flush();
}

// Every name in a folder, hidden ones included, so a stray "x.ldb.vorlix-tmp-XXXXXX" shows.
QStringList entriesOf(const QString& dir) {
  return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                             QDir::Name);
}

bool setMode(const QString& p, mode_t mode) {
  return ::chmod(QFile::encodeName(p).constData(), mode) == 0;
}

mode_t modeOf(const QString& p) {
  struct stat st {};
  if (::stat(QFile::encodeName(p).constData(), &st) != 0) return 0;
  return st.st_mode & 07777;
}

bool isDirectory(const QString& p) {
  struct stat st {};
  return ::stat(QFile::encodeName(p).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool hasAccess(const QString& p, int how) {
  return ::access(QFile::encodeName(p).constData(), how) == 0;
}

// What an operation run as an unprivileged user reported.
struct Unprivileged {
  QString skip;  // set when the operation could not run that way
  bool precondition = false;
  IoResult result;
  bool extra = false;  // an additional check made by the operation
};

// Root ignores file modes, so permission cases run in a child that has become
// "nobody". The child checks `precondition` first so that a folder the user
// cannot even reach does not pass for the denial being tested.
Unprivileged runUnprivileged(const std::function<bool()>& precondition,
                             const std::function<IoResult(bool& extra)>& op) {
  Unprivileged out;
  if (::geteuid() != 0) {
    // Already unprivileged: modes apply to this process as they are.
    out.precondition = precondition();
    if (out.precondition) out.result = op(out.extra);
    return out;
  }

  struct Report {
    int dropped;
    int precondition;
    int ok;
    int error;
    int extra;
    char message[240];
  };
  int fds[2];
  if (::pipe(fds) != 0) {
    out.skip = QStringLiteral("pipe() failed: %1").arg(QString::fromLocal8Bit(strerror(errno)));
    return out;
  }
  const pid_t pid = ::fork();
  if (pid < 0) {
    ::close(fds[0]);
    ::close(fds[1]);
    out.skip = QStringLiteral("fork() failed: %1").arg(QString::fromLocal8Bit(strerror(errno)));
    return out;
  }
  if (pid == 0) {
    ::close(fds[0]);
    ::alarm(20);  // a stuck child must not hang the test run
    Report rep{};
    rep.dropped = ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 &&
                  ::setuid(kNobody) == 0 && ::geteuid() == kNobody;
    if (rep.dropped) {
      rep.precondition = precondition();
      if (rep.precondition) {
        bool extra = false;
        const IoResult r = op(extra);
        rep.ok = r.ok;
        rep.error = r.error;
        rep.extra = extra;
        const QByteArray msg = r.message.toUtf8().left(int(sizeof rep.message) - 1);
        std::memcpy(rep.message, msg.constData(), size_t(msg.size()));
      }
    } else {
      rep.error = errno;
    }
    const char* p = reinterpret_cast<const char*>(&rep);
    size_t left = sizeof rep;
    while (left > 0) {
      const ssize_t n = ::write(fds[1], p, left);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      p += n;
      left -= size_t(n);
    }
    ::_exit(0);  // skip Qt's and the test's teardown in the copy
  }

  ::close(fds[1]);
  Report rep{};
  char* p = reinterpret_cast<char*>(&rep);
  size_t got = 0;
  while (got < sizeof rep) {
    const ssize_t n = ::read(fds[0], p + got, sizeof rep - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += size_t(n);
  }
  ::close(fds[0]);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (got != sizeof rep) {
    out.skip =
        QStringLiteral("the unprivileged child died without reporting (status %1)").arg(status);
    return out;
  }
  if (!rep.dropped) {
    out.skip = QStringLiteral("cannot switch to uid/gid %1: %2")
                   .arg(kNobody)
                   .arg(QString::fromLocal8Bit(strerror(rep.error)));
    return out;
  }
  out.precondition = rep.precondition;
  out.result.ok = rep.ok;
  out.result.error = rep.error;
  out.result.message = QString::fromUtf8(rep.message);
  out.extra = rep.extra;
  return out;
}

// Unmounts even when a check fails half-way through the test.
struct MountGuard {
  QByteArray path;
  ~MountGuard() {
    if (!path.isEmpty()) ::umount2(path.constData(), MNT_DETACH);
  }
};

}  // namespace

class TestLdbFileFailures : public QObject {
  Q_OBJECT

 private slots:
  // --- permissions -------------------------------------------------------

  void saveIntoReadOnlyFolder() {
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString dir = tmp.filePath(QStringLiteral("ro"));
    QVERIFY(QDir().mkdir(dir));
    const QString file = dir + QStringLiteral("/links.ldb");
    const QByteArray old = bytesOf(makeList(3, "old"));
    QVERIFY(writeFile(file, old));
    // The file itself is writable: only the folder refuses the temporary file.
    QVERIFY(setMode(file, 0666));
    QVERIFY(setMode(tmp.path(), 0755));
    QVERIFY(setMode(dir, 0555));
    const LinkList next = makeList(5, "new");

    const Unprivileged u =
        runUnprivileged([&] { return hasAccess(file, W_OK) && !hasAccess(dir, W_OK); },
                        [&](bool&) { return saveLdbFile(file, next); });
    QVERIFY(setMode(dir, 0755));  // let the cleanup through whatever happened
    if (!u.skip.isEmpty()) QSKIP(qPrintable(u.skip));
    QVERIFY2(u.precondition, "the test folder is not set up as intended for uid 65534");
    QVERIFY(!u.result.ok);
    QCOMPARE(u.result.error, EACCES);
    QCOMPARE(u.result.message, QStringLiteral("File access denied"));
    QCOMPARE(readFile(file), old);
    QCOMPARE(entriesOf(dir), QStringList{QStringLiteral("links.ldb")});

    // Control: with the folder writable the same user can save, so the
    // failure above came from the folder and not from the set-up.
    QVERIFY(setMode(dir, 0777));
    const Unprivileged ok =
        runUnprivileged([] { return true; }, [&](bool&) { return saveLdbFile(file, next); });
    QVERIFY(setMode(dir, 0755));
    QVERIFY(ok.skip.isEmpty());
    QVERIFY2(ok.result.ok, qPrintable(ok.result.message));
    QCOMPARE(readFile(file), bytesOf(next));
    QCOMPARE(entriesOf(dir), QStringList{QStringLiteral("links.ldb")});
  }

  void saveOverReadOnlyFile() {
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    // A writable folder: the rename could replace the file, yet the save
    // must refuse a file the user may not write.
    QVERIFY(setMode(tmp.path(), 0777));
    const QString file = tmp.filePath(QStringLiteral("links.ldb"));
    const QByteArray old = bytesOf(makeList(4, "old"));
    QVERIFY(writeFile(file, old));
    QVERIFY(setMode(file, 0444));
    const LinkList next = makeList(2, "new");

    const Unprivileged u =
        runUnprivileged([&] { return hasAccess(tmp.path(), W_OK | X_OK) && hasAccess(file, R_OK); },
                        [&](bool&) { return saveLdbFile(file, next); });
    if (!u.skip.isEmpty()) QSKIP(qPrintable(u.skip));
    QVERIFY2(u.precondition, "the test folder is not set up as intended for uid 65534");
    QVERIFY(!u.result.ok);
    QCOMPARE(u.result.error, EACCES);
    QCOMPARE(u.result.message, QStringLiteral("File access denied"));
    QCOMPARE(readFile(file), old);
    QCOMPARE(modeOf(file), mode_t(0444));
    QCOMPARE(entriesOf(tmp.path()), QStringList{QStringLiteral("links.ldb")});
  }

  void loadReadOnlyFile() {
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(setMode(tmp.path(), 0755));
    const QString file = tmp.filePath(QStringLiteral("links.ldb"));
    const QByteArray old = bytesOf(makeList(6, "file"));
    QVERIFY(writeFile(file, old));
    QVERIFY(setMode(file, 0444));

    // The child compares the list after the failed load with what it held.
    const Unprivileged u = runUnprivileged([&] { return hasAccess(file, R_OK); },
                                           [&](bool& untouched) {
                                             LinkList held = makeList(2, "held");
                                             const QByteArray before = bytesOf(held);
                                             const IoResult r = loadLdbFile(file, held);
                                             untouched = bytesOf(held) == before;
                                             return r;
                                           });
    if (!u.skip.isEmpty()) QSKIP(qPrintable(u.skip));
    QVERIFY2(u.precondition, "the test file is not readable for uid 65534");
    QVERIFY(!u.result.ok);
    QCOMPARE(u.result.error, EACCES);
    QCOMPARE(u.result.message, QStringLiteral("File access denied"));
    QVERIFY2(u.extra, "a failed load changed the list it was given");
    QCOMPARE(readFile(file), old);
    QCOMPARE(modeOf(file), mode_t(0444));
  }

  // --- full file system --------------------------------------------------

  void saveOntoFullFileSystem() {
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString mnt = tmp.filePath(QStringLiteral("fs"));
    QVERIFY(QDir().mkdir(mnt));
    MountGuard guard;  // declared after tmp: unmounts before the folder goes
    const QByteArray mntNative = QFile::encodeName(mnt);
    if (::mount("tmpfs", mntNative.constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                "size=256k,mode=0755") != 0)
      QSKIP(qPrintable(
          QStringLiteral("cannot mount a tmpfs: %1").arg(QString::fromLocal8Bit(strerror(errno)))));
    guard.path = mntNative;

    const QString file = mnt + QStringLiteral("/links.ldb");
    const QByteArray old = bytesOf(makeList(40, "old"));
    QVERIFY(writeFile(file, old));

    const LinkList big = makeList(1000, "big");
    struct statvfs vfs {};
    QCOMPARE(::statvfs(mntNative.constData(), &vfs), 0);
    const quint64 avail = quint64(vfs.f_bavail) * vfs.f_frsize;
    QVERIFY2(quint64(big.size()) * kRecordSize > avail, "the file system is not small enough");

    const IoResult r = saveLdbFile(file, big);
    QVERIFY(!r.ok);
    QCOMPARE(r.error, ENOSPC);
    QCOMPARE(r.message, QStringLiteral("Disk full"));
    QCOMPARE(readFile(file), old);
    QCOMPARE(entriesOf(mnt), QStringList{QStringLiteral("links.ldb")});

    // The partial temporary file must be gone, not just unnamed: a save that
    // fits only beside the old file and not beside ~230 KiB of leftovers works.
    const LinkList fits = makeList(200, "fits");
    const IoResult r2 = saveLdbFile(file, fits);
    QVERIFY2(r2.ok, qPrintable(r2.message));
    QCOMPARE(readFile(file), bytesOf(fits));
    QCOMPARE(entriesOf(mnt), QStringList{QStringLiteral("links.ldb")});
  }

  // --- directories in the way --------------------------------------------

  void loadDirectory() {
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString sub = tmp.filePath(QStringLiteral("folder.ldb"));
    QVERIFY(QDir().mkdir(sub));
    LinkList held = makeList(2, "held");
    const QByteArray before = bytesOf(held);

    const IoResult r = loadLdbFile(sub, held);
    QVERIFY(!r.ok);
    QCOMPARE(r.error, EISDIR);
    QCOMPARE(r.message, QStringLiteral("folder.ldb is a folder, not a file"));
    QCOMPARE(bytesOf(held), before);
    QVERIFY(isDirectory(sub));
  }

  // --- files that are no database ----------------------------------------

  void loadRefusesWhatIsNotARegularFile() {
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString fifo = tmp.filePath(QStringLiteral("pipe.ldb"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& p : {fifo, QStringLiteral("/dev/null")}) {
      LinkList held = makeList(2, "held");
      const QByteArray before = bytesOf(held);
      const IoResult r = loadLdbFile(p, held);  // must neither wait for a writer nor "load"
      QVERIFY2(!r.ok, qPrintable(p));
      QCOMPARE(r.message, QStringLiteral("Not a database file"));
      QCOMPARE(bytesOf(held), before);
    }
  }

  void hugeFilesAreRefusedUnderAnAddressLimit() {
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("AddressSanitizer needs more address space than the limit leaves");
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    QSKIP("AddressSanitizer needs more address space than the limit leaves");
#endif
#endif
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    // Sparse: 16 GiB is past what any load takes; 1.5 GiB is allowed, but
    // not within the child's address space.
    const QString huge = tmp.filePath(QStringLiteral("huge.ldb"));
    const QString large = tmp.filePath(QStringLiteral("large.ldb"));
    for (const auto& [p, size] : {std::pair{huge, qint64(16) << 30}, {large, qint64(3) << 29}}) {
      QFile f(p);
      QVERIFY(f.open(QIODevice::WriteOnly));
      QVERIFY(f.resize(size));
    }
    const test::ChildRun run = test::runInChild([&] {
      long pages = 0;
      if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld", &pages) != 1) pages = 0;
        std::fclose(statm);
      }
      const rlim_t limit = rlim_t(pages) * rlim_t(::sysconf(_SC_PAGESIZE)) + (rlim_t(256) << 20);
      const rlimit lim{limit, limit};
      if (pages == 0 || ::setrlimit(RLIMIT_AS, &lim) != 0) return QByteArray("no limit");
      QByteArray report;
      for (const QString& p : {huge, large}) {
        LinkList held = makeList(2, "held");
        const QByteArray before = bytesOf(held);
        const IoResult r = loadLdbFile(p, held);
        report += r.message.toUtf8() + (bytesOf(held) == before ? " kept\n" : " lost\n");
      }
      return report;
    });
    QVERIFY(run.started);
    QVERIFY2(run.exitedNormally(), "the load ended the process");
    if (run.report == "no limit") QSKIP("cannot limit the child's address space");
    QCOMPARE(run.report, QByteArray("File too large kept\nFile too large kept\n"));
  }

  void saveOntoDirectory() {
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString sub = tmp.filePath(QStringLiteral("folder.ldb"));
    QVERIFY(QDir().mkdir(sub));
    QVERIFY(writeFile(sub + QStringLiteral("/inside"), "keep"));

    const IoResult r = saveLdbFile(sub, makeList(3, "new"));
    QVERIFY(!r.ok);
    QVERIFY(r.error != 0);
    QVERIFY(!r.message.isEmpty());
    QVERIFY(isDirectory(sub));
    QCOMPARE(readFile(sub + QStringLiteral("/inside")), QByteArray("keep"));
    QCOMPARE(entriesOf(tmp.path()), QStringList{QStringLiteral("folder.ldb")});
  }
};

QTEST_GUILESS_MAIN(TestLdbFileFailures)
#include "tst_ldbfile_failures.moc"
