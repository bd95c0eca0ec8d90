// Second starts of the real program: the hand-over reaches the running
// window's Add Url dialog and the sender waits until it closes; a killed
// instance does not keep the next start from running.
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <csignal>

#include "editing/AddItemDialog.h"
#include "mainwindow/StartUp.h"
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
    connectInstance(instance, f.w());

    QProcess* sender = startVorlix(this, args);
    QStringList seen;
    *senderWaited = false;
    // The dialog runs modally inside the hand-over; answer it from a timer.
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
      TFAddItem* dlg = f.w().FAddItem;
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
    QVERIFY(f.w().dirty());
    QCOMPARE(f.w().links().size(), size_t(1));
    QCOMPARE(f.w().links()[0].fullName(), std::string_view("Favorites\\Example site"));
  }

  void singleParameterSendsBlank() {
    MainWindowFixture f;
    setOnlyOne(true);
    bool waited = false;
    const QStringList seen = handOver(f, {QStringLiteral("http://one.example/")}, &waited);
    QCOMPARE(seen, QStringList({"http://one.example/", "blank", "0"}));
  }

  void secondStartWithoutParametersRestoresTheWindow() {
    MainWindowFixture f;
    setOnlyOne(true);
    SingleInstance instance;
    QVERIFY(instance.tryBecomeFirst());
    instance.listen();
    connectInstance(instance, f.w());
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
