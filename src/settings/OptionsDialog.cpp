#include "settings/OptionsDialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

#include "platform/Prompts.h"
#include "platform/Registry.h"
#include "settings/ApplySettings.h"
#include "settings/Settings.h"

namespace vorlix {
namespace {

QString withoutAccelerator(QString caption) {
  // "&&" stands for a real ampersand; a single one only marks the key.
  caption.replace(QLatin1String("&&"), QLatin1String("\x01"));
  caption.remove(QLatin1Char('&'));
  caption.replace(QLatin1Char('\x01'), QLatin1Char('&'));
  return caption;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption, bool checked) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(QLatin1String(name));
  box->setAccessibleName(withoutAccelerator(caption));
  box->setChecked(checked);
  return box;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(QLatin1String(name));
  b->setAccessibleName(withoutAccelerator(caption));
  b->setAutoDefault(false);
  return b;
}

QGroupBox* radioGroup(QWidget* parent, const char* name, const QString& caption,
                      const QStringList& items, QButtonGroup*& group) {
  auto* box = new QGroupBox(caption, parent);
  box->setObjectName(QLatin1String(name));
  box->setAccessibleName(caption);
  group = new QButtonGroup(box);
  auto* layout = new QVBoxLayout(box);
  for (int i = 0; i < items.size(); ++i) {
    auto* r = new QRadioButton(items[i], box);
    r->setAccessibleName(items[i]);
    group->addButton(r, i);
    layout->addWidget(r);
  }
  layout->addStretch();
  return box;
}

int boundedIndex(int index, int count) { return qBound(0, index, count - 1); }

}  // namespace

TFOptions::TFOptions(Settings& settings, Prompts& prompts, OptionsTarget& target, QWidget* parent)
    : QDialog(parent), settings_(settings), prompts_(prompts), target_(target) {
  setObjectName(QStringLiteral("FOptions"));
  setWindowTitle(QStringLiteral("Options"));
  setAccessibleName(QStringLiteral("Options"));
  // A fixed border with only the close box, above the main window.
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
  beep_ = [] { QApplication::beep(); };
  buildControls();
  fitToText();
  LoadSettings();
}

