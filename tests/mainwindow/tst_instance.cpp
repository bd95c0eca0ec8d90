// Second starts of the real program: the hand-over reaches the running
// window's Add Url dialog and the sender waits until it closes; a killed
// instance does not keep the next start from running.
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <csignal>

#include "editing/AddItemDialog.h"
#include "mainwindow/WindowParts.h"
#include "platform/Registry.h"
#include "platform/SingleInstance.h"
#include "support/MainWindowFixture.h"

using namespace vorlix;
using namespace vorlix::test;

namespace {

QProcess* startVorlix(QObject* parent, const QStringList& args) {
  auto* p = new QProcess(parent);
  p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  p->setProcessEnvironment(env);
  p->start(QStringLiteral(VORLIX_EXE), args);
  return p;
}

// The socket a running copy listens on.
QString socketOf(const IsolatedHome& home, const QProcess* p) {
  return home.path(QStringLiteral("runtime")) +
         QStringLiteral("/vorlix-%1.socket").arg(p->processId());
}

bool waitFor(const std::function<bool()>& cond, int ms) {
  QElapsedTimer t;
  t.start();
  while (!cond()) {
    if (t.elapsed() > ms) return false;
    QTest::qWait(20);
  }
  return true;
}

void setOnlyOne(bool on) {
  Registry().writeInteger(kSettingsKey, QStringLiteral("OnlyOne"), on ? 1 : 0);
}

}  // namespace

class TestInstance : public QObject {
  Q_OBJECT

