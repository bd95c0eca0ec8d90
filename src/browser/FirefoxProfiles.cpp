#include "browser/FirefoxProfiles.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include "platform/ConfigFile.h"

namespace vorlix {

namespace {

QString profilePath(const QString& root, const QString& path, bool relative) {
  if (path.isEmpty()) return {};
  return QDir::cleanPath(relative ? root + QLatin1Char('/') + path : path);
}

}  // namespace

QStringList FirefoxRoots(const QString& home) {
  const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
  const QString configHome =
      QDir::isAbsolutePath(config) ? QDir::cleanPath(config) : home + QStringLiteral("/.config");
  return {configHome + QStringLiteral("/mozilla/firefox"),
          home + QStringLiteral("/.mozilla/firefox"),
          home + QStringLiteral("/snap/firefox/common/.mozilla/firefox"),
          home + QStringLiteral("/.var/app/org.mozilla.firefox/.mozilla/firefox")};
}

QStringList FirefoxProfileFolders(const QString& root) {
  QStringList found;
  // [Profile*] sections give Path and IsRelative in any order.
  QString section, path;
  bool relative = true;
  auto flush = [&] {
    if (section.startsWith(QLatin1String("Profile"))) found << profilePath(root, path, relative);
    path.clear();
    relative = true;
  };
  for (const IniEntry& e : readIniFile(root + QStringLiteral("/profiles.ini"))) {
    if (e.section != section) {
      flush();
      section = e.section;
    }
    if (e.key == QLatin1String("Path"))
      path = e.value;
    else if (e.key == QLatin1String("IsRelative"))
      relative = e.value != QLatin1String("0");
    else if (e.key == QLatin1String("Default") && e.section.startsWith(QLatin1String("Install")))
      found << profilePath(root, e.value, true);
  }
  flush();
  for (const IniEntry& e : readIniFile(root + QStringLiteral("/installs.ini")))
    if (e.key == QLatin1String("Default")) found << profilePath(root, e.value, true);
  QStringList out;
  for (const QString& p : found)
    if (!p.isEmpty() && !out.contains(p) && QFileInfo(p).isDir()) out << p;
  return out;
}

QString SessionFileOf(const QString& profile) {
  for (const char* name : {"/sessionstore-backups/recovery.jsonlz4", "/sessionstore.jsonlz4"}) {
    const QString file = profile + QLatin1String(name);
    if (QFileInfo(file).isFile()) return file;
  }
  return {};
}

QString LatestSessionFile(const QString& home) {
  QString best;
  QDateTime bestTime;
  for (const QString& root : FirefoxRoots(home)) {
    for (const QString& profile : FirefoxProfileFolders(root)) {
      const QString file = SessionFileOf(profile);
      if (file.isEmpty()) continue;
      const QDateTime t = QFileInfo(file).lastModified();
      if (best.isEmpty() || t > bestTime) {
        best = file;
        bestTime = t;
      }
    }
  }
  return best;
}

}  // namespace vorlix
