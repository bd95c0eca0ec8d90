#include "sync/SyncState.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include "platform/AtomicFile.h"
#include "platform/Registry.h"

namespace vorlix::sync {

namespace {
const QString kSyncKey = QStringLiteral("\\SOFTWARE\\Vorlix\\Sync");

QString basePath(const QString& databasePath) {
  return stateFolder() + QLatin1Char('/') + stateKey(databasePath) + QStringLiteral(".synced");
}

// The copy in a binary form of its own: reading it back is several times
// quicker than parsing XBEL, which counts at 100,000 links.
constexpr quint32 kMagic = 0x56534231;  // "VSB1"

void writeItems(QDataStream& out, const SyncTree& tree, const SyncItem& folder) {
  for (const int id : folder.children) {
    const SyncItem* item = tree.find(id);
    if (!item) continue;
    out << qint32(item->id) << qint32(item->parent) << item->folder << item->title << item->url;
    if (item->folder) writeItems(out, tree, *item);
  }
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
  QDataStream in(data.mid(newline + 1));
  in.setVersion(QDataStream::Qt_6_0);
  quint32 magic = 0, count = 0;
  qint32 highest = 0;
  in >> magic >> highest >> count;
  if (magic != kMagic) return std::nullopt;
  SyncTree tree;
  tree.reserve(std::min<size_t>(count, size_t(data.size()) / 16) + 1);
  for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
    SyncItem item;
    qint32 id = 0, parent = 0;
    in >> id >> parent >> item.folder >> item.title >> item.url;
    item.id = id;
    const SyncItem* folder = tree.find(parent);
    // A damaged copy is no copy: the merge then makes a union.
    if (!folder || !folder->folder || tree.contains(id)) return std::nullopt;
    tree.add(parent, std::move(item));
  }
  if (in.status() != QDataStream::Ok) return std::nullopt;
  tree.setHighestId(std::max(tree.highestId(), int(highest)));
  return tree;
}

bool saveLastSynced(const QString& databasePath, const QString& target, const SyncTree& tree,
                    QString& error) {
  QByteArray data = target.toUtf8() + '\n';
  QDataStream out(&data, QIODevice::Append);
  out.setVersion(QDataStream::Qt_6_0);
  out << kMagic << qint32(tree.highestId()) << quint32(tree.items().size() - 1);
  writeItems(out, tree, tree.root());
  return writeFileAtomically(basePath(databasePath), data, &error);
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
