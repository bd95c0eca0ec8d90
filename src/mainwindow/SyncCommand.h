#pragma once
// File > Sync (Ctrl+Shift+S): syncs the open database with its target
// through sync/, asking the delete guard's question in a box and showing
// progress and the outcome in the status bar. File > Restore from a
// Snapshot opens a database kept before a sync as a new untitled one.
#include <QObject>

class QAction;

namespace vorlix {

class TFMainXeVorlix;

class SyncCommand : public QObject {
 public:
  explicit SyncCommand(TFMainXeVorlix& window);
  void run();
  void restoreSnapshot();

 private:
  TFMainXeVorlix& w_;
  QAction* action_;
};

}  // namespace vorlix
