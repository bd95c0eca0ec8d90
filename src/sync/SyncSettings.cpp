#include "sync/SyncSettings.h"

#include "platform/Registry.h"
#include "platform/RegistryHive.h"
#include "sync/SyncState.h"

namespace vorlix::sync {

namespace {

const QString kSyncKey = QStringLiteral("\\SOFTWARE\\Vorlix\\Sync");

QString databaseKey(const QString& databasePath) {
  return kSyncKey + QLatin1Char('\\') + stateKey(databasePath);
}

qint32 integer(const Registry& registry, const QString& own, const QString& name, qint32 fallback) {
  if (const auto mine = registry.readInteger(own, name); mine && *mine >= 0) return *mine;
  if (const auto all = registry.readInteger(kSyncKey, name); all && *all >= 0) return *all;
  return fallback;
}

}  // namespace

SyncSettings loadSyncSettings(const QString& databasePath) {
  const Registry registry(Registry::defaultPath());
  const QString own = databaseKey(databasePath);
  SyncSettings s;
  s.target = storedTarget(databasePath);
  if (const auto user = registry.readString(own, QStringLiteral("User"))) s.user = *user;
  s.encrypt = integer(registry, own, QStringLiteral("Encrypt"), 0) != 0;
  s.onSave = integer(registry, own, QStringLiteral("SyncOnSave"), 0) != 0;
  s.everyMinutes = integer(registry, own, QStringLiteral("SyncEveryMinutes"), 0);
  s.deleteSharePercent = integer(registry, own, QStringLiteral("DeleteSharePercent"), 10);
  return s;
}

bool saveSyncSettings(const QString& databasePath, const SyncSettings& s) {
  Registry registry(Registry::defaultPath());
  const QString own = databaseKey(databasePath);
  return storeTarget(databasePath, s.target) && registry.edit([&](RegistryHive& hive) {
    hive.setValue(own, RegValue::string(QStringLiteral("User"), s.user));
    hive.setValue(own, RegValue::integer(QStringLiteral("Encrypt"), s.encrypt ? 1 : 0));
    hive.setValue(own, RegValue::integer(QStringLiteral("SyncOnSave"), s.onSave ? 1 : 0));
    hive.setValue(own, RegValue::integer(QStringLiteral("SyncEveryMinutes"), s.everyMinutes));
    hive.setValue(own,
                  RegValue::integer(QStringLiteral("DeleteSharePercent"), s.deleteSharePercent));
  });
}

QString passphraseKey(const QString& target) { return QStringLiteral("passphrase:") + target; }

}  // namespace vorlix::sync
