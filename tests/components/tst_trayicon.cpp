#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include "components/SystemTray.h"
#include "components/TrayIcon.h"
#include "support/ScriptedPrompts.h"

using namespace vorlix;

namespace {

// Records every call into one log, shell and window alike.
struct Log {
  QStringList lines;
  void add(const QString& s) { lines << s; }
  QString take() {
    const QString s = lines.join(QLatin1Char(','));
    lines.clear();
    return s;
  }
};

class FakeShell : public TrayShell {
 public:
  explicit FakeShell(Log& log) : log_(log) {}
  bool available = true;
  bool refuse = false;
  QString shownTip;
  bool shown = false;

  bool isAvailable() const override { return available; }
  bool addIcon(const QIcon&, const QString& tip) override {
    log_.add(QStringLiteral("add"));
    if (refuse) return false;
    shown = true;
    shownTip = tip;
    return true;
  }
  void removeIcon() override {
    log_.add(QStringLiteral("remove"));
    shown = false;
  }
  void modifyIcon(const QIcon&, const QString& tip) override {
    log_.add(QStringLiteral("modify"));
    shownTip = tip;
  }
  void popupMenu(QMenu*, const QPoint& at) override {
    log_.add(QStringLiteral("menu@%1:%2").arg(at.x()).arg(at.y()));
  }
  QPoint cursorPos() const override { return {7, 9}; }

 private:
  Log& log_;
};

class FakeWindow : public TrayWindow {
 public:
  explicit FakeWindow(Log& log) : log_(log) {}
  bool minimized = false;
  bool visible = true;

  bool isMinimized() const override { return minimized; }
  bool isVisible() const override { return visible; }
  void hide() override {
    log_.add(QStringLiteral("hide"));
    visible = false;
  }
  void restore() override {
    log_.add(QStringLiteral("restore"));
    visible = true;
    minimized = false;
  }
  void bringToFront() override { log_.add(QStringLiteral("front")); }
  // The user minimises the window.
  void minimize() {
    minimized = true;
    if (onMinimize) onMinimize();
  }

 private:
  Log& log_;
};

struct Rig {
  Log log;
  FakeShell shell{log};
  FakeWindow window{log};
  test::ScriptedPrompts prompts;
  std::unique_ptr<TTrayIcon> tray;
  void make() { tray = std::make_unique<TTrayIcon>(shell, window, prompts); }
  Rig() { make(); }
};

}  // namespace

class TestTrayIcon : public QObject {
  Q_OBJECT

 private slots:
  void presenceRule_data() {
    QTest::addColumn<bool>("active");
    QTest::addColumn<bool>("separate");
    QTest::addColumn<bool>("minimized");
    QTest::addColumn<bool>("present");
    QTest::newRow("inactive") << false << true << true << false;
    QTest::newRow("visible, separate") << true << true << false << true;
    QTest::newRow("visible, not separate") << true << false << false << false;
    QTest::newRow("minimised, not separate") << true << false << true << true;
    QTest::newRow("minimised, separate") << true << true << true << true;
  }
  void presenceRule() {
    QFETCH(bool, active);
    QFETCH(bool, separate);
    QFETCH(bool, minimized);
    QFETCH(bool, present);
    Rig r;
    r.window.minimized = minimized;
    r.make();  // reads the window's state at creation
    QCOMPARE(r.tray->AppMinimized(), minimized);
    // Either order of the two setters ends in the same place.
    r.tray->setSeparateIcon(separate);
    r.tray->setActive(active);
    QCOMPARE(!r.tray->IconHidden(), present);
    QCOMPARE(r.shell.shown, present);
    r.make();
    r.tray->setActive(active);
    r.tray->setSeparateIcon(separate);
    QCOMPARE(r.shell.shown, present);
  }

