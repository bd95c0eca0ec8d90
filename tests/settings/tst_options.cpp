#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include "platform/Registry.h"
#include "settings/ApplySettings.h"
#include "settings/OptionsDialog.h"
#include "settings/Settings.h"
#include "support/LayoutChecks.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

using namespace vorlix;

namespace {

const QString kHistory = QStringLiteral("\\SOFTWARE\\Vorlix\\FileHistory");

// The window's side, as a log of the steps it was asked to take.
class RecordingTarget : public OptionsTarget {
 public:
  QStringList steps;
  bool entriesRemain = false;
  void setToolBarVisible(bool on) override { steps << QStringLiteral("toolbar=%1").arg(on); }
  void setStatusBarVisible(bool on) override { steps << QStringLiteral("status=%1").arg(on); }
  void checkBarItems(bool s, bool t) override {
    steps << QStringLiteral("checks=%1%2").arg(s).arg(t);
  }
  void showStyle(int style) override { steps << QStringLiteral("style=%1").arg(style); }
  void rebuildList() override { steps << QStringLiteral("rebuild"); }
  void showViewMode(int icons) override { steps << QStringLiteral("mode=%1").arg(icons); }
  void checkPreviewItem(bool on) override { steps << QStringLiteral("preview=%1").arg(on); }
  void setRecentDeleteEntry(bool on) override { steps << QStringLiteral("delete=%1").arg(on); }
  void setTrayActive(bool on) override { steps << QStringLiteral("tray=%1").arg(on); }
  void applyPreviewVisibility() override { steps << QStringLiteral("showpreview"); }
  void switchViewMode(int icons) override { steps << QStringLiteral("switch=%1").arg(icons); }
  bool deleteAllRecentFiles() override {
    steps << QStringLiteral("deleteall");
    return entriesRemain;
  }
};

struct Rig {
  test::IsolatedHome home;
  Registry reg;
  Settings settings{reg};
  test::ScriptedPrompts prompts;
  RecordingTarget target;
  std::unique_ptr<TFOptions> dialog;
  void open() { dialog = std::make_unique<TFOptions>(settings, prompts, target); }
};

const QStringList kDefaultApplyFromLoad = {"toolbar=1", "status=1",    "checks=11", "style=1",
                                           "rebuild",   "mode=2",      "preview=1", "delete=0",
                                           "tray=1",    "showpreview", "switch=2",  "rebuild"};

}  // namespace

class TestOptions : public QObject {
  Q_OBJECT

 private slots:
  void noValuesGiveTheDefaultsAndApplyThemInOrder() {
    Rig r;
    r.reg.createKey(kSettingsKey);
    r.open();
    TFOptions& d = *r.dialog;
    QCOMPARE(d.values(), SettingsValues());
    QCOMPARE(d.BMaxFiles->value(), 10);
    QVERIFY(!d.CheckDeleteEntry->isChecked());
    QVERIFY(d.CheckSaveEntryList->isChecked() && d.CheckOneCopy->isChecked());
    QCOMPARE(d.radioIconsIndex(), 2);
    QCOMPARE(d.radioStyleIndex(), 1);
    QCOMPARE(r.target.steps, kDefaultApplyFromLoad);
    QVERIFY(r.prompts.asked.empty());
    QVERIFY(r.reg.valueNames(kSettingsKey).isEmpty());  // nothing written before Save
  }

  void withoutTheProductKeyNothingIsApplied() {
    Rig r;
    r.open();
    QVERIFY(r.target.steps.isEmpty());
    QVERIFY(!r.reg.keyExists(kProductKey));
  }