void TFOptions::buildControls() {
  GroupBox1 = new QGroupBox(QStringLiteral("Menu"), this);
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  GroupBox1->setAccessibleName(QStringLiteral("Menu"));
  const QString maxCaption = QStringLiteral("Maximum number of files in the ReOpen list");
  auto* maxLabel = new QLabel(maxCaption, GroupBox1);
  BMaxFiles = new QSpinBox(GroupBox1);
  BMaxFiles->setObjectName(QStringLiteral("BMaxFiles"));
  BMaxFiles->setAccessibleName(maxCaption);
  BMaxFiles->setRange(SettingsValues::kMinFiles, SettingsValues::kMaxFiles);
  BMaxFiles->setValue(SettingsValues().maxFiles);
  // Out-of-range input goes to the nearest bound when the field is left.
  BMaxFiles->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
  if (auto* edit = BMaxFiles->findChild<QLineEdit*>()) edit->setMaxLength(2);
  BMaxFiles->installEventFilter(this);
  maxLabel->setBuddy(BMaxFiles);
  BDeleteAll = button(GroupBox1, "BDeleteAll", QStringLiteral("&Delete All"));
  CheckDeleteEntry = checkBox(GroupBox1, "CheckDeleteEntry",
                              QStringLiteral("Delete entry OnClick item into ReOpen list"), false);
  CheckSaveEntryList = checkBox(GroupBox1, "CheckSaveEntryList",
                                QStringLiteral("Save entries in registry from ReOpen list"), true);
  auto* g1 = new QGridLayout(GroupBox1);
  g1->addWidget(maxLabel, 0, 0);
  g1->addWidget(BMaxFiles, 0, 1);
  g1->addWidget(BDeleteAll, 0, 2);
  g1->addWidget(CheckDeleteEntry, 1, 0, 1, 3);
  g1->addWidget(CheckSaveEntryList, 2, 0, 1, 3);

  GroupBox2 = new QGroupBox(QStringLiteral("Preferences"), this);
  GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
  GroupBox2->setAccessibleName(QStringLiteral("Preferences"));
  CheckOneCopy =
      checkBox(GroupBox2, "CheckOneCopy", QStringLiteral("Alow only one copy at a time"), true);
  CheckShowBrowser =
      checkBox(GroupBox2, "CheckShowBrowser", QStringLiteral("Show preview panel"), true);
  CheckIconSysTray =
      checkBox(GroupBox2, "CheckIconSysTray", QStringLiteral("Icon to system tray"), true);
  CheckMainStatus =
      checkBox(GroupBox2, "CheckMainStatus", QStringLiteral("Show status bar "), true);
  CheckToolBar = checkBox(GroupBox2, "CheckToolBar", QStringLiteral("Show toolbar"), true);
  auto* g2 = new QVBoxLayout(GroupBox2);
  for (QCheckBox* b :
       {CheckOneCopy, CheckShowBrowser, CheckIconSysTray, CheckMainStatus, CheckToolBar})
    g2->addWidget(b);

  RadioIcons = radioGroup(
      this, "RadioIcons", QStringLiteral("Icons"),
      {QStringLiteral("Large"), QStringLiteral("List"), QStringLiteral("Report")}, iconsGroup_);
  RadioStyle =
      radioGroup(this, "RadioStyle", QStringLiteral("View Style"),
                 {QStringLiteral("Classic style"), QStringLiteral("Explorer style")}, styleGroup_);
  iconsGroup_->button(SettingsValues().icons)->setChecked(true);
  styleGroup_->button(SettingsValues().style)->setChecked(true);

  ButOk = button(this, "ButOk", QStringLiteral("&Save"));
  ButCancel = button(this, "ButCancel", QStringLiteral("&Cancel"));
  ButApply = button(this, "ButApply", QStringLiteral("&Apply"));
  ButApply->setEnabled(false);

  auto* middle = new QHBoxLayout;
  middle->addWidget(GroupBox2, 1);
  auto* radios = new QVBoxLayout;
  radios->addWidget(RadioIcons);
  radios->addWidget(RadioStyle);
  middle->addLayout(radios);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ButOk);
  buttons->addWidget(ButCancel);
  buttons->addWidget(ButApply);
  auto* top = new QVBoxLayout(this);
  top->addWidget(GroupBox1);
  top->addLayout(middle, 1);
  top->addLayout(buttons);

  // Every change but "Save entries" waits for Apply.
  for (QCheckBox* b : {CheckOneCopy, CheckIconSysTray, CheckMainStatus, CheckToolBar,
                       CheckShowBrowser, CheckDeleteEntry})
    connect(b, &QCheckBox::toggled, this, &TFOptions::enableApply);
  connect(iconsGroup_, &QButtonGroup::idToggled, this, &TFOptions::enableApply);
  connect(styleGroup_, &QButtonGroup::idToggled, this, &TFOptions::enableApply);
  connect(BMaxFiles, &QSpinBox::valueChanged, this, &TFOptions::enableApply);
  connect(ButApply, &QPushButton::clicked, this, &TFOptions::ButApplyClick);
  connect(ButOk, &QPushButton::clicked, this, &TFOptions::ButOkClick);
  connect(ButCancel, &QPushButton::clicked, this, &TFOptions::ButCancelClick);
  connect(BDeleteAll, &QPushButton::clicked, this, &TFOptions::BDeleteAllClick);
}

void TFOptions::enableApply() { ButApply->setEnabled(true); }

int TFOptions::radioIconsIndex() const { return iconsGroup_->checkedId(); }
int TFOptions::radioStyleIndex() const { return styleGroup_->checkedId(); }

