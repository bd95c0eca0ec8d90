#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <QWidget>
#include "components/RecentFiles.h"
#include "components/TrayIcon.h"
#include "components/XeListView.h"
#include "components/XeStatusBar.h"
#include "mainwindow/FileCommands.h"
#include "mainwindow/MainParts.h"
#include "mainwindow/ShellParts.h"
#include "mainwindow/WindowParts.h"
#include "support/MainWindowFixture.h"

using namespace vorlix;
using namespace vorlix::test;

namespace {

const QString kHistory = QStringLiteral("\\SOFTWARE\\Vorlix\\FileHistory");

// One run of the program over a home that outlives it.
struct Run {
  ScriptedPrompts prompts;
  FakeDesktop desktop;
  Registry registry;
  Settings settings{registry};
  LinkDocument document;
  FakeTrayShell tray;
  std::unique_ptr<TFMainXeVorlix> window;
  std::unique_ptr<MainParts> assembled;
  ShellParts* parts = nullptr;

  explicit Run(const QStringList& params = {}, bool trayAvailable = true) {
    initResources();
    tray.available = trayAvailable;
    settings.onlyOneAtStart();
    window = std::make_unique<TFMainXeVorlix>(document, settings, prompts, desktop);
    assembled = std::make_unique<MainParts>(*window, settings, prompts, desktop, tray);
    parts = &assembled->shell();
    window->show();
    assembled->FormShow(params);
    QCoreApplication::processEvents();
  }
  // Closes the window as the user does, without unsaved changes.
  void close() {
    document.markSaved(document.fileName());
    window->close();
  }
  ~Run() {
    if (window->isVisible()) close();
  }
  TFMainXeVorlix& w() { return *window; }
  TFOptions& options() { return parts->FOptions(); }
  QStringList reopen() const {
    QStringList out;
    for (const QAction* a : part<QMenu>(*window, "ReOpen1")->actions()) out << a->text();
    return out;
  }
  QStringList dropDown() const {
    QStringList out;
    for (const QAction* a : part<QMenu>(*window, "PopFile")->actions()) out << a->text();
    return out;
  }
};

struct Home {
  IsolatedHome home;
  // No browser installed on the machine may answer a link opened here.
  Home() {
    qputenv("XDG_CONFIG_DIRS", home.path(QStringLiteral("xdg-config")).toLocal8Bit());
    qputenv("XDG_DATA_DIRS", home.path(QStringLiteral("xdg-data")).toLocal8Bit());
  }
  QString db(const char* name) {
    return writeDatabase(home.path(QLatin1String(name)),
                         {QStringLiteral("Favorites\\%1|u").arg(name)});
  }
  void setLastOpen(const QString& path) {
    Registry reg;
    Settings(reg).setLastOpenFile(path);
  }
};

}  // namespace

