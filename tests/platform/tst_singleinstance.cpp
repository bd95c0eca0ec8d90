#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QCoreApplication>
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
