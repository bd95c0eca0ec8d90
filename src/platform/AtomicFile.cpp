#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>

namespace vorlix {
namespace {

void setError(QString* error, const QString& text) {
  if (error) *error = text;
}

// The rename is only durable once the folder entry itself is on disk.
void syncFolder(const QString& folder) {
  const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

bool writeFileAtomically(const QString& path, const QByteArray& data, QString* error) {
  const QString folder = QFileInfo(path).absolutePath();
  if (!QDir().mkpath(folder)) {
    setError(error, QStringLiteral("Cannot create the folder %1").arg(folder));
    return false;
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    setError(error, file.errorString());
    return false;
  }
  if (file.write(data) != data.size() || !file.flush()) {
    setError(error, file.errorString());
    file.cancelWriting();
    return false;
  }
  // QSaveFile::commit() does not report a failing sync, so do it here.
  if (::fdatasync(file.handle()) != 0) {
    setError(error, QString::fromLocal8Bit(std::strerror(errno)));
    file.cancelWriting();
    return false;
  }
  if (!file.commit()) {
    setError(error, file.errorString());
    return false;
  }
  syncFolder(folder);
  return true;
}

bool readWholeFile(const QString& path, QByteArray& data, bool* exists, QString* error,
                   qint64 maxBytes) {
  data.clear();
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    const bool present = QFileInfo::exists(path);
    if (exists) *exists = present;
    if (!present) return true;
    setError(error, file.errorString());
    return false;
  }
  if (exists) *exists = true;
  data = maxBytes >= 0 ? file.read(maxBytes) : file.readAll();
  if (file.error() != QFileDevice::NoError) {
    setError(error, file.errorString());
    data.clear();
    return false;
  }
  return true;
}

}  // namespace vorlix