class TestShellParts : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QCoreApplication::setApplicationName(QStringLiteral("Vorlix")); }

  void preferencesAreAppliedSavedAndRestoredNextRun() {
    Home h;
    h.setLastOpen(h.db("a.ldb"));
    {
      Run r;
      QVERIFY(part<QWidget>(r.w(), "ControlBar")->isVisible());
      QCOMPARE(part<TXeListView>(r.w(), "ListLinks")->viewStyle(), vsReport);
      r.options().show();
      r.options().CheckToolBar->setChecked(false);
      r.options().RadioIcons->findChildren<QRadioButton*>().at(1)->setChecked(true);
      r.options().RadioStyle->findChildren<QRadioButton*>().at(0)->setChecked(true);
      r.options().ButOk->click();
      QVERIFY(!part<QWidget>(r.w(), "ControlBar")->isVisible());
      QVERIFY(!part<QAction>(r.w(), "Toolbar1")->isChecked());
      QVERIFY(part<QAction>(r.w(), "List1")->isChecked() &&
              part<QToolButton>(r.w(), "ToolButton9")->isChecked());
      QVERIFY(part<QAction>(r.w(), "ClassicStyle1")->isChecked() &&
              part<QToolButton>(r.w(), "ToolButton12")->isChecked());
      QCOMPARE(part<TXeListView>(r.w(), "ListLinks")->viewStyle(), vsList);
      r.close();
    }
    Run again;
    QVERIFY(!again.options().CheckToolBar->isChecked());
    QVERIFY(!part<QWidget>(again.w(), "ControlBar")->isVisible());
    QCOMPARE(part<TXeListView>(again.w(), "ListLinks")->viewStyle(), vsList);
    QVERIFY(part<QAction>(again.w(), "ClassicStyle1")->isChecked());
    QVERIFY(again.w().view().flatMode());
  }

  void previewSwitchedOffAndSavedStaysOffAtTheNextStart() {
#if !VORLIX_HAVE_PREVIEW
    QSKIP("built without the preview pane");
#endif
    Home h;
    {
      Run r;
      QVERIFY(part<QWidget>(r.w(), "Panel10")->isVisible());
      r.options().CheckShowBrowser->setChecked(false);
      r.options().ButOk->click();
      QVERIFY(!part<QWidget>(r.w(), "Panel10")->isVisible());
      r.close();
    }
    h.setLastOpen(h.db("a.ldb"));
    Run again;
    QVERIFY(!part<QAction>(again.w(), "Urlpreview1")->isChecked());
    QVERIFY(!part<QWidget>(again.w(), "Panel10")->isVisible());
    // A double-clicked link goes to the browser, not into the hidden pane.
    QAbstractItemView* view = part<TXeListView>(again.w(), "ListLinks")->activeView();
    const QRect row = view->visualRect(view->model()->index(0, 0));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, row.center());
    QCOMPARE(again.desktop.openedUrls, QStringList({"u"}));
  }

  void theWindowComesBackAsItWasLeft() {
    Home h;
    QList<int> split;
    {
      Run r;
      r.w().resize(900, 640);
      part<QSplitter>(r.w(), "Splitter1")->setSizes({300, 600});
      part<TXeListView>(r.w(), "ListLinks")->setColumnWidth(1, 333);
      part<QWidget>(r.w(), "Panel10")->setFixedHeight(150);
      QCoreApplication::processEvents();
      split = part<QSplitter>(r.w(), "Splitter1")->sizes();
      r.close();
    }
    {
      Run again;
      QCOMPARE(again.w().size(), QSize(900, 640));
      QCOMPARE(part<QSplitter>(again.w(), "Splitter1")->sizes(), split);
      QCOMPARE(part<TXeListView>(again.w(), "ListLinks")->columnWidth(1), 333);
      QCoreApplication::processEvents();
#if VORLIX_HAVE_PREVIEW
      QCOMPARE(part<QWidget>(again.w(), "Panel10")->height(), 150);
#endif
      again.w().showMaximized();
      QTRY_VERIFY(again.w().isMaximized());
      again.close();
    }
    Run third;
    QVERIFY(third.w().isMaximized());
  }

  void settingsOpensTheDialog() {
    Home h;
    Run r;
    bool shown = false;
    QTimer::singleShot(0, &r.options(), [&] {
      shown = r.options().isVisible();
      r.options().ButCancel->click();
    });
    part<QAction>(r.w(), "Settings2")->trigger();
    QVERIFY(shown);
  }

  void recentFilesSurviveARestartAndReopenAfterTheSaveQuestion() {
    Home h;
    const QString a = h.db("a.ldb"), b = h.db("b.ldb");
    {
      Run r;
      QVERIFY(!part<QMenu>(r.w(), "ReOpen1")->isEnabled());
      for (const QString& p : {a, b}) {
        r.desktop.openNames = {p};
        r.w().files().FOpenExecute();
      }
      QCOMPARE(r.reopen(), QStringList({"&1 " + b, "&2 " + a}));
      QCOMPARE(r.dropDown(), r.reopen());
      QVERIFY(part<QMenu>(r.w(), "ReOpen1")->isEnabled());
      r.close();
    }
    QCOMPARE(Registry().valueNames(kHistory), QStringList({"File1", "File2"}));
    Run r;
    QCOMPARE(r.reopen(), QStringList({"&1 " + b, "&2 " + a}));
    QCOMPARE(r.dropDown(), r.reopen());
    QCOMPARE(r.w().view().document().fileName(), b);  // the last one opened

    // File > ReOpen opens like the drop-down: the save question comes first.
    markDirty(r.w());
    r.prompts.answers = {Answer::Cancel};
    part<QMenu>(r.w(), "ReOpen1")->actions().at(1)->trigger();
    QCOMPARE(r.prompts.lastText(), QStringLiteral("Save the new modification ?"));
    QCOMPARE(r.w().view().document().fileName(), b);
    r.prompts.answers = {Answer::No};
    part<QMenu>(r.w(), "ReOpen1")->actions().at(1)->trigger();
    QCOMPARE(r.w().view().document().fileName(), a);
    QCOMPARE(r.reopen().size(), 2);  // opening from the list keeps the order
  }

  void theDialogDrivesTheListAtStartAndDeleteAllEmptiesIt() {
    Home h;
    const QString a = h.db("a.ldb"), b = h.db("b.ldb"), c = h.db("c.ldb");
    {
      Registry reg;
      for (const auto& [name, file] : {std::pair{"File1", a}, {"File2", b}, {"File3", c}})
        reg.writeString(kHistory, QLatin1String(name), file);
      reg.writeString(kSettingsKey, setting::MaxFiles, QStringLiteral("2"));
      reg.writeInteger(kSettingsKey, setting::DeleteEntryOnClick, 1);
    }
    Run r;
    QCOMPARE(r.parts->RFiles().MaxFiles(), 2);
    QVERIFY(r.parts->RFiles().DeleteEntry());
    QCOMPARE(r.reopen(), QStringList({"&1 " + a, "&2 " + b}));  // File3 is past the maximum

    // Delete entry OnClick: opening from the drop-down takes the item away
    // there only, until the next rebuild.
    part<QMenu>(r.w(), "PopFile")->actions().at(1)->trigger();
    QCOMPARE(r.w().view().document().fileName(), b);
    QCOMPARE(r.dropDown(), QStringList({"&1 " + a}));
    QCOMPARE(r.reopen().size(), 2);

    r.options().BDeleteAll->click();
    QVERIFY(r.reopen().isEmpty() && r.dropDown().isEmpty());
    QVERIFY(!part<QMenu>(r.w(), "ReOpen1")->isEnabled());
    QVERIFY(!r.options().BDeleteAll->isEnabled());
    QVERIFY(Registry().valueNames(kHistory).isEmpty());
  }

  void withSaveEntriesOffTheRunStartsEmptyButStillSaves() {
    Home h;
    const QString a = h.db("a.ldb"), b = h.db("b.ldb");
    {
      Registry reg;
      reg.writeString(kHistory, QStringLiteral("File1"), a);
      reg.writeInteger(kSettingsKey, setting::SaveEntryList, 0);
    }
    Run r;
    QVERIFY(r.reopen().isEmpty());
    r.desktop.openNames = {b};
    r.w().files().FOpenExecute();
    r.close();
    Registry reg;
    QCOMPARE(reg.valueNames(kHistory), QStringList({"File1"}));
    QCOMPARE(*reg.readString(kHistory, QStringLiteral("File1")), b);
  }

  void theTrayFollowsItsPreferenceAndBringsTheWindowBack() {
    Home h;
    {
      Run r;
      QVERIFY(r.parts->TrayIcon().Active());
      QVERIFY(r.tray.shown);  // a separate icon: there while the window is too
      QCOMPARE(r.parts->TrayIcon().Hint(), QStringLiteral("Vorlix"));
      QCOMPARE(r.parts->TrayIcon().PopupMenu(), part<QMenu>(r.w(), "PopupTray"));
      r.w().showMinimized();
      QTRY_VERIFY(!r.w().isVisible());
      r.tray.onMouse(TrayMouse::LeftUp);
      QVERIFY(r.w().isVisible());
      QVERIFY(!r.w().isMinimized());

      r.options().CheckIconSysTray->setChecked(false);
      r.options().ButOk->click();
      QVERIFY(!r.tray.shown);
      r.close();
    }
    Run off;
    QVERIFY(!off.parts->TrayIcon().Active());  // the saved choice holds at start
    QVERIFY(!off.tray.shown);
  }

  void withoutATrayTheBoxSaysWhy() {
    Home h;
    Run r({}, false);
    QVERIFY(!r.options().CheckIconSysTray->toolTip().isEmpty());
    r.w().showMinimized();
    QTest::qWait(20);
    QVERIFY(r.w().isVisible());  // minimised to the task bar
  }

  void aDatabaseOnTheCommandLineIsOpenedAndHandedOver() {
    Home h;
    const QString last = h.db("last.ldb"), given = h.db("given.ldb"), other = h.db("other.ldb");
    h.setLastOpen(last);
    Run r({given});
    QCOMPARE(r.w().view().document().fileName(), given);
    QCOMPARE(r.reopen(), QStringList({"&1 " + given}));
    QVERIFY(r.prompts.asked.empty());  // neither an import question nor Add Url
    QCOMPARE(Settings(r.registry).lastOpenFile(), given);

    markDirty(r.w());
    r.prompts.answers = {Answer::No};
    r.w().receiveHandOver(other + QStringLiteral("\r\nblank"));
    QCOMPARE(r.prompts.lastText(), QStringLiteral("Save the new modification ?"));
    QCOMPARE(r.w().view().document().fileName(), other);
    QCOMPARE(r.reopen().first(), "&1 " + other);
  }
};

QTEST_MAIN(TestShellParts)
#include "tst_shellparts.moc"
