#pragma once
// File > Sync (Ctrl+Shift+S): syncs the open database with its target
// through sync/ on a thread of its own, asking the delete guard's question
// in a box and showing progress and the outcome in the status bar. File >
// Sync Settings... opens the database's sync settings. File > Restore from
// a Snapshot opens a database kept before a sync as a new untitled one.
// With the settings for it, a sync also follows each Save, and runs every N
// minutes; those report in the status bar only and never ask for a target.
#include <QObject>
#include <QTimer>
#include <memory>

class QAction;

namespace vorlix {

class TFMainXeVorlix;

namespace sync {
class PasswordStore;
class SyncJob;
struct SyncReport;
}  // namespace sync

class SyncCommand : public QObject {
 public:
  explicit SyncCommand(TFMainXeVorlix& window);
  ~SyncCommand() override;
  // `automatic`: after a Save or on the timer.
  void run(bool automatic = false);
  void restoreSnapshot();
  void openSettings();

 private:
  void finish(const sync::SyncReport& report, const QString& targetName, bool automatic);
  // The timer follows the open database's setting.
  void arm();

  TFMainXeVorlix& w_;
  QAction* action_;
  QTimer every_;
  std::unique_ptr<sync::PasswordStore> passwords_;
  sync::SyncJob* job_ = nullptr;
  bool preparing_ = false;
};

}  // namespace vorlix
