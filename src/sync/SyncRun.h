#pragma once
// One sync of a database with its target: lock, read the remote file,
// merge it with the database and the last synced copy, ask before deleting
// many links, keep snapshots of both sides, write the remote file, then the
// database (one undo step, "Sync with <target>"), remember the merged copy,
// unlock. Any failure leaves both sides as they were and says why.
#include <QString>
#include <functional>

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

SyncReport runSync(LinkDocument& doc, SyncTarget& target, const SyncOptions& options);

// The delete guard's question.
QString deleteQuestion(const SideChanges& local, const SideChanges& remote,
                       const QString& targetName);

}  // namespace vorlix::sync
