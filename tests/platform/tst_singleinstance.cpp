#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QTest>
#include <QtEndian>
#include <atomic>
#include <thread>

#include "platform/SingleInstance.h"
#include "support/TempDir.h"

using namespace vorlix;

namespace {

// Runs a blocking sender on its own thread while the test's thread keeps the
// receiving instance's event loop going.
struct Sender {
  std::atomic<bool> finished{false};
  std::atomic<bool> result{false};
  std::thread thread;
  template <typename F>
  explicit Sender(F f)
      : thread([this, f] {
          result = f();
          finished = true;
        }) {}
  ~Sender() {
    if (thread.joinable()) thread.join();
  }
};

QString ownSocket(const QString& folder) {
  return folder + QStringLiteral("/vorlix-%1.socket").arg(QCoreApplication::applicationPid());
}

QByteArray header(char kind, quint32 length) {
  QByteArray h(5, '\0');
  h[0] = kind;
  qToBigEndian<quint32>(length, h.data() + 1);
  return h;
}

// A raw client socket connected to `path`; -1 on failure.
int connectRaw(const QString& path) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  qstrncpy(addr.sun_path, QFile::encodeName(path).constData(), sizeof addr.sun_path);
  if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) return fd;
  if (fd >= 0) ::close(fd);
  return -1;
}

int openFileCount() {
  int n = 0;
  if (DIR* d = ::opendir("/proc/self/fd")) {
    while (::readdir(d)) ++n;
    ::closedir(d);
  }
  return n - 3;  // ".", ".." and the folder's own descriptor
}

pid_t deadPid() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

}  // namespace

class TestSingleInstance : public QObject {
  Q_OBJECT

 private slots:
  void handOverText() {
    QCOMPARE(buildHandOverText({QStringLiteral("http://a/")}),
             QStringLiteral("http://a/\r\nblank"));
    QCOMPARE(buildHandOverText({QStringLiteral("u"), QStringLiteral("d")}),
             QStringLiteral("u\r\nd"));
    QCOMPARE(buildHandOverText({QStringLiteral("u"), QString()}), QStringLiteral("u\r\n"));

    using L = QStringList;
    QCOMPARE(splitHandOverLines(QStringLiteral("u\r\nd")), (L{"u", "d"}));
    QCOMPARE(splitHandOverLines(QStringLiteral("a\rb\nc\r\n")), (L{"a", "b", "c"}));
    QCOMPARE(splitHandOverLines(QStringLiteral("a\n\nb")), (L{"a", "", "b"}));
    QCOMPARE(splitHandOverLines(QStringLiteral("\r\n")), (L{""}));
    QCOMPARE(splitHandOverLines(QString()), L{});
    QCOMPARE(splitHandOverLines(QStringLiteral("a\0b\r\nc")), L{"a"});  // ends at a NUL
  }

  void secondStartSeesTheFirst() {
    test::IsolatedHome home;
    QVERIFY(!SingleInstance().activateRunning(100));  // nobody runs yet
    SingleInstance first;
    QVERIFY(first.tryBecomeFirst());
    QVERIFY(first.listen());
    QCOMPARE(QFile::permissions(ownSocket(home.path("runtime"))) &
                 (QFile::ReadOther | QFile::WriteOther | QFile::ReadGroup | QFile::WriteGroup),
             QFile::Permissions());
    SingleInstance second;
    QVERIFY(!second.tryBecomeFirst());

    int activations = 0;
    connect(&first, &SingleInstance::activateRequested, this, [&] { ++activations; });
    Sender s([] { return SingleInstance().activateRunning(5000); });
    QTRY_VERIFY(s.finished);
    QVERIFY(s.result);
    QCOMPARE(activations, 1);
  }

  void senderWaitsUntilTheReceiverIsDone() {
    test::IsolatedHome home;
    SingleInstance first;
    QVERIFY(first.tryBecomeFirst() && first.listen());
    QString received;
    std::function<void()> done;
    connect(&first, &SingleInstance::handOverReceived, this,
            [&](const QString& text, std::function<void()> d) {
              received = text;
              done = std::move(d);
            });
    Sender s([] { return SingleInstance().handOver(QStringLiteral("http://x/\r\nDescr")); });
    QTRY_COMPARE(received, QStringLiteral("http://x/\r\nDescr"));
    // The Add Url dialog is still open: the sender must keep waiting.
    for (int i = 0; i < 20; ++i) QTest::qWait(10);
    QVERIFY(!s.finished);
    done();
    QTRY_VERIFY(s.finished);
    QVERIFY(s.result);
  }

