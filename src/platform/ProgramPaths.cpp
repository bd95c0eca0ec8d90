#include "platform/ProgramPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "platform/ProfileStrings.h"

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

QString fileDialogFolder(bool forSaving) {
  const auto usable = [forSaving](const QString& folder) {
    const QFileInfo info(folder);
    return !folder.isEmpty() && info.isDir() && (!forSaving || info.isWritable());
  };
  const QString last = readRememberedOpenFolder();
  if (usable(last)) return last;
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (usable(documents)) return documents;
  return QDir::homePath();
}

void rememberFileDialogFolder(const QString& file) {
  writeRememberedOpenFolder(QFileInfo(file).absolutePath() + QLatin1Char('/'));
}

QString helpFilePath() {
  const QString beside = programFolder() + QLatin1Char('/') + kHelpFile;
  if (QFileInfo::exists(beside)) return beside;
  const QString installed = QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                                   QStringLiteral("vorlix/") + kHelpFile);
  return installed.isEmpty() ? beside : installed;
}

QStringList helpFilePlaces() {
  QStringList places{programFolder() + QLatin1Char('/') + kHelpFile};
  for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
    places << dir + QStringLiteral("/vorlix/") + kHelpFile;
  return places;
}

QString favoritesFolder() {
  const QString home = QDir::homePath();
  const QString favorites = home + QStringLiteral("/Favorites");
  return QFileInfo(favorites).isDir() ? favorites : home;
}

}  // namespace vorlix
