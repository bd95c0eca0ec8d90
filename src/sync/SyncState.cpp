#include "sync/SyncState.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include "platform/AtomicFile.h"
#include "platform/Registry.h"
#include "sync/FloccusXbel.h"

namespace vorlix::sync {

namespace {
const QString kSyncKey = QStringLiteral("\\SOFTWARE\\Vorlix\\Sync");

QString basePath(const QString& databasePath) {
  return stateFolder() + QLatin1Char('/') + stateKey(databasePath) + QStringLiteral(".xbel");
}
}  // namespace

QString stateFolder() {
  QString root = qEnvironmentVariable("XDG_STATE_HOME");
  if (root.isEmpty() || QDir::isRelativePath(root))
    root = QDir::homePath() + QStringLiteral("/.local/state");
  return root + QStringLiteral("/vorlix");
}

QString stateKey(const QString& databasePath) {
  const QFileInfo info(databasePath);
  QString path = info.canonicalFilePath();
  if (path.isEmpty()) path = info.absoluteFilePath();
  const QByteArray hash =
      QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
  return info.completeBaseName() + QLatin1Char('-') + QString::fromLatin1(hash);
}

std::optional<SyncTree> loadLastSynced(const QString& databasePath, const QString& target) {
  QByteArray data;
  bool exists = false;
  if (!readWholeFile(basePath(databasePath), data, &exists) || !exists) return std::nullopt;
  // The first line names the target; the copy belongs to that one only.
  const int newline = data.indexOf('\n');
  if (newline < 0 || QString::fromUtf8(data.left(newline)) != target) return std::nullopt;
  return parseFloccusXbel(data.mid(newline + 1));
}

bool saveLastSynced(const QString& databasePath, const QString& target, const SyncTree& tree,
                    QString& error) {
  return writeFileAtomically(basePath(databasePath),
                             target.toUtf8() + '\n' + writeFloccusXbel(tree), &error);
}

QString keepSnapshots(const QString& databasePath, const QByteArray& database,
                      const QByteArray* remote, QString& error) {
  const QString stamp =
      QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
  const QString stem = stateFolder() + QStringLiteral("/snapshots/") + stateKey(databasePath) +
                       QLatin1Char('-') + stamp;
  if (!writeFileAtomically(stem + QStringLiteral(".ldb"), database, &error)) return {};
  if (remote && !writeFileAtomically(stem + QStringLiteral("-remote.xbel"), *remote, &error))
    return {};
  return stem + QStringLiteral(".ldb");
}

QString targetValueName(const QString& databasePath) { return stateKey(databasePath); }

QString storedTarget(const QString& databasePath) {
  Registry registry(Registry::defaultPath());
  const auto read = registry.readString(kSyncKey, targetValueName(databasePath));
  return read ? *read : QString();
}

bool storeTarget(const QString& databasePath, const QString& target) {
  Registry registry(Registry::defaultPath());
  return registry.writeString(kSyncKey, targetValueName(databasePath), target);
}

}  // namespace vorlix::sync