  void fieldsArriveWholeWhateverTheyHold() {
    test::IsolatedHome home;
    SingleInstance first;
    QVERIFY(first.tryBecomeFirst() && first.listen());
    QList<QStringList> received;
    connect(&first, &SingleInstance::handOverFieldsReceived, this,
            [&](const QStringList& fields, std::function<void()> done) {
              received << fields;
              done();
            });
    const QStringList params{QStringLiteral("/tmp/two\nlines\r\n.ldb")};
    Sender s([params] {
      SingleInstance second;
      return !second.tryBecomeFirst() && handToRunningInstance(second, params);
    });
    QTRY_VERIFY(s.finished);
    QVERIFY(s.result);
    QCOMPARE(received, (QList<QStringList>{{params[0], QStringLiteral("blank")}}));

    // A field longer than what is left of the message is refused.
    QLocalSocket raw;
    raw.connectToServer(ownSocket(home.path("runtime")));
    QVERIFY(raw.waitForConnected(2000));
    QByteArray cut = packHandOverFields({QStringLiteral("abc")});
    cut.chop(1);
    raw.write(header('F', quint32(cut.size())) + cut);
    raw.flush();
    QTRY_COMPARE(raw.state(), QLocalSocket::UnconnectedState);
    QCOMPARE(raw.readAll(), QByteArray("E"));
    QCOMPARE(received.size(), 1);
  }

  void strayClientDoesNotBlockTheNextHandOver() {
    test::IsolatedHome home;
    SingleInstance first;
    first.setReadTimeout(200);
    QVERIFY(first.tryBecomeFirst() && first.listen());
    QStringList received;
    connect(&first, &SingleInstance::handOverReceived, this,
            [&](const QString& text, std::function<void()> done) {
              received << text;
              done();
            });
    QLocalSocket stray;
    stray.connectToServer(ownSocket(home.path("runtime")));
    QVERIFY(stray.waitForConnected(2000));
    stray.write("H\0", 2);  // half a header, then silence
    stray.flush();

    Sender s([] { return SingleInstance().handOver(QStringLiteral("u\r\nblank")); });
    QTRY_VERIFY(s.finished);
    QVERIFY(s.result);
    QCOMPARE(received, QStringList{QStringLiteral("u\r\nblank")});
    QTRY_COMPARE(stray.state(), QLocalSocket::UnconnectedState);  // dropped after the time-out
  }

  void oversizeMessageIsRefused() {
    test::IsolatedHome home;
    SingleInstance first;
    QVERIFY(first.tryBecomeFirst() && first.listen());
    int received = 0;
    connect(&first, &SingleInstance::handOverReceived, this,
            [&](const QString&, std::function<void()> done) {
              ++received;
              done();
            });
    QLocalSocket raw;
    raw.connectToServer(ownSocket(home.path("runtime")));
    QVERIFY(raw.waitForConnected(2000));
    raw.write(header('H', quint32(SingleInstance::kMaxMessage + 1)));
    raw.write(QByteArray(1000, 'x'));
    raw.flush();
    QTRY_COMPARE(raw.state(), QLocalSocket::UnconnectedState);
    QCOMPARE(raw.readAll(), QByteArray("E"));
    QCOMPARE(received, 0);

    // The sender refuses too long a text itself; the largest one goes through.
    Sender tooLong([] { return SingleInstance().handOver(QString(70000, QLatin1Char('x'))); });
    QTRY_VERIFY(tooLong.finished);
    QVERIFY(!tooLong.result);
    Sender largest(
        [] { return SingleInstance().handOver(QString(SingleInstance::kMaxMessage, 'x')); });
    QTRY_VERIFY(largest.finished);
    QVERIFY(largest.result);
    QCOMPARE(received, 1);
  }

