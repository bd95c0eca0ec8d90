#include "store/IoResult.h"

#include <cerrno>
#include <cstring>

namespace vorlix {

IoResult IoResult::failure(int err) {
  switch (err) {
    case ENOENT:
    case ENOTDIR:
      return failure(err, QStringLiteral("File not found"));
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return failure(err, QStringLiteral("File access denied"));
    case ENOSPC:
    case EDQUOT:
      return failure(err, QStringLiteral("Disk full"));
    default:
      return failure(err, QStringLiteral("I/O error %1 (%2)")
                              .arg(err)
                              .arg(QString::fromLocal8Bit(std::strerror(err))));
  }
}

IoResult IoResult::failure(int err, const QString& message) {
  IoResult r;
  r.ok = false;
  r.error = err;
  r.message = message;
  return r;
}

}  // namespace vorlix