  void minimiseHidesBehindTheIconAndRestoreBringsItBack() {
    Rig r;
    r.tray->setActive(true);
    QVERIFY(!r.shell.shown);
    r.log.take();
    QSignalSpy minimized(r.tray.get(), &TTrayIcon::OnMinimize);
    r.window.minimize();
    QCOMPARE(r.log.take(), QStringLiteral("add,hide"));
    QVERIFY(r.tray->AppMinimized());
    QCOMPARE(minimized.size(), 1);

    // OnRestore comes while the program still counts as minimised.
    bool minimisedDuringRestore = false;
    connect(r.tray.get(), &TTrayIcon::OnRestore, this,
            [&] { minimisedDuringRestore = r.tray->AppMinimized(); });
    r.tray->ShowApplication();
    QCOMPARE(r.log.take(), QStringLiteral("restore,restore,remove,front"));
    QVERIFY(minimisedDuringRestore);
    QVERIFY(!r.tray->AppMinimized());
    QVERIFY(r.tray->IconHidden());

    // Already visible: only to the front.
    r.tray->ShowApplication();
    QCOMPARE(r.log.take(), QStringLiteral("front"));
  }

  void switchingWhileMinimised() {
    Rig r;
    r.window.minimize();  // inactive: the window stays on the task bar
    QCOMPARE(r.log.take(), QString());
    r.tray->setActive(true);  // minimised: the icon shows, separate or not
    QVERIFY(r.shell.shown);
    r.tray->setSeparateIcon(true);
    r.tray->setSeparateIcon(false);  // still minimised: the icon stays
    QVERIFY(r.shell.shown);
    r.tray->AppRestore();
    QVERIFY(!r.shell.shown);
    r.tray->setSeparateIcon(true);
    QVERIFY(r.shell.shown);
    r.tray->setSeparateIcon(false);  // visible: it goes
    QVERIFY(!r.shell.shown);
  }

  void hintIsCutTo63AndAnEmptyOneRemovesTheTip() {
    Rig r;
    r.tray->setActive(true);
    r.tray->setSeparateIcon(true);
    const QString longHint(100, QLatin1Char('x'));
    r.tray->setHint(longHint);
    QCOMPARE(r.tray->Hint(), longHint);
    QCOMPARE(r.tray->tip(), QString(63, QLatin1Char('x')));
    QCOMPARE(r.shell.shownTip, r.tray->tip());
    r.log.take();
    r.tray->setHint(QString());
    QCOMPARE(r.log.take(), QStringLiteral("modify"));
    QVERIFY(r.shell.shownTip.isEmpty());
    r.tray->setHint(QString());  // no change, no update
    QCOMPARE(r.log.take(), QString());
  }

  void clicksArriveInTheSystemsOrder() {
    Rig r;
    QStringList events;
    connect(r.tray.get(), &TTrayIcon::OnClick, this, [&] { events << "click"; });
    connect(r.tray.get(), &TTrayIcon::OnDblClick, this, [&] { events << "dblclick"; });
    r.shell.onMouse(TrayMouse::LeftUp);
    r.shell.onMouse(TrayMouse::LeftDoubleClick);
    r.shell.onMouse(TrayMouse::LeftUp);
    r.shell.onMouse(TrayMouse::Other);
    QCOMPARE(events, QStringList({"click", "dblclick", "click"}));
    QCOMPARE(QtTrayShell::mouseFor(QSystemTrayIcon::Trigger), TrayMouse::LeftUp);
    QCOMPARE(QtTrayShell::mouseFor(QSystemTrayIcon::Context), TrayMouse::RightUp);
  }