  void aFloodAfterTheMessageIsNotBuffered() {
    test::IsolatedHome home;
    SingleInstance first;
    QVERIFY(first.tryBecomeFirst() && first.listen());
    std::function<void()> done;
    QString received;
    connect(&first, &SingleInstance::handOverReceived, this,
            [&](const QString& text, std::function<void()> d) {
              received = text;
              done = std::move(d);
            });
    const int fd = connectRaw(ownSocket(home.path("runtime")));
    QVERIFY(fd >= 0);
    const QByteArray message = header('H', 3) + "u\r\n";
    QCOMPARE(::write(fd, message.constData(), size_t(message.size())), ssize_t(message.size()));
    QTRY_COMPARE(received, QStringLiteral("u\r\n"));
    char ack = 0;
    QCOMPARE(::read(fd, &ack, 1), ssize_t(1));
    QCOMPARE(ack, 'R');  // acknowledged at once, while the dialog is still open

    // The dialog stays open while the client sends on: what the receiver
    // takes in must stay near its cap, not follow the sender.
    QVERIFY(::fcntl(fd, F_SETFL, O_NONBLOCK) == 0);
    const QByteArray chunk(1 << 20, 'z');
    qint64 accepted = 0;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 1500 && accepted < (qint64(64) << 20)) {
      const ssize_t n = ::write(fd, chunk.constData(), size_t(chunk.size()));
      if (n > 0) accepted += n;
      QCoreApplication::processEvents();
      if (n <= 0) QTest::qWait(5);
    }
    qInfo("a client flooding after its message got %lld bytes in", accepted);
    QVERIFY2(accepted < (qint64(4) << 20), qPrintable(QString::number(accepted)));
    done();
    ::close(fd);
  }

  void aStoppedReceiverCountsAsNotReached() {
    // A listener that never accepts, as a stopped process: connecting and
    // sending succeed, the acknowledgement never comes.
    test::IsolatedHome home;
    const QString path =
        home.path("runtime") + QStringLiteral("/vorlix-%1.socket").arg(::getppid());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    qstrncpy(addr.sun_path, QFile::encodeName(path).constData(), sizeof addr.sun_path);
    QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    QCOMPARE(::listen(fd, 4), 0);
    SingleInstance sender;
    sender.setAckTimeout(300);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!sender.handOver(QStringLiteral("http://x/\r\nblank")));
    QVERIFY(!sender.activateRunning(300));
    QVERIFY(!handToRunningInstance(sender, {}));
    ::close(fd);

    // Once acknowledged, the wait for the dialog is not bounded by it.
    SingleInstance first;
    QVERIFY(first.tryBecomeFirst() && first.listen());
    std::function<void()> done;
    connect(&first, &SingleInstance::handOverReceived, this,
            [&](const QString&, std::function<void()> d) { done = std::move(d); });
    Sender s([] {
      SingleInstance second;
      second.setAckTimeout(100);
      return second.handOver(QStringLiteral("u\r\nd"));
    });
    QTRY_VERIFY(done != nullptr);
    QTest::qWait(400);
    QVERIFY(!s.finished);
    done();
    QTRY_VERIFY(s.finished);
    QVERIFY(s.result);
  }

  void theListenerComesBackAfterTooManyOpenFiles() {
    test::IsolatedHome home;
    SingleInstance first;
    QVERIFY(first.tryBecomeFirst() && first.listen());
    int activations = 0;
    connect(&first, &SingleInstance::activateRequested, this, [&] { ++activations; });
    const QString path = ownSocket(home.path("runtime"));
    const int client = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    QVERIFY(client >= 0);

    // Use up every descriptor under a lowered limit, then connect: the
    // accept fails with EMFILE, and Qt closes the listener and its file.
    rlimit saved{};
    QCOMPARE(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit low = saved;
    low.rlim_cur = rlim_t(openFileCount() + 16);
    QCOMPARE(::setrlimit(RLIMIT_NOFILE, &low), 0);
    std::vector<int> fillers;
    for (int f; (f = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;) fillers.push_back(f);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    qstrncpy(addr.sun_path, QFile::encodeName(path).constData(), sizeof addr.sun_path);
    QCOMPARE(::connect(client, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    QTRY_VERIFY(!first.isListening());
    QVERIFY(!QFile::exists(path));
    for (int f : fillers) ::close(f);
    ::close(client);
    QCOMPARE(::setrlimit(RLIMIT_NOFILE, &saved), 0);

    QTRY_VERIFY(first.isListening());
    QVERIFY(QFile::exists(path));
    Sender s([] { return SingleInstance().activateRunning(3000); });
    QTRY_VERIFY(s.finished);
    QVERIFY(s.result);
    QCOMPARE(activations, 1);
  }

  void idleConnectionsAreCapped() {
    test::IsolatedHome home;
    SingleInstance first;
    QVERIFY(first.tryBecomeFirst() && first.listen());
    std::vector<int> idle;
    for (int i = 0; i < 3 * SingleInstance::kMaxConnections; ++i) {
      const int fd = connectRaw(ownSocket(home.path("runtime")));
      QVERIFY(fd >= 0);
      idle.push_back(fd);
    }
    // Those past the cap are closed by the receiver at once.
    int closed = 0;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 3000 && closed < 2 * SingleInstance::kMaxConnections) {
      QTest::qWait(20);
      closed = 0;
      for (int fd : idle) {
        char c;
        closed += ::recv(fd, &c, 1, MSG_DONTWAIT | MSG_PEEK) == 0;
      }
    }
    QCOMPARE(closed, 2 * SingleInstance::kMaxConnections);
    for (int fd : idle) ::close(fd);
    QTest::qWait(200);  // the receiver sees the rest go
    Sender s([] { return SingleInstance().activateRunning(3000); });
    QTRY_VERIFY(s.finished);
    QVERIFY(s.result);
  }

  void theRuntimeFolderMustBeOursAndClosed() {
    test::IsolatedHome home;
    const QString fallback = QDir::tempPath() + QStringLiteral("/vorlix-%1").arg(::getuid());
    const QString runtime = home.path("runtime");
    QCOMPARE(SingleInstance::defaultFolder(), runtime);
    QVERIFY(QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                               QFile::WriteGroup | QFile::ExeGroup));
    QCOMPARE(SingleInstance::defaultFolder(), fallback);  // others may write into it
    QVERIFY(QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                               QFile::ReadOther | QFile::ExeOther));
    QCOMPARE(SingleInstance::defaultFolder(), runtime);  // readable is fine
    if (::getuid() == 0) {
      QCOMPARE(::chown(QFile::encodeName(runtime).constData(), 65534, 65534), 0);
      QCOMPARE(SingleInstance::defaultFolder(), fallback);  // somebody else's
      QCOMPARE(::chown(QFile::encodeName(runtime).constData(), 0, 0), 0);
    }
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path("missing")));
    QCOMPARE(SingleInstance::defaultFolder(), fallback);
    // The fallback itself is made private.
    SingleInstance instance;
    QCOMPARE(instance.folder(), fallback);
    struct stat st {};
    QCOMPARE(::stat(QFile::encodeName(fallback).constData(), &st), 0);
    QCOMPARE(st.st_mode & 077, 0u);
  }

  void leftoversOfAKilledInstanceDoNotCount() {
    test::IsolatedHome home;
    const QString folder = home.path("runtime");
    const pid_t dead = deadPid();
    // The lock a killed instance leaves: Qt's own lock file, naming a dead pid.
    {
      QLockFile real(folder + QStringLiteral("/vorlix.lock"));
      QVERIFY(real.lock());
      QFile f(folder + QStringLiteral("/vorlix.lock"));
      QVERIFY(f.open(QIODevice::ReadOnly));
      QByteArray content = f.readAll();
      f.close();
      real.unlock();
      content = QByteArray::number(dead) + content.mid(content.indexOf('\n'));
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write(content);
    }
    // Its socket: bound once, nobody listening any more.
    const QByteArray socketPath =
        QFile::encodeName(folder + QStringLiteral("/vorlix-%1.socket").arg(dead));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    qstrncpy(addr.sun_path, socketPath.constData(), sizeof addr.sun_path);
    QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ::close(fd);

    SingleInstance next;
    QVERIFY(next.tryBecomeFirst());
    QVERIFY(next.listen());
    QVERIFY(!QFile::exists(QFile::decodeName(socketPath)));
    QVERIFY(!SingleInstance().tryBecomeFirst());
  }

  void anEmptyLockFileDoesNotCount() {
    // Left by an instance killed between creating the lock file and
    // writing its id into it.
    test::IsolatedHome home;
    QFile lock(home.path("runtime/vorlix.lock"));
    QVERIFY(lock.open(QIODevice::WriteOnly));
    lock.close();
    SingleInstance next;
    QVERIFY(next.tryBecomeFirst());
    QVERIFY(!SingleInstance().tryBecomeFirst());
  }

  void theCopyStartedLastIsReached() {
    // With "OnlyOne" off several copies run; only the first holds the lock.
    test::IsolatedHome home;
    const QString folder = home.path("runtime");
    QStringList got;
    auto older = std::make_unique<SingleInstance>();
    QVERIFY(older->tryBecomeFirst() && older->listen());
    connect(older.get(), &SingleInstance::handOverReceived, this,
            [&](const QString& text, std::function<void()> done) {
              got << text;
              done();
            });
    // A newer copy, played by a bare server named after a live process.
    QTest::qWait(20);
    QLocalServer newer;
    newer.setSocketOptions(QLocalServer::UserAccessOption);
    const QString newerName = folder + QStringLiteral("/vorlix-%1.socket").arg(::getppid());
    QVERIFY(newer.listen(newerName));
    QByteArray newerGot;
    connect(&newer, &QLocalServer::newConnection, this, [&] {
      QLocalSocket* c = newer.nextPendingConnection();
      connect(c, &QLocalSocket::readyRead, c, [&newerGot, c] {
        newerGot += c->readAll();
        if (newerGot.size() > 5) c->write("K", 1);
      });
    });

    Sender s1([] { return SingleInstance().handOver(QStringLiteral("1")); });
    QTRY_VERIFY(s1.finished);
    QVERIFY(s1.result);
    QCOMPARE(newerGot, header('H', 1) + "1");
    QVERIFY(got.isEmpty());

    newer.close();
    Sender s2([] { return SingleInstance().handOver(QStringLiteral("2")); });
    QTRY_VERIFY(s2.finished);
    QCOMPARE(got, QStringList{QStringLiteral("2")});

    // The lock holder ends while a copy without the lock still runs: a new
    // start must still find that copy.
    QVERIFY(newer.listen(newerName));
    older.reset();
    SingleInstance next;
    QVERIFY(!next.tryBecomeFirst());
  }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