SettingsValues TFOptions::values() const {
  SettingsValues v;
  v.maxFiles = BMaxFiles->value();
  v.deleteEntryOnClick = CheckDeleteEntry->isChecked();
  v.saveEntryList = CheckSaveEntryList->isChecked();
  v.onlyOne = CheckOneCopy->isChecked();
  v.iconTray = CheckIconSysTray->isChecked();
  v.mainStatus = CheckMainStatus->isChecked();
  v.toolBar = CheckToolBar->isChecked();
  v.showPreview = CheckShowBrowser->isChecked();
  v.icons = radioIconsIndex();
  v.style = radioStyleIndex();
  return v;
}

void TFOptions::setValues(const SettingsValues& v) {
  BMaxFiles->setValue(v.maxFiles);  // bounded into 1..35 by the control
  CheckDeleteEntry->setChecked(v.deleteEntryOnClick);
  CheckSaveEntryList->setChecked(v.saveEntryList);
  CheckOneCopy->setChecked(v.onlyOne);
  CheckIconSysTray->setChecked(v.iconTray);
  CheckMainStatus->setChecked(v.mainStatus);
  CheckToolBar->setChecked(v.toolBar);
  CheckShowBrowser->setChecked(v.showPreview);
  // A stored index past the items chooses the nearest item.
  iconsGroup_->button(boundedIndex(v.icons, 3))->setChecked(true);
  styleGroup_->button(boundedIndex(v.style, 2))->setChecked(true);
}

void TFOptions::LoadSettings() {
  SettingsValues v = values();
  const SettingsLoad load = settings_.loadPreferences(v);
  if (!load.productKeyFound) return;
  // Values read before a failing one keep their new state.
  setValues(v);
  if (!load.error.isEmpty()) {
    prompts_.message(MsgType::Error, Buttons::Ok, load.error);
    return;
  }
  ApplySettings(true);
}

void TFOptions::ApplySettings(bool fromLoad) { vorlix::ApplySettings(values(), target_, fromLoad); }

bool TFOptions::SaveSettings() { return settings_.savePreferences(values()); }

void TFOptions::ButApplyClick() {
  ApplySettings();
  ButApply->setEnabled(false);
}

void TFOptions::ButOkClick() {
  if (ButApply->isEnabled()) ButApplyClick();
  if (!SaveSettings()) {
    // The box stays open, so the user can try again or cancel knowingly.
    prompts_.message(MsgType::Error, Buttons::Ok,
                     QStringLiteral("The settings could not be saved: %1")
                         .arg(settings_.registry().lastError()));
    return;
  }
  accept();
}

void TFOptions::ButCancelClick() { reject(); }

void TFOptions::BDeleteAllClick() { BDeleteAll->setEnabled(target_.deleteAllRecentFiles()); }

void TFOptions::setTrayAvailable(bool available) {
  const QString why = available ? QString()
                                : QStringLiteral(
                                      "This desktop has no notification area (system tray): "
                                      "minimising goes to the task bar.");
  CheckIconSysTray->setToolTip(why);
  CheckIconSysTray->setAccessibleDescription(why);
}

void TFOptions::fitToText() {
  // The design's client size is the least it gets; larger text makes it
  // grow so that no caption is cut and no control covers another.
  layout()->activate();
  setFixedSize(layout()->sizeHint().expandedTo(QSize(kDesignWidth, kDesignHeight)));
}

void TFOptions::showEvent(QShowEvent* event) {
  ButApply->setEnabled(false);
  fitToText();  // the font may have changed since the last showing
  if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
  QDialog::showEvent(event);
}

bool TFOptions::eventFilter(QObject* watched, QEvent* event) {
  if (watched == BMaxFiles && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    // Only typed characters are limited; Ctrl+A, Ctrl+V and the other
    // editing keys act on the box's text, whatever text they carry.
    const bool typed =
        !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (typed && !text.isEmpty() && text.at(0).isPrint()) {
      const QChar c = text.at(0);
      const QString separator = QLocale().decimalPoint();
      if (!c.isDigit() && c != QLatin1Char('+') && c != QLatin1Char('-') && text != separator) {
        beep_();
        return true;  // dropped
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace vorlix