  void captionsRangesAndAccessibleNames() {
    Rig r;
    r.open();
    TFOptions& d = *r.dialog;
    QCOMPARE(d.windowTitle(), QStringLiteral("Options"));
    QVERIFY(d.width() >= TFOptions::kDesignWidth && d.height() >= TFOptions::kDesignHeight);
    QCOMPARE(d.CheckOneCopy->text(), QStringLiteral("Alow only one copy at a time"));
    QCOMPARE(d.CheckMainStatus->text(), QStringLiteral("Show status bar "));
    QCOMPARE(d.ButOk->text(), QStringLiteral("&Save"));
    QCOMPARE(d.BDeleteAll->accessibleName(), QStringLiteral("Delete All"));
    QCOMPARE(d.BMaxFiles->minimum(), 1);
    QCOMPARE(d.BMaxFiles->maximum(), 35);
    QCOMPARE(d.BMaxFiles->findChild<QLineEdit*>()->maxLength(), 2);
    QCOMPARE(d.RadioStyle->title(), QStringLiteral("View Style"));
    for (QWidget* w : d.findChildren<QWidget*>()) {
      if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QGroupBox*>(w) ||
          qobject_cast<QSpinBox*>(w))
        QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
    }
  }

  void storedValuesAreBoundedByTheControls() {
    Rig r;
    r.reg.writeString(kSettingsKey, setting::MaxFiles, QStringLiteral("50"));
    r.open();
    QCOMPARE(r.dialog->BMaxFiles->value(), 35);
    r.reg.writeString(kSettingsKey, setting::MaxFiles, QStringLiteral("0"));
    r.reg.writeInteger(kSettingsKey, setting::Icons, 9);
    r.reg.writeInteger(kSettingsKey, setting::ToolBar, 5);  // any non-zero is true
    r.reg.writeInteger(kSettingsKey, setting::MainStatus, 0);
    r.open();
    QCOMPARE(r.dialog->BMaxFiles->value(), 1);
    QCOMPARE(r.dialog->radioIconsIndex(), 2);
    QVERIFY(r.dialog->CheckToolBar->isChecked());
    QVERIFY(!r.dialog->CheckMainStatus->isChecked());
  }

  void aWronglyTypedValueStopsTheLoadThere() {
    Rig r;
    r.reg.writeString(kSettingsKey, setting::MaxFiles, QStringLiteral("20"));
    r.reg.writeInteger(kSettingsKey, setting::OnlyOne, 0);
    r.reg.writeString(kSettingsKey, setting::IconTray, QStringLiteral("1"));  // should be a dword
    r.reg.writeInteger(kSettingsKey, setting::MainStatus, 0);
    r.open();
    QCOMPARE(r.prompts.lastText(), QStringLiteral("Invalid data type for 'IconTray'"));
    QCOMPARE(r.prompts.asked.back().type, MsgType::Error);
    QCOMPARE(r.dialog->BMaxFiles->value(), 20);       // read before
    QVERIFY(!r.dialog->CheckOneCopy->isChecked());    // read before
    QVERIFY(r.dialog->CheckMainStatus->isChecked());  // never read
    QVERIFY(r.target.steps.isEmpty());                // nothing applied

    r.reg.writeInteger(kSettingsKey, setting::IconTray, 1);
    r.reg.writeString(kSettingsKey, setting::MaxFiles, QStringLiteral("ten"));
    r.open();
    QCOMPARE(r.prompts.lastText(), QStringLiteral("'ten' is not a valid integer value"));
    QCOMPARE(r.dialog->BMaxFiles->value(), 10);
    QVERIFY(r.dialog->CheckOneCopy->isChecked());
  }

  void saveWritesTheTenValuesAndKeepsTheRest() {
    Rig r;
    r.reg.writeString(kSettingsKey, QStringLiteral("LastOpenFile"), QStringLiteral("/a.ldb"));
    r.reg.writeString(kHistory, QStringLiteral("File1"), QStringLiteral("/a.ldb"));
    r.open();
    r.dialog->show();
    r.dialog->BMaxFiles->setValue(12);
    r.dialog->RadioIcons->findChildren<QRadioButton*>().at(0)->setChecked(true);
    r.dialog->RadioStyle->findChildren<QRadioButton*>().at(0)->setChecked(true);
    r.dialog->CheckToolBar->setChecked(false);
    r.target.steps.clear();
    r.dialog->ButOk->click();
    QVERIFY(!r.dialog->isVisible());
    QCOMPARE(r.target.steps.first(), QStringLiteral("toolbar=0"));  // applied first
    QVERIFY(!r.target.steps.contains("rebuild") || r.target.steps.count("rebuild") == 1);
    QCOMPARE(
        r.reg.valueNames(kSettingsKey),
        QStringList({"LastOpenFile", "MaxFiles", "DeleteEntryOnClick", "SaveEntryList", "OnlyOne",
                     "IconTray", "MainStatus", "ToolBar", "Show preview panel", "Icons", "Style"}));
    QCOMPARE(*r.reg.readString(kSettingsKey, setting::MaxFiles), QStringLiteral("12"));
    QCOMPARE(*r.reg.readInteger(kSettingsKey, setting::Icons), 0);
    QCOMPARE(*r.reg.readInteger(kSettingsKey, setting::Style), 0);
    QCOMPARE(*r.reg.readInteger(kSettingsKey, setting::ToolBar), 0);
    QCOMPARE(*r.reg.readString(kHistory, QStringLiteral("File1")), QStringLiteral("/a.ldb"));

    // A reload restores both radio groups.
    r.open();
    QCOMPARE(r.dialog->radioIconsIndex(), 0);
    QCOMPARE(r.dialog->radioStyleIndex(), 0);
    QCOMPARE(r.dialog->BMaxFiles->value(), 12);

    // Save without a pending change still writes, and applies nothing.
    r.reg.deleteValue(kSettingsKey, setting::Style);
    r.dialog->show();
    r.target.steps.clear();
    r.dialog->ButOk->click();
    QVERIFY(r.target.steps.isEmpty());
    QVERIFY(r.reg.valueExists(kSettingsKey, setting::Style));
  }

  void applyThenCancelStoresNothing() {
    Rig r;
    r.reg.createKey(kSettingsKey);
    r.open();
    r.dialog->show();
    QVERIFY(!r.dialog->ButApply->isEnabled());
    r.dialog->CheckMainStatus->setChecked(false);
    QVERIFY(r.dialog->ButApply->isEnabled());
    r.target.steps.clear();
    r.dialog->ButApply->click();
    QVERIFY(!r.dialog->ButApply->isEnabled());
    QCOMPARE(r.target.steps.mid(0, 3), QStringList({"toolbar=1", "status=0", "checks=01"}));
    QVERIFY(!r.target.steps.mid(0, 5).contains("rebuild"));  // only the load rebuilds early
    r.dialog->CheckToolBar->setChecked(false);
    r.dialog->ButCancel->click();
    QVERIFY(!r.dialog->isVisible());
    QVERIFY(r.reg.valueNames(kSettingsKey).isEmpty());
    // The box keeps its unapplied change for the next showing, Apply off again.
    r.dialog->show();
    QVERIFY(!r.dialog->CheckToolBar->isChecked());
    QVERIFY(!r.dialog->ButApply->isEnabled());
  }

  void aFailedSaveIsReportedAndTheBoxStays() {
    Rig r;
    r.open();
    r.dialog->show();
    // A folder where the registry file should be: it can be neither read
    // nor replaced.
    QVERIFY(QDir().mkpath(r.reg.path()));
    r.dialog->ButOk->click();
    QCOMPARE(r.prompts.asked.size(), size_t(1));
    QCOMPARE(r.prompts.asked[0].type, MsgType::Error);
    QVERIFY(r.prompts.lastText().startsWith(QStringLiteral("The settings could not be saved: ")));
    QVERIFY(r.prompts.lastText().contains(r.reg.path()));
    QVERIFY(r.dialog->isVisible());
  }

  void saveEntriesAloneLeavesApplyOffButIsSaved() {
    Rig r;
    r.open();
    r.dialog->show();
    r.dialog->CheckSaveEntryList->setChecked(false);
    QVERIFY(!r.dialog->ButApply->isEnabled());
    r.dialog->ButOk->click();
    QCOMPARE(*r.reg.readInteger(kSettingsKey, setting::SaveEntryList), 0);
    QVERIFY(r.target.steps.isEmpty());
  }

  void deleteAllDisablesItselfForGood() {
    Rig r;
    r.open();
    r.dialog->BDeleteAll->click();
    QCOMPARE(r.target.steps, QStringList({"deleteall"}));
    QVERIFY(!r.dialog->BDeleteAll->isEnabled());
    r.dialog->show();
    r.dialog->ButApply->click();
    QVERIFY(!r.dialog->BDeleteAll->isEnabled());
  }

  void everyCaptionShowsWholeAtAnyFontSize_data() {
    QTest::addColumn<qreal>("scale");
    QTest::newRow("default") << 1.0;
    QTest::newRow("larger") << 1.5;
    QTest::newRow("twice") << 2.0;
  }
  void everyCaptionShowsWholeAtAnyFontSize() {
    QFETCH(qreal, scale);
    Rig r;
    r.open();
    QFont font = r.dialog->font();
    font.setPointSizeF(font.pointSizeF() * scale);
    r.dialog->setFont(font);
    r.dialog->show();
    QCoreApplication::processEvents();
    QCOMPARE(test::layoutFaults(r.dialog.get()), QStringList());
    QVERIFY(r.dialog->width() >= TFOptions::kDesignWidth);
    QVERIFY(r.dialog->height() >= TFOptions::kDesignHeight);
  }

  void maxFilesDropsOtherKeysWithABeep() {
    Rig r;
    r.open();
    int beeps = 0;
    r.dialog->setBeep([&] { ++beeps; });
    r.dialog->show();
    QSpinBox* box = r.dialog->BMaxFiles;
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("x2"));
    QCOMPARE(beeps, 1);
    QCOMPARE(box->text(), QStringLiteral("2"));
    QTest::keyClick(box, Qt::Key_Backspace);  // not printable: no beep
    QTest::keyClicks(box, QStringLiteral("3!5"));
    QCOMPARE(beeps, 2);
    QCOMPARE(box->text(), QStringLiteral("35"));
    QTest::keyClicks(box, QStringLiteral("-+"));  // allowed keys: no beep
    QCOMPARE(beeps, 2);
    QCOMPARE(box->value(), 35);
    // The editing keys act on the text whatever text they carry: Ctrl+A
    // selects it all, so what is typed next replaces it.
    QKeyEvent selectAll(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier, QStringLiteral("a"));
    QCoreApplication::sendEvent(box, &selectAll);
    QCOMPARE(beeps, 2);
    QTest::keyClicks(box, QStringLiteral("7"));
    QCOMPARE(box->text(), QStringLiteral("7"));
  }

  void snapshots() {
    const QString dir = qEnvironmentVariable("VORLIX_SNAPSHOT_DIR");
    if (dir.isEmpty()) QSKIP("VORLIX_SNAPSHOT_DIR not set");
    Rig r;
    r.open();
    r.dialog->show();
    QCoreApplication::processEvents();
    r.dialog->grab().save(dir + "/options.png");
  }

  void theTrayBoxSaysWhyWithoutANotificationArea() {
    Rig r;
    r.open();
    r.dialog->setTrayAvailable(false);
    QVERIFY(r.dialog->CheckIconSysTray->toolTip().contains(QStringLiteral("task bar")));
    r.dialog->setTrayAvailable(true);
    QVERIFY(r.dialog->CheckIconSysTray->toolTip().isEmpty());
  }
};

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
