#pragma once
// One sync of the open database on a thread of its own, so the window
// stays live while the network is slow: the lock, the download, the merge
// and the upload run there, on a copy of the records taken at the start.
// The delete guard's question and the merge's arrival in the database (one
// undo step, then the save) run on the window's thread. An edit made while
// the sync is away leaves the database alone; the sync then says so.
#include <QObject>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>

#include "store/LinkList.h"
#include "sync/SyncRun.h"

class QThread;

namespace vorlix {
class LinkDocument;
}

namespace vorlix::sync {

class SyncJob : public QObject {
  Q_OBJECT
 public:
  // `options.allowDeletions` and `options.saveLocal` are called on this
  // object's thread.
  SyncJob(LinkDocument& doc, QString target, TargetOptions credentials, SyncOptions options,
          QObject* parent = nullptr);
  // Stops any wait for a lock or an answer and waits for the thread.
  ~SyncJob() override;

  void start();
  bool running() const { return thread_ != nullptr; }
  // How the target waits for a lock another sync holds.
  void setLockWait(const LockWait& wait) { wait_ = wait; }

 signals:
  void progress(const QString& text);
  // `targetName` is the target as messages name it.
  void finished(const vorlix::sync::SyncReport& report, const QString& targetName);

 private:
  void work();
  // Runs `call` on this object's thread and waits for it; `ifStopped` when
  // the job is being destroyed.
  bool onOwnThread(const std::function<bool()>& call, bool ifStopped);

  LinkDocument& doc_;
  QString targetText_;
  TargetOptions credentials_;
  SyncOptions options_;
  LinkList links_;
  LockWait wait_;
  QThread* thread_ = nullptr;
  QObject watch_;
  std::atomic<bool> changed_{false};
  std::mutex mutex_;
  std::condition_variable answered_;
  bool stopping_ = false;  // under mutex_
  std::atomic<bool> stop_{false};
};

}  // namespace vorlix::sync
