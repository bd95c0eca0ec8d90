#include "platform/ProgramPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace vorlix {
namespace {

const QString kHelpFile = QStringLiteral("vorlix-help.html");

}  // namespace

QString programFolder() { return QCoreApplication::applicationDirPath(); }

QString userDataFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
         QStringLiteral("/Vorlix");
}

QString writableFolderFor(const QString& programDir) {
  const QFileInfo info(programDir);
  if (!programDir.isEmpty() && info.isDir() && info.isWritable()) return programDir;
  const QString data = userDataFolder();
  QDir().mkpath(data);
  return data;
}

QString defaultDatabasePath() {
  return writableFolderFor(programFolder()) + QStringLiteral("/default.ldb");
}

QString saveDialogFolder() { return writableFolderFor(programFolder()); }

QString helpFilePath() {
  const QString beside = programFolder() + QLatin1Char('/') + kHelpFile;
  if (QFileInfo::exists(beside)) return beside;
  const QString installed = QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                                   QStringLiteral("vorlix/") + kHelpFile);
  return installed.isEmpty() ? beside : installed;
}

QString favoritesFolder() {
  const QString home = QDir::homePath();
  const QString favorites = home + QStringLiteral("/Favorites");
  return QFileInfo(favorites).isDir() ? favorites : home;
}

}  // namespace vorlix