  // Runs a second start with `args` against a window of this process and
  // returns what the Add Url dialog showed while the sender was waiting.
  QStringList handOver(MainWindowFixture& f, const QStringList& args, bool* senderWaited) {
    SingleInstance instance;
    if (!instance.tryBecomeFirst()) return {QStringLiteral("not first")};
    instance.listen();
    f.parts->connectInstance(instance);

    QProcess* sender = startVorlix(this, args);
    QStringList seen;
    *senderWaited = false;
    // The dialog runs modally inside the hand-over; answer it from a timer.
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
      TFAddItem* dlg = part<TFAddItem>(f.w(), "FAddItem");
      if (!dlg->isVisible()) return;
      poll.stop();
      seen << dlg->EditName->text() << dlg->EditDescription->text();
      // Still waiting for the dialog to close?
      QTest::qWait(300);
      *senderWaited = sender->state() == QProcess::Running;
      dlg->BOk->click();
    });
    poll.start();
    if (!sender->waitForStarted(5000)) return {QStringLiteral("no start")};
    QElapsedTimer t;
    t.start();
    while (sender->state() != QProcess::NotRunning && t.elapsed() < 20000) QTest::qWait(20);
    seen << QString::number(sender->exitCode());
    return seen;
  }

 private slots:
  void handOverWaitsForTheDialog() {
    MainWindowFixture f;
    setOnlyOne(true);
    bool waited = false;
    const QStringList seen = handOver(
        f, {QStringLiteral("http://example.org/"), QStringLiteral("Example site")}, &waited);
    QCOMPARE(seen, QStringList({"http://example.org/", "Example site", "0"}));
    QVERIFY(waited);
    QVERIFY(f.w().view().document().isDirty());
    QCOMPARE(f.w().view().document().links().size(), size_t(1));
    QCOMPARE(f.w().view().document().links()[0].fullName(),
             std::string_view("Favorites\\Example site"));
  }

  void singleParameterSendsBlank() {
    MainWindowFixture f;
    setOnlyOne(true);
    bool waited = false;
    const QStringList seen = handOver(f, {QStringLiteral("http://one.example/")}, &waited);
    QCOMPARE(seen, QStringList({"http://one.example/", "blank", "0"}));
  }

  void secondStartWithADatabaseOpensItInTheRunningWindow() {
    MainWindowFixture f({QStringLiteral("Favorites\\Old|u")});
    setOnlyOne(true);
    QDir().mkpath(f.home.path("sub"));
    const QString db = writeDatabase(f.home.path("sub/new.ldb"), {"Favorites\\New|u"});
    SingleInstance instance;
    QVERIFY(instance.tryBecomeFirst());
    instance.listen();
    f.parts->connectInstance(instance);
    // A relative path, as a shell in another folder gives it.
    QProcess* second = new QProcess(this);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    second->setProcessEnvironment(env);
    second->setWorkingDirectory(f.home.path("sub"));
    second->start(QStringLiteral(VORLIX_EXE), {QStringLiteral("new.ldb")});
    QVERIFY(second->waitForStarted(5000));
    QVERIFY(waitFor([&] { return second->state() == QProcess::NotRunning; }, 20000));
    QCOMPARE(second->exitCode(), 0);
    QCOMPARE(f.w().view().document().fileName(), db);
    QCOMPARE(f.captions(), QStringList({"New"}));
    QVERIFY(!part<TFAddItem>(f.w(), "FAddItem")->isVisible());
  }

  void aDatabasePathWithALineBreakPassesWhole() {
    MainWindowFixture f({QStringLiteral("Favorites\\Old|u")});
    setOnlyOne(true);
    const QString db =
        writeDatabase(f.home.path(QStringLiteral("two\nlines.ldb")), {"Favorites\\New|u"});
    SingleInstance instance;
    QVERIFY(instance.tryBecomeFirst());
    instance.listen();
    f.parts->connectInstance(instance);
    QProcess* second = startVorlix(this, {db});
    QVERIFY(second->waitForStarted(5000));
    QVERIFY(waitFor([&] { return second->state() == QProcess::NotRunning; }, 20000));
    QCOMPARE(second->exitCode(), 0);
    QCOMPARE(f.w().view().document().fileName(), db);
    QVERIFY(!part<TFAddItem>(f.w(), "FAddItem")->isVisible());
  }

  void secondStartWithoutParametersRestoresTheWindow() {
    MainWindowFixture f;
    setOnlyOne(true);
    SingleInstance instance;
    QVERIFY(instance.tryBecomeFirst());
    instance.listen();
    f.parts->connectInstance(instance);
    f.w().showMinimized();
    QCoreApplication::processEvents();
    QProcess* second = startVorlix(this, {});
    QVERIFY(second->waitForStarted(5000));
    QElapsedTimer t;
    t.start();
    while (second->state() != QProcess::NotRunning && t.elapsed() < 20000) QTest::qWait(20);
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    QVERIFY(!f.w().isMinimized());
    QVERIFY(f.w().isVisible());
  }

  void killedInstanceLeavesNoObstacle() {
    IsolatedHome home;
    setOnlyOne(true);
    // A first start that is killed without any chance to clean up.
    QProcess* first = startVorlix(this, {});
    QVERIFY(first->waitForStarted(5000));
    QTest::qWait(1500);  // let it take the lock and listen
    ::kill(pid_t(first->processId()), SIGKILL);
    QVERIFY(first->waitForFinished(5000));
    SingleInstance next;
    QVERIFY(next.tryBecomeFirst());
  }

  void aStartThatCannotHandOverRunsOnItsOwn() {
    // The first copy is stopped: it still takes connections, never answers.
    IsolatedHome home;
    setOnlyOne(true);
    QProcess* first = startVorlix(this, {});
    QVERIFY(first->waitForStarted(5000));
    QVERIFY(waitFor([&] { return QFile::exists(socketOf(home, first)); }, 15000));
    ::kill(pid_t(first->processId()), SIGSTOP);
    QProcess* second = startVorlix(this, {QStringLiteral("http://kept.example/")});
    QVERIFY(second->waitForStarted(5000));
    // After the acknowledgement's time-out it listens as an instance of its
    // own, where its Add Url dialog holds the URL.
    const bool own = waitFor([&] { return QFile::exists(socketOf(home, second)); }, 20000);
    const bool running = second->state() == QProcess::Running;
    second->kill();
    second->waitForFinished(5000);
    ::kill(pid_t(first->processId()), SIGKILL);
    first->waitForFinished(5000);
    QVERIFY(own);
    QVERIFY(running);
  }

  void idleConnectionsDoNotEndListening() {
    // Under a low descriptor limit, a crowd of idle clients must not make
    // the first copy stop listening for good.
    IsolatedHome home;
    setOnlyOne(true);
    auto* first = new QProcess(this);
    first->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    first->setProcessEnvironment(env);
    first->setChildProcessModifier([] {
      const rlimit lim{64, 64};
      ::setrlimit(RLIMIT_NOFILE, &lim);
    });
    first->start(QStringLiteral(VORLIX_EXE), {});
    QVERIFY(first->waitForStarted(5000));
    const QString path = socketOf(home, first);
    QVERIFY(waitFor([&] { return QFile::exists(path); }, 15000));
    std::vector<int> idle;
    for (int i = 0; i < 80; ++i) {
      const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
      sockaddr_un addr{};
      addr.sun_family = AF_UNIX;
      qstrncpy(addr.sun_path, QFile::encodeName(path).constData(), sizeof addr.sun_path);
      if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0)
        idle.push_back(fd);
      else
        ::close(fd);
      QTest::qWait(5);
    }
    QTest::qWait(500);
    for (int fd : idle) ::close(fd);
    QTest::qWait(500);
    // A start without parameters is handed over and ends.
    QProcess* second = startVorlix(this, {});
    QVERIFY(second->waitForStarted(5000));
    const bool ended = second->waitForFinished(15000);
    const bool listening = QFile::exists(path);
    if (!ended) second->kill();
    first->kill();
    first->waitForFinished(5000);
    QVERIFY(listening);
    QVERIFY(ended);
    QCOMPARE(second->exitCode(), 0);
  }

  void otherStartsRunWhileOnlyOneIsOff() {
    IsolatedHome home;
    setOnlyOne(false);
    SingleInstance running;
    QVERIFY(running.tryBecomeFirst());
    running.listen();
    bool handed = false;
    connect(&running, &SingleInstance::handOverReceived, this,
            [&](const QString&, std::function<void()> done) {
              handed = true;
              done();
            });
    QProcess* second = startVorlix(this, {QStringLiteral("http://x.example/")});
    QVERIFY(second->waitForStarted(5000));
    // With OnlyOne off the second start opens its own window and stays.
    QTest::qWait(1500);
    QCOMPARE(second->state(), QProcess::Running);
    QVERIFY(!handed);
    second->kill();
    second->waitForFinished(5000);
  }
};

QTEST_MAIN(TestInstance)
#include "tst_instance.moc"
