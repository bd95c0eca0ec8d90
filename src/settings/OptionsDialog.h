#pragma once
// TFOptions: the Options dialog. Created once at start, it reads the stored
// preferences into its controls and applies them; from then on its controls
// are the program's copy of the preferences. Apply pushes them into the
// program, Save also stores them, Cancel only closes.
#include <QDialog>
#include <functional>

#include "settings/SettingsValues.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QPushButton;
class QSpinBox;

namespace vorlix {

class OptionsTarget;
class Prompts;
class Settings;

class TFOptions : public QDialog {
  Q_OBJECT
 public:
  // Loads and applies the stored preferences (FormCreate); a value that
  // cannot be read is reported through `prompts` and the dialog is still made.
  TFOptions(Settings& settings, Prompts& prompts, OptionsTarget& target, QWidget* parent = nullptr);

  // --- controls, named as the program names them ---
  QGroupBox* GroupBox1 = nullptr;
  QSpinBox* BMaxFiles = nullptr;
  QPushButton* BDeleteAll = nullptr;
  QCheckBox* CheckDeleteEntry = nullptr;
  QCheckBox* CheckSaveEntryList = nullptr;
  QGroupBox* GroupBox2 = nullptr;
  QCheckBox* CheckOneCopy = nullptr;
  QCheckBox* CheckShowBrowser = nullptr;
  QCheckBox* CheckIconSysTray = nullptr;
  QCheckBox* CheckMainStatus = nullptr;
  QCheckBox* CheckToolBar = nullptr;
  QGroupBox* RadioIcons = nullptr;
  QGroupBox* RadioStyle = nullptr;
  QPushButton* ButOk = nullptr;
  QPushButton* ButCancel = nullptr;
  QPushButton* ButApply = nullptr;

  // The item index of a radio group, -1 when none is chosen.
  int radioIconsIndex() const;
  int radioStyleIndex() const;

  // The controls' state as preference values, and back.
  SettingsValues values() const;
  void setValues(const SettingsValues& values);

  // --- operations ---
  void LoadSettings();
  void ApplySettings(bool fromLoad = false);
  bool SaveSettings();
  void ButApplyClick();
  void ButOkClick();
  void ButCancelClick();
  void BDeleteAllClick();

  // Without a notification area the tray box says why it has no effect.
  void setTrayAvailable(bool available);
  // The client size of the design, the least the dialog takes.
  static constexpr int kDesignWidth = 381;
  static constexpr int kDesignHeight = 331;

  // Plays the beep of a dropped key; tests count them instead.
  void setBeep(std::function<void()> beep) { beep_ = std::move(beep); }

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildControls();
  void enableApply();
  void fitToText();

  Settings& settings_;
  Prompts& prompts_;
  OptionsTarget& target_;
  QButtonGroup* iconsGroup_ = nullptr;
  QButtonGroup* styleGroup_ = nullptr;
  std::function<void()> beep_;
};

}  // namespace vorlix
