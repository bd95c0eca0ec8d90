#pragma once
// What each database's sync is set to, in the registry: the target under
// "\SOFTWARE\Vorlix\Sync" (value named by the database's state key), the
// rest under the subkey of that name. A value the database has not set
// falls back to the same value directly under "\SOFTWARE\Vorlix\Sync", the
// setting for every database. Passwords and passphrases are never here:
// they go to the secret store (PasswordStore).
#include <QString>

namespace vorlix::sync {

struct SyncSettings {
  QString target;  // as TargetAddress reads it; empty: none yet
  QString user;
  bool encrypt = false;  // the file is encrypted with a passphrase
  bool onSave = false;   // sync after each Save
  int everyMinutes = 0;  // 0: no timer
  int deleteSharePercent = 10;

  bool operator==(const SyncSettings&) const = default;
};

SyncSettings loadSyncSettings(const QString& databasePath);
bool saveSyncSettings(const QString& databasePath, const SyncSettings& settings);

// The secret-store key of a target's passphrase.
QString passphraseKey(const QString& target);

}  // namespace vorlix::sync
