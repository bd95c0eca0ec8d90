#include "platform/CommandLine.h"

#include <QFileInfo>

namespace vorlix {

QString databaseArgument(const QStringList& params) {
  if (params.isEmpty()) return QString();
  const QFileInfo file(params.first());
  if (!file.fileName().endsWith(QLatin1String(".ldb"), Qt::CaseInsensitive) || !file.isFile())
    return QString();
  return file.absoluteFilePath();
}

QStringList handOverParams(const QStringList& params) {
  const QString database = databaseArgument(params);
  return database.isEmpty() ? params : QStringList{database};
}

}  // namespace vorlix