  void rightClickPopsTheMenuOnlyWhileHiddenOrSeparate() {
    Rig r;
    QMenu menu;
    r.tray->setPopupMenu(&menu);
    connect(r.tray.get(), &TTrayIcon::OnRightClick, this,
            [&](Qt::MouseButton b, Qt::KeyboardModifiers, int x, int y) {
              QCOMPARE(b, Qt::RightButton);
              r.log.add(QStringLiteral("right@%1:%2").arg(x).arg(y));
            });
    r.shell.onMouse(TrayMouse::RightUp);  // visible, not separate
    QCOMPARE(r.log.take(), QStringLiteral("right@7:9"));
    r.tray->setSeparateIcon(true);
    r.shell.onMouse(TrayMouse::RightUp);
    QCOMPARE(r.log.take(), QStringLiteral("menu@7:9,right@7:9"));
    r.tray->setSeparateIcon(false);
    r.window.visible = false;
    r.shell.onMouse(TrayMouse::RightUp);
    QCOMPARE(r.log.take(), QStringLiteral("menu@7:9,right@7:9"));
  }

  void aRefusedIconIsReportedAndTheWindowIsNotLost() {
    Rig r;
    r.shell.refuse = true;
    r.tray->setSeparateIcon(true);
    r.tray->setActive(true);
    QCOMPARE(r.prompts.asked.size(), size_t(1));
    QCOMPARE(r.prompts.lastText(), QStringLiteral("Cannot create shell notification icon"));
    QCOMPARE(r.prompts.asked.back().type, MsgType::Error);
    QVERIFY(r.tray->IconHidden());
    r.log.take();
    r.window.minimize();  // tries again; still refused, so no hiding
    QCOMPARE(r.log.take(), QStringLiteral("add"));
    QVERIFY(r.window.visible);
    r.shell.refuse = false;
    r.tray->setActive(true);
    QVERIFY(!r.tray->IconHidden());
  }

  void withoutANotificationAreaTheShellIsNeverCalled() {
    Rig r;
    r.shell.available = false;
    r.tray->setSeparateIcon(true);
    r.tray->setActive(true);
    r.tray->setHint(QStringLiteral("Vorlix"));
    r.window.minimize();
    QVERIFY(r.tray->AppMinimized());
    r.tray->ShowApplication();
    r.tray->setActive(false);
    // Minimising went to the task bar: nothing hidden, nothing added.
    QCOMPARE(r.log.take(), QStringLiteral("restore,restore,front"));
    QVERIFY(r.prompts.asked.empty());
  }

  void aNotificationAreaThatAppearsLaterGetsTheIcon() {
    Rig r;
    r.shell.available = false;
    QSignalSpy seen(r.tray.get(), &TTrayIcon::availabilityChanged);
    r.tray->setSeparateIcon(true);
    r.tray->setActive(true);
    QVERIFY(!r.shell.shown);
    // The desktop's panel starts after the program.
    r.shell.available = true;
    r.shell.onAvailabilityChanged(true);
    QVERIFY(r.shell.shown);
    QVERIFY(!r.tray->IconHidden());
    QCOMPARE(seen.count(), 1);
    // It goes away and comes back: the icon comes back with it.
    r.shell.available = false;
    r.shell.shown = false;
    r.shell.onAvailabilityChanged(false);
    QVERIFY(r.tray->IconHidden());
    r.shell.available = true;
    r.shell.onAvailabilityChanged(true);
    QVERIFY(r.shell.shown);
  }

  void aRealWindowIsHiddenOnMinimiseAndComesBack() {
    Log log;
    FakeShell shell(log);
    test::ScriptedPrompts prompts;
    QWidget w;
    w.show();
    WidgetTrayWindow tw(&w);
    TTrayIcon tray(shell, tw, prompts);
    tray.setSeparateIcon(true);
    tray.setActive(true);
    w.showMinimized();
    QTRY_VERIFY(!w.isVisible());
    QVERIFY(tray.AppMinimized());
    tray.ShowApplication();
    QVERIFY(w.isVisible());
    QVERIFY(!w.isMinimized());
    QVERIFY(!tray.AppMinimized());
    QVERIFY(shell.shown);  // a separate icon stays

    tray.setActive(false);
    w.showMinimized();
    QTest::qWait(20);
    QVERIFY(w.isVisible());  // inactive: minimised as usual
  }
};

QTEST_MAIN(TestTrayIcon)
#include "tst_trayicon.moc"
