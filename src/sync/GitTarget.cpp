#include "sync/GitTarget.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFileInfo>

#include "sync/GitRemote.h"
#include "sync/SyncState.h"

namespace vorlix::sync {

namespace {

const QString kOutgoing = QStringLiteral("refs/vorlix/outgoing");
const QByteArray kReadme =
    "This repository keeps bookmarks in step through floccus's bookmarks file.\n";

qint64 lockTime(const QString& ref) { return ref.mid(kGitLockPrefix.size()).toLongLong(); }

// The newest lock tag's time, 0 when there is none.
qint64 newestLock(const std::map<QString, git_oid>& refs) {
  qint64 newest = 0;
  for (const auto& entry : refs) newest = std::max(newest, lockTime(entry.first));
  return newest;
}

bool isFresh(qint64 lockedAt) {
  return lockedAt > 0 && QDateTime::currentMSecsSinceEpoch() - lockedAt < kLockStaleSecs * 1000;
}

}  // namespace

GitTarget::GitTarget(TargetAddress address, TargetOptions options)
    : address_(std::move(address)), options_(std::move(options)) {}

GitTarget::~GitTarget() { unlock(); }

QString GitTarget::describe() const { return composeTargetAddress(address_); }

QString GitTarget::fileName() const { return QFileInfo(address_.file).fileName(); }

bool GitTarget::open(QString& error) {
  if (remote_) return true;
  // One cache per repository and branch; losing it costs one full fetch.
  const QString key = QString::fromLatin1(
      QCryptographicHash::hash((address_.location + QLatin1Char('#') + address_.branch).toUtf8(),
                               QCryptographicHash::Sha256)
          .toHex()
          .left(16));
  remote_ = std::make_unique<GitRemote>(address_.location, options_.user, options_.password);
  if (remote_->open(stateFolder() + QStringLiteral("/git/") + key, error)) return true;
  remote_.reset();
  return false;
}

bool GitTarget::fetchTip(QString& error) {
  const QString branch = QStringLiteral("refs/heads/") + address_.branch;
  std::map<QString, git_oid> refs;
  if (!remote_->list(branch, refs, error)) return false;
  const auto found = refs.find(branch);
  hasTip_ = found != refs.end();
  if (!hasTip_) return true;
  tip_ = found->second;
  return remote_->fetch(branch, error);
}

bool GitTarget::pushTag(QString& error) {
  const qint64 now = QDateTime::currentMSecsSinceEpoch();
  const QString tag = kGitLockPrefix + QString::number(now);
  git_reference* ref = nullptr;
  if (const int code =
          git_reference_create(&ref, remote_->repo(), tag.toUtf8().constData(), &tip_, 1, nullptr);
      code < 0) {
    error = QStringLiteral("Cannot make the lock tag: %1")
                .arg(QString::fromUtf8(git_error_last()->message));
    return false;
  }
  git_reference_free(ref);
  bool rejected = false;
  if (!remote_->push(tag + QLatin1Char(':') + tag, rejected, error)) return false;
  tags_ << tag;
  tagged_ = QDateTime::fromMSecsSinceEpoch(now);
  return true;
}

bool GitTarget::lock(QString& error) {
  if (!open(error)) return false;
  QElapsedTimer waited;
  waited.start();
  for (;;) {
    std::map<QString, git_oid> locks;
    if (!remote_->list(kGitLockPrefix, locks, error)) return false;
    if (const qint64 held = newestLock(locks); isFresh(held)) {
      if (!pauseForLock(waited.elapsed(), QDateTime::fromMSecsSinceEpoch(held), error))
        return false;
      continue;
    }
    if (!fetchTip(error)) return false;
    if (!hasTip_) {
      bool raced = false;
      if (!startBranch(raced, error)) return false;
      if (raced) continue;
    }
    if (!pushTag(error)) return false;
    // Two syncs that looked at the same moment both tag: the later one
    // takes its tag back and waits.
    if (!remote_->list(kGitLockPrefix, locks, error)) return false;
    const qint64 mine = lockTime(tags_.last());
    qint64 earlier = 0;
    for (const auto& entry : locks)
      if (const qint64 t = lockTime(entry.first); t < mine && isFresh(t)) earlier = t;
    if (!earlier) return true;
    unlock();
    if (!pauseForLock(waited.elapsed(), QDateTime::fromMSecsSinceEpoch(earlier), error))
      return false;
  }
}

void GitTarget::unlock() {
  if (!remote_) return;
  for (const QString& tag : std::as_const(tags_)) {
    bool rejected = false;
    QString ignored;
    remote_->push(QLatin1Char(':') + tag, rejected, ignored);
    git_reference_remove(remote_->repo(), tag.toUtf8().constData());
  }
  tags_.clear();
}

void GitTarget::refreshLock() {
  // floccus sets a new tag every two minutes; the calls here block, so the
  // refresh comes before each long step instead of on a timer.
  if (tags_.isEmpty() || tagged_.msecsTo(QDateTime::currentDateTime()) < kLockRefreshMs) return;
  QString ignored;
  pushTag(ignored);
}

bool GitTarget::fetch(QByteArray& data, bool& exists, QString& error) {
  if (!open(error)) return false;
  refreshLock();
  outdated_ = false;
  exists = false;
  if (!fetchTip(error)) return false;
  if (!hasTip_) return true;
  git_commit* commit = nullptr;
  git_tree* tree = nullptr;
  git_tree_entry* entry = nullptr;
  git_blob* blob = nullptr;
  int code = git_commit_lookup(&commit, remote_->repo(), &tip_);
  GitPtr<git_commit> ownCommit(commit);
  if (code >= 0) code = git_commit_tree(&tree, commit);
  GitPtr<git_tree> ownTree(tree);
  if (code >= 0 && git_tree_entry_bypath(&entry, tree, address_.file.toUtf8().constData()) < 0)
    return true;  // the branch holds no bookmarks file yet
  GitPtr<git_tree_entry> ownEntry(entry);
  if (code >= 0 && git_tree_entry_type(entry) != GIT_OBJECT_BLOB) {
    error = QStringLiteral("%1 is a folder in %2, not a bookmarks file.")
                .arg(address_.file, describe());
    return false;
  }
  if (code >= 0) code = git_blob_lookup(&blob, remote_->repo(), git_tree_entry_id(entry));
  GitPtr<git_blob> ownBlob(blob);
  if (code < 0) {
    error = QStringLiteral("Cannot read %1 from %2: %3")
                .arg(address_.file, describe(), QString::fromUtf8(git_error_last()->message));
    return false;
  }
  data = QByteArray(static_cast<const char*>(git_blob_rawcontent(blob)),
                    qsizetype(git_blob_rawsize(blob)));
  exists = true;
  return true;
}

bool GitTarget::commitAndPush(const QByteArray* data, const QString& path, const QString& message,
                              bool& rejected, QString& error) {
  git_repository* repo = remote_->repo();
  const auto fail = [&error, this](const char* what) {
    error = QStringLiteral("Cannot %1 for %2: %3")
                .arg(QLatin1String(what), describe(), QString::fromUtf8(git_error_last()->message));
    return false;
  };
  git_oid blobId, treeId, commitId;
  if (git_blob_create_from_buffer(&blobId, repo, data->constData(), size_t(data->size())) < 0)
    return fail("keep the file");
  GitPtr<git_commit> parent;
  GitPtr<git_tree> baseline;
  git_tree* tree = nullptr;
  if (hasTip_) {
    git_commit* commit = nullptr;
    if (git_commit_lookup(&commit, repo, &tip_) < 0) return fail("read the branch");
    parent.reset(commit);
    if (git_commit_tree(&tree, commit) < 0) return fail("read the branch");
  } else {
    git_treebuilder* builder = nullptr;
    git_oid empty;
    if (git_treebuilder_new(&builder, repo, nullptr) < 0) return fail("start the branch");
    const int code = git_treebuilder_write(&empty, builder);
    git_treebuilder_free(builder);
    if (code < 0 || git_tree_lookup(&tree, repo, &empty) < 0) return fail("start the branch");
  }
  baseline.reset(tree);
  const QByteArray filePath = path.toUtf8();
  git_tree_update update{};
  update.action = GIT_TREE_UPDATE_UPSERT;
  update.id = blobId;
  update.filemode = GIT_FILEMODE_BLOB;
  update.path = filePath.constData();
  if (git_tree_create_updated(&treeId, repo, baseline.get(), 1, &update) < 0)
    return fail("write the commit");
  git_tree* newTree = nullptr;
  if (git_tree_lookup(&newTree, repo, &treeId) < 0) return fail("write the commit");
  GitPtr<git_tree> ownNewTree(newTree);
  git_signature* who = nullptr;
  if (git_signature_now(&who, "Vorlix bookmarks sync", "vorlix@localhost") < 0)
    return fail("write the commit");
  GitPtr<git_signature> ownWho(who);
  const git_commit* parents[] = {parent.get()};
  if (git_commit_create(&commitId, repo, nullptr, who, who, "UTF-8", message.toUtf8().constData(),
                        newTree, hasTip_ ? 1 : 0, parents) < 0)
    return fail("write the commit");
  git_reference* ref = nullptr;
  if (git_reference_create(&ref, repo, kOutgoing.toUtf8().constData(), &commitId, 1, nullptr) < 0)
    return fail("write the commit");
  git_reference_free(ref);
  if (!remote_->push(kOutgoing + QStringLiteral(":refs/heads/") + address_.branch, rejected, error))
    return false;
  tip_ = commitId;
  hasTip_ = true;
  return true;
}

bool GitTarget::startBranch(bool& raced, QString& error) {
  if (commitAndPush(&kReadme, QStringLiteral("README.md"),
                    QStringLiteral("Start the bookmarks branch"), raced, error))
    return true;
  if (raced) error.clear();
  return raced;
}

bool GitTarget::store(const QByteArray& data, QString& error) {
  if (!open(error)) return false;
  refreshLock();
  bool rejected = false;
  if (commitAndPush(&data, address_.file, QStringLiteral("Vorlix update: %1").arg(describe()),
                    rejected, error))
    return true;
  outdated_ = rejected;
  if (rejected)
    error = QStringLiteral("The branch %1 of %2 moved on during the sync, so it was left as it is.")
                .arg(address_.branch, address_.location);
  return false;
}

}  // namespace vorlix::sync
