#include "interchange/SourceFile.h"

#include "platform/AtomicFile.h"

namespace vorlix {

bool ReadSourceFile(const QString& path, qint64 maxBytes, QByteArray& bytes, QString* error) {
  bool exists = false;
  QString why;
  if (readWholeFile(path, bytes, &exists, &why, maxBytes) && exists) return true;
  if (error)
    *error = QStringLiteral("Cannot read ") + quoted(path) + QStringLiteral(": ") +
             (exists ? why : QStringLiteral("File not found")) + QLatin1Char('.');
  return false;
}

}  // namespace vorlix
