#pragma once
// The bookmarks file on a branch of a Git repository, as floccus keeps it:
// read from the branch's tip, written as a new commit on top of that tip
// and pushed, never forced. A push the remote refuses because the branch
// moved on leaves the remote as it was; the sync then fetches and merges
// again. The repository's objects are kept in a bare cache under the sync
// state folder, so a sync fetches only what is new.
//
// The lock is floccus's: a tag "floccus-lock-<milliseconds since 1970>"
// pushed to the remote, a new one every two minutes while the sync works,
// all deleted at the end. The newest such tag younger than fifteen minutes
// is a sync under way elsewhere; an older one is stale.
#include <git2/oid.h>

#include <QDateTime>
#include <QStringList>
#include <memory>

#include "sync/SyncTarget.h"
#include "sync/TargetAddress.h"

namespace vorlix::sync {

class GitRemote;

inline const QString kGitLockPrefix = QStringLiteral("refs/tags/floccus-lock-");

class GitTarget : public SyncTarget {
 public:
  GitTarget(TargetAddress address, TargetOptions options);
  ~GitTarget() override;

  QString describe() const override;
  QString fileName() const override;
  bool lock(QString& error) override;
  void unlock() override;
  bool fetch(QByteArray& data, bool& exists, QString& error) override;
  bool store(const QByteArray& data, QString& error) override;
  bool outdated() const override { return outdated_; }

 private:
  bool open(QString& error);
  // The remote branch's tip, null when the branch does not exist yet;
  // fetched into the cache.
  bool fetchTip(QString& error);
  bool pushTag(QString& error);
  // Gives the branch a first commit when it has none, so the lock tag has
  // something to name, as floccus does.
  bool startBranch(bool& raced, QString& error);
  bool commitAndPush(const QByteArray* data, const QString& path, const QString& message,
                     bool& rejected, QString& error);
  void refreshLock();

  TargetAddress address_;
  TargetOptions options_;
  std::unique_ptr<GitRemote> remote_;
  git_oid tip_{};
  bool hasTip_ = false;
  QStringList tags_;  // the lock tags this sync pushed
  QDateTime tagged_;
  bool outdated_ = false;
};

}  // namespace vorlix::sync
