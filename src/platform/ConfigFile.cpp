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

QList<IniEntry> readIniFile(const QString& path, qint64 maxBytes) {
  QList<IniEntry> out;
  QByteArray bytes;
  if (!readConfigFile(path, bytes, maxBytes)) return out;
  QString section;
  for (const QByteArray& raw : bytes.split('\n')) {
    const QString line = QString::fromUtf8(raw).trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
      continue;
    if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
      section = line.mid(1, line.size() - 2);
      continue;
    }
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq > 0) out.push_back({section, line.left(eq).trimmed(), line.mid(eq + 1).trimmed()});
  }
  return out;
}

}  // namespace vorlix
