#include "platform/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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
