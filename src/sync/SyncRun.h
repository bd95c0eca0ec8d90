#pragma once
// One sync of a database with its target: lock, read the remote file,
// merge it with the database and the last synced copy, ask before deleting
// many links, keep snapshots of both sides, write the remote file, then the
// database (one undo step, "Sync with <target>"), remember the merged copy,
// unlock. Any failure leaves both sides as they were and says why.
#include <QString>
#include <functional>

#include "sync/LocalSide.h"
#include "sync/SyncMerge.h"
#include "sync/SyncTarget.h"

namespace vorlix {
class LinkDocument;
class LinkList;
}  // namespace vorlix

namespace vorlix::sync {

struct SyncOptions {
  QString databasePath;  // keys the sync state
  // Deleting more than this share of either side's links asks first.
  double deleteShare = 0.10;
  QString passphrase;  // empty: the file is plain XBEL
  // The question of the delete guard; true goes on.
  std::function<bool(const QString& question)> allowDeletions;
  // Writes the merged database (the command line saves the file); false
  // and `error` take the whole sync back.
  std::function<bool(const LinkList& merged, QString& error)> saveLocal;
};

struct SyncReport {
  bool ok = false;
  bool refused = false;  // the delete guard was answered No
  QString message;       // why it failed
  SideChanges local;
  SideChanges remote;
  int conflicts = 0;
  QString snapshot;  // the database's snapshot, when one was taken
  // What changed on each side, one line each.
  QString summary(const QString& targetName) const;
};

// Runs the whole sync on the calling thread; the waits run its event loop.
SyncReport runSync(LinkDocument& doc, SyncTarget& target, const SyncOptions& options);

// What the sync does to the database, done by whoever owns it (the window's
// thread, when the sync runs on another).
struct LocalHooks {
  // True when the database changed since `links` was read: the merge no
  // longer fits it.
  std::function<bool()> changedMeanwhile;
  // Brings the merge into the database (applyMerged); false and `error`
  // leave it as it was.
  std::function<bool(const LocalSide& local, const SyncTree& merged, QString& error)> apply;
};
// The sync of `links`, a copy of the database's records taken when it
// starts; all but `hooks` may run on any thread.
SyncReport runSyncOn(const LinkList& links, SyncTarget& target, const SyncOptions& options,
                     const LocalHooks& hooks);
// The merge as one undo step "Sync with <target>", saved through
// options.saveLocal.
bool applyMerged(LinkDocument& doc, const QString& targetName, const LocalSide& local,
                 const SyncTree& merged, const SyncOptions& options, QString& error);

// Why a sync left the database alone after the user edited it meanwhile.
QString changedWhileSyncing();

// The delete guard's question.
QString deleteQuestion(const SideChanges& local, const SideChanges& remote,
                       const QString& targetName);

}  // namespace vorlix::sync
