#include "platform/ConfigFile.h"

#include "platform/AtomicFile.h"

namespace vorlix {

bool readConfigFile(const QString& path, QByteArray& data, qint64 maxBytes, bool* exists,
                    QString* error) {
  // One byte more than allowed tells a file at the limit from a longer one.
  if (!readWholeFile(path, data, exists, error, maxBytes + 1)) return false;
  if (data.size() <= maxBytes) return true;
  data.clear();
  if (error) *error = QStringLiteral("%1 is larger than %2 bytes").arg(path).arg(maxBytes);
  return false;
}

}  // namespace vorlix
