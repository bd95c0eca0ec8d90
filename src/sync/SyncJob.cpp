#include "sync/SyncJob.h"

#include <QCoreApplication>
#include <QThread>
#include <chrono>
#include <memory>

#include "document/LinkDocument.h"

namespace vorlix::sync {

SyncJob::SyncJob(LinkDocument& doc, QString target, TargetOptions credentials, SyncOptions options,
                 QObject* parent)
    : QObject(parent),
      doc_(doc),
      targetText_(std::move(target)),
      credentials_(std::move(credentials)),
      options_(std::move(options)) {}

SyncJob::~SyncJob() {
  if (!thread_) return;
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  stop_ = true;
  answered_.notify_all();
  thread_->wait();
  delete thread_;
}

void SyncJob::start() {
  if (thread_) return;
  links_ = doc_.links();
  links_.setJournal(nullptr);
  changed_ = false;
  for (auto signal : {&LinkDocument::edited, &LinkDocument::historyMoved, &LinkDocument::adopted})
    connect(&doc_, signal, &watch_, [this] { changed_ = true; });
  thread_ = QThread::create([this] { work(); });
  thread_->start();
}

bool SyncJob::onOwnThread(const std::function<bool()>& call, bool ifStopped) {
  struct Answer {
    bool given = false;
    bool value = false;
  };
  auto answer = std::make_shared<Answer>();
  QMetaObject::invokeMethod(
      this,
      [this, answer, call] {
        const bool value = call();
        std::lock_guard lock(mutex_);
        answer->value = value;
        answer->given = true;
        answered_.notify_all();
      },
      Qt::QueuedConnection);
  std::unique_lock lock(mutex_);
  while (!answer->given && !stopping_) {
    answered_.wait_for(lock, std::chrono::milliseconds(200));
    // The target's lock refresh, a timer of this thread, goes on while the
    // user thinks about the question.
    lock.unlock();
    QCoreApplication::processEvents();
    lock.lock();
  }
  return answer->given ? answer->value : ifStopped;
}

void SyncJob::work() {
  SyncReport report;
  QString name = targetText_;
  // The target's network objects belong to this thread.
  auto target = makeTarget(targetText_, credentials_, report.message);
  if (target) {
    name = target->describe();
    target->wait = wait_;
    target->progress = [this](const QString& text) {
      QMetaObject::invokeMethod(
          this, [this, text] { emit progress(text); }, Qt::QueuedConnection);
    };
    target->cancelled = [this] { return stop_.load(); };
    SyncOptions options = options_;
    if (options_.allowDeletions)
      options.allowDeletions = [this](const QString& question) {
        return onOwnThread([this, question] { return options_.allowDeletions(question); }, false);
      };
    LocalHooks hooks;
    hooks.changedMeanwhile = [this] { return changed_.load(); };
    hooks.apply = [this, &name](const LocalSide& local, const SyncTree& merged, QString& error) {
      QString why = QStringLiteral("The window closed before the sync was done.");
      const bool applied = onOwnThread(
          [&] {
            // Checked again here: the window may have changed the
            // database since the sync last looked.
            if (changed_) {
              why = changedWhileSyncing();
              return false;
            }
            if (!applyMerged(doc_, name, local, merged, options_, why)) return false;
            // The file holds the merge: the database is at its saved point.
            if (options_.saveLocal) doc_.markSaved(options_.databasePath);
            return true;
          },
          false);
      if (!applied) error = why;
      return applied;
    };
    report = runSyncOn(links_, *target, options, hooks);
    target.reset();
  }
  QMetaObject::invokeMethod(
      this,
      [this, report, name] {
        disconnect(&doc_, nullptr, &watch_, nullptr);
        thread_->wait();
        delete thread_;
        thread_ = nullptr;
        emit finished(report, name);
      },
      Qt::QueuedConnection);
}

}  // namespace vorlix::sync
