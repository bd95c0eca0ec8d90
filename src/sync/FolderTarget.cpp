#include "sync/FolderTarget.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include "platform/AtomicFile.h"

namespace vorlix::sync {

FolderTarget::FolderTarget(QString filePath) : path_(std::move(filePath)) {
  refresh_.setInterval(kLockRefreshMs);
  QObject::connect(&refresh_, &QTimer::timeout, [this] {
    QFile f(lockPath());
    if (f.open(QIODevice::WriteOnly)) f.write(kLockContent);
  });
}

FolderTarget::~FolderTarget() { unlock(); }

QString FolderTarget::fileName() const { return QFileInfo(path_).fileName(); }

bool FolderTarget::lock(QString& error) {
  const QString folder = QFileInfo(path_).absolutePath();
  if (!QFileInfo(folder).isDir()) {
    error = QStringLiteral("The folder %1 does not exist.").arg(folder);
    return false;
  }
  QElapsedTimer waited;
  waited.start();
  int vanished = 0;
  for (;;) {
    QFile f(lockPath());
    if (f.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
      f.write(kLockContent);
      locked_ = true;
      refresh_.start();
      return true;
    }
    const QFileInfo held(lockPath());
    if (!held.exists()) {
      // The other sync freed its lock between our two looks: try again.
      // A folder we cannot write to ends here after a few tries.
      if (++vanished < 3) continue;
      error = QStringLiteral("Cannot write the lock file %1: %2").arg(lockPath(), f.errorString());
      return false;
    }
    const QDateTime since = held.lastModified();
    if (since.secsTo(QDateTime::currentDateTime()) > kLockStaleSecs) {
      // Stale: the sync that held it ended without freeing it.
      if (!QFile::remove(lockPath()) && QFileInfo::exists(lockPath())) {
        error = QStringLiteral("Cannot remove the stale lock file %1.").arg(lockPath());
        return false;
      }
      continue;
    }
    if (!pauseForLock(waited.elapsed(), since, error)) return false;
  }
}

void FolderTarget::unlock() {
  refresh_.stop();
  if (locked_) QFile::remove(lockPath());
  locked_ = false;
}

bool FolderTarget::fetch(QByteArray& data, bool& exists, QString& error) {
  return readWholeFile(path_, data, &exists, &error);
}

bool FolderTarget::store(const QByteArray& data, QString& error) {
  return writeFileAtomically(path_, data, &error);
}

}  // namespace vorlix::sync
