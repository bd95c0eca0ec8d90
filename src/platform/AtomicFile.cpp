#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

#include "store/FileReplace.h"

namespace vorlix {
namespace {

void setError(QString* error, const QString& text) {
  if (error) *error = text;
}

}  // namespace

bool writeFileAtomically(const QString& path, const QByteArray& data, QString* error) {
  const QString folder = QFileInfo(path).absolutePath();
  if (!QDir().mkpath(folder)) {
    setError(error, QStringLiteral("Cannot create the folder %1").arg(folder));
    return false;
  }
  const IoResult r = replaceFile(path, data.constData(), size_t(data.size()));
  if (!r) setError(error, r.message);
  return r.ok;
}

bool readWholeFile(const QString& path, QByteArray& data, bool* exists, QString* error,
                   qint64 maxBytes) {
  data.clear();
  // O_NONBLOCK: opening a FIFO must not wait for a writer.
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    const int err = errno;
    const bool present = err != ENOENT && err != ENOTDIR;
    if (exists) *exists = present;
    if (!present) return true;
    setError(error, QString::fromLocal8Bit(std::strerror(err)));
    return false;
  }
  if (exists) *exists = true;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    setError(error, QStringLiteral("%1 is not a regular file").arg(path));
    return false;
  }
  QFile file;
  if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
    setError(error, file.errorString());
    return false;
  }
  data = maxBytes >= 0 ? file.read(maxBytes) : file.readAll();
  if (file.error() != QFileDevice::NoError) {
    setError(error, file.errorString());
    data.clear();
    return false;
  }
  return true;
}

}  // namespace vorlix
