#pragma once
// File > Sync (Ctrl+Shift+S): syncs the open database with its target
// through sync/, asking the delete guard's question in a box and showing
// progress and the outcome in the status bar.
#include <QObject>

class QAction;

namespace vorlix {

class TFMainXeVorlix;

class SyncCommand : public QObject {
 public:
  explicit SyncCommand(TFMainXeVorlix& window);
  void run();

 private:
  TFMainXeVorlix& w_;
  QAction* action_;
};

}  // namespace vorlix
