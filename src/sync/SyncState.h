#pragma once
// What a database remembers between syncs, in $XDG_STATE_HOME/vorlix/ under
// a key made from the database's path: the copy both sides held after the
// last sync and the target it was made with. Losing it costs only a merge
// without it (a union), never a link. Snapshots of both sides, taken before
// a sync changes anything, go to the "snapshots" folder there.
#include <QByteArray>
#include <QString>
#include <optional>

#include "sync/SyncTree.h"

namespace vorlix::sync {

QString stateFolder();
// The key of a database: its file name and a hash of its absolute path.
QString stateKey(const QString& databasePath);

// The last synced copy, when it was made with the same target.
std::optional<SyncTree> loadLastSynced(const QString& databasePath, const QString& target);
bool saveLastSynced(const QString& databasePath, const QString& target, const SyncTree& tree,
                    QString& error);

// Keeps the database file and the remote file as they were, dated; returns
// the database snapshot's path, empty (and `error`) on failure.
QString keepSnapshots(const QString& databasePath, const QByteArray& database,
                      const QByteArray* remote, QString& error);

// The registry value (under "\SOFTWARE\Vorlix\Sync") holding the database's target.
QString targetValueName(const QString& databasePath);
QString storedTarget(const QString& databasePath);
bool storeTarget(const QString& databasePath, const QString& target);

}  // namespace vorlix::sync
