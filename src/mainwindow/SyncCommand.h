#pragma once
// File > Sync (Ctrl+Shift+S): syncs the open database with its target
// through sync/, asking the delete guard's question in a box and showing
// progress and the outcome in the status bar. File > Restore from a
// Snapshot opens a database kept before a sync as a new untitled one. With
// the settings for it, a sync also follows each Save, and runs every N
// minutes; those report in the status bar only and never ask for a target.
#include <QObject>
#include <QTimer>

class QAction;

namespace vorlix {

class TFMainXeVorlix;

class SyncCommand : public QObject {
 public:
  explicit SyncCommand(TFMainXeVorlix& window);
  // `automatic`: after a Save or on the timer.
  void run(bool automatic = false);
  void restoreSnapshot();

 private:
  TFMainXeVorlix& w_;
  QAction* action_;
  QTimer every_;
  bool running_ = false;
};

}  // namespace vorlix
