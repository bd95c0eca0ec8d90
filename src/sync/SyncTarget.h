#pragma once
// Where the bookmarks file lives, with floccus's lock beside it: a lock
// file "<file>.lock" that the syncing program writes, refreshes every two
// minutes while it works and deletes at the end. A lock younger than
// fifteen minutes belongs to a sync under way elsewhere: we wait and try
// again, telling the user, and never break it. An older one is stale.
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <functional>
#include <memory>

namespace vorlix::sync {

inline constexpr int kLockRefreshMs = 2 * 60 * 1000;
inline constexpr qint64 kLockStaleSecs = 15 * 60;
inline constexpr char kLockContent[] = "<html><body>I am a lock file</body></html>";

struct LockWait {
  int retryMs = 15 * 1000;       // between two looks at a held lock
  int giveUpMs = 5 * 60 * 1000;  // then the sync fails, naming the lock's time
};

class SyncTarget {
 public:
  virtual ~SyncTarget() = default;

  // The target as the user gave it (no password), for messages, the undo
  // step's name and the sync state.
  virtual QString describe() const = 0;
  // The file's own name, floccus's salt for its older encrypted form.
  virtual QString fileName() const = 0;

  // Takes the lock, waiting while another holds a fresh one.
  virtual bool lock(QString& error) = 0;
  virtual void unlock() = 0;
  // The file's bytes; `exists` false when there is none yet.
  virtual bool fetch(QByteArray& data, bool& exists, QString& error) = 0;
  // Replaces the file whole: an interrupted write leaves the old one.
  virtual bool store(const QByteArray& data, QString& error) = 0;
  // After a failed store: the remote moved on since the fetch (a Git push
  // that was not a fast-forward), so fetching and merging again may succeed.
  virtual bool outdated() const { return false; }

  LockWait wait;
  // Told what the sync is waiting for.
  std::function<void(const QString&)> progress;
  // Asked while waiting for a lock: true ends the wait (the window closes).
  std::function<bool()> cancelled;

 protected:
  void tell(const QString& text) const {
    if (progress) progress(text);
  }
  // Another sync has held the lock since `since`: false with the message
  // naming that time once `waited` passes the wait's limit, else tells the
  // user, lets the event loop run for the retry interval and returns true.
  bool pauseForLock(qint64 waitedMs, const QDateTime& since, QString& error) const;
};

struct TargetOptions {
  QString user;
  QString password;
};

// A target from what the user typed, in the forms TargetAddress reads: a
// WebDAV URL, a Git repository's branch, a folder or an .xbel file on disk.
// nullptr and `error` for what cannot be a target.
std::unique_ptr<SyncTarget> makeTarget(const QString& spec, const TargetOptions& options,
                                       QString& error);

}  // namespace vorlix::sync
