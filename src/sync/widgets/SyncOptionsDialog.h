#pragma once
// File > "Sync Settings...": where this database syncs and when. The
// target (WebDAV URL, Git repository and branch, or a folder chosen through
// the desktop's folder chooser), the file's name, the user name, the
// password and the passphrase (both kept in the secret store, never in the
// settings), sync after Save, sync every N minutes, and the share of links
// a sync may delete without asking.
#include <QDialog>

#include "sync/SyncSettings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace vorlix {

class DesktopServices;
class Prompts;

namespace sync {
class PasswordStore;
}

class SyncOptionsDialog : public QDialog {
  Q_OBJECT
 public:
  SyncOptionsDialog(QString databasePath, sync::PasswordStore& passwords, DesktopServices& desktop,
                    Prompts& prompts, QWidget* parent = nullptr);

  // Fills the controls from the database's settings and the secret store.
  void load();
  // Checks the target and keeps everything; false (after saying why)
  // leaves the settings as they were.
  bool save();
  void accept() override;

 signals:
  void saved(const vorlix::sync::SyncSettings& settings);

 private:
  void showKind();
  void browse();

  QString path_;
  sync::PasswordStore& passwords_;
  DesktopServices& desktop_;
  Prompts& prompts_;
  QComboBox* kind_;
  QLineEdit* location_;
  QPushButton* browse_;
  QLineEdit* branch_;
  QLineEdit* file_;
  QLineEdit* user_;
  QLineEdit* password_;
  QCheckBox* encrypt_;
  QLineEdit* passphrase_;
  QCheckBox* onSave_;
  QSpinBox* every_;
  QSpinBox* share_;
};

}  // namespace vorlix
