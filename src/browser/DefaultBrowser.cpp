#include "browser/DefaultBrowser.h"

#include <QDir>
#include <QFileInfo>

#include "platform/ConfigFile.h"

namespace vorlix {

namespace {

QString envPath(const char* name, const QString& fallback) {
  const QString v = qEnvironmentVariable(name);
  return QDir::isAbsolutePath(v) ? QDir::cleanPath(v) : fallback;
}

QStringList envPathList(const char* name, const QStringList& fallback) {
  QStringList out;
  for (const QString& p : qEnvironmentVariable(name).split(QLatin1Char(':'), Qt::SkipEmptyParts))
    if (QDir::isAbsolutePath(p)) out << QDir::cleanPath(p);
  return out.isEmpty() ? fallback : out;
}

QString dataHome() {
  return envPath("XDG_DATA_HOME", QDir::homePath() + QStringLiteral("/.local/share"));
}

QStringList dataDirs() {
  return envPathList("XDG_DATA_DIRS",
                     {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")});
}

// The general string escapes of desktop files; the backslashes the Exec
// quoting rules need are left for them.
QString unescapeString(const QString& v) {
  QString out;
  out.reserve(v.size());
  for (qsizetype i = 0; i < v.size(); ++i) {
    if (v[i] != QLatin1Char('\\') || i + 1 >= v.size()) {
      out += v[i];
      continue;
    }
    const QChar e = v[++i];
    if (e == QLatin1Char('s'))
      out += QLatin1Char(' ');
    else if (e == QLatin1Char('n'))
      out += QLatin1Char('\n');
    else if (e == QLatin1Char('t'))
      out += QLatin1Char('\t');
    else if (e == QLatin1Char('r'))
      out += QLatin1Char('\r');
    else if (e == QLatin1Char('\\'))
      out += QLatin1Char('\\');
    else
      out += QLatin1Char('\\') + QString(e);
  }
  return out;
}

// The value of `key` in `group` of a desktop-style key file, raw; null when
// the file, the group or the key is missing.
QString keyFileValue(const QString& file, const QString& group, const QString& key) {
  QByteArray bytes;
  if (!readConfigFile(file, bytes)) return {};
  const QString content = QString::fromUtf8(bytes);
  bool inGroup = false;
  for (QStringView line : QStringView(content).split(QLatin1Char('\n'))) {
    line = line.trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
    if (line.startsWith(QLatin1Char('['))) {
      inGroup = line == QString(QLatin1Char('[') + group + QLatin1Char(']'));
      continue;
    }
    if (!inGroup) continue;
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq > 0 && line.left(eq).trimmed() == key) return line.mid(eq + 1).trimmed().toString();
  }
  return {};
}

std::optional<DefaultBrowserEntry> installedEntry(const QString& id) {
  if (!id.endsWith(QLatin1String(".desktop")) || id.contains(QLatin1Char('/'))) return {};
  // "vendor-app.desktop" may also live in applications/vendor/app.desktop.
  QStringList names{id};
  const qsizetype dash = id.indexOf(QLatin1Char('-'));
  if (dash > 0) names << id.left(dash) + QLatin1Char('/') + id.mid(dash + 1);
  for (const QString& folder : ApplicationFolders()) {
    for (const QString& name : names) {
      const QString file = folder + QLatin1Char('/') + name;
      if (!QFileInfo(file).isFile()) continue;
      // The first entry found for an id hides the others, usable or not.
      const QString group = QStringLiteral("Desktop Entry");
      if (keyFileValue(file, group, QStringLiteral("Hidden")) == QLatin1String("true")) return {};
      const QString exec = keyFileValue(file, group, QStringLiteral("Exec"));
      if (exec.isEmpty()) return {};
      return DefaultBrowserEntry{id, file, unescapeString(exec)};
    }
  }
  return {};
}

std::optional<DefaultBrowserEntry> handlerIn(const QString& mimeapps, const QString& type) {
  const QString ids = keyFileValue(mimeapps, QStringLiteral("Default Applications"), type);
  for (const QString& id : ids.split(QLatin1Char(';'), Qt::SkipEmptyParts))
    if (auto entry = installedEntry(id.trimmed())) return entry;
  return {};
}

}  // namespace

QStringList MimeAppsFiles() {
  QStringList desktops;
  for (const QString& d :
       qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'), Qt::SkipEmptyParts))
    desktops << d.toLower();
  QStringList folders;
  folders << envPath("XDG_CONFIG_HOME", QDir::homePath() + QStringLiteral("/.config"));
  folders << envPathList("XDG_CONFIG_DIRS", {QStringLiteral("/etc/xdg")});
  for (const QString& f : ApplicationFolders()) folders << f;
  QStringList files;
  for (const QString& folder : folders) {
    for (const QString& d : desktops) files << folder + QLatin1Char('/') + d + "-mimeapps.list";
    files << folder + QStringLiteral("/mimeapps.list");
  }
  return files;
}

QStringList ApplicationFolders() {
  QStringList out{dataHome() + QStringLiteral("/applications")};
  for (const QString& d : dataDirs()) out << d + QStringLiteral("/applications");
  return out;
}

std::optional<DefaultBrowserEntry> FindDefaultBrowser() {
  // File by file, so the user's own choice of either type beats a system
  // default for the other.
  for (const QString& file : MimeAppsFiles()) {
    if (auto e = handlerIn(file, QStringLiteral("text/html"))) return e;
    if (auto e = handlerIn(file, QStringLiteral("x-scheme-handler/http"))) return e;
  }
  return {};
}

QString SchemeHandlerName(const QString& scheme) {
  for (const QString& file : MimeAppsFiles()) {
    const auto e = handlerIn(file, QStringLiteral("x-scheme-handler/") + scheme.toLower());
    if (!e) continue;
    const QString name =
        keyFileValue(e->desktopFile, QStringLiteral("Desktop Entry"), QStringLiteral("Name"));
    return name.isEmpty() ? e->desktopId : unescapeString(name);
  }
  return {};
}

QString TrimOpenCommand(QString command) {
  const qsizetype percent = command.indexOf(QLatin1Char('%'));
  if (percent >= 0) command.truncate(percent);
  if (command.startsWith(QLatin1Char('"'))) command.remove(0, 1);
  const qsizetype quote = command.indexOf(QLatin1Char('"'));
  if (quote >= 0) command.truncate(quote);
  while (command.endsWith(QLatin1Char(' '))) command.chop(1);
  return command;
}

QString AssociatedOpenCommand(const QString& ext) {
  if (ext.compare(QLatin1String("HTM"), Qt::CaseInsensitive) != 0 &&
      ext.compare(QLatin1String("HTML"), Qt::CaseInsensitive) != 0)
    return {};
  const auto entry = FindDefaultBrowser();
  return entry ? TrimOpenCommand(entry->exec) : QString();
}

}  // namespace vorlix
