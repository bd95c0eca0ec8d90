#include "interchange/BrowserSources.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QSet>
#include <algorithm>

#include "interchange/ChromiumBookmarks.h"
#include "interchange/FirefoxPlaces.h"
#include "platform/ConfigFile.h"

namespace vorlix {
namespace {

// Configuration files of browsers are small; anything larger is not one.
constexpr qint64 kMaxConfigBytes = 4 << 20;

QByteArray readConfig(const QString& path) {
  QByteArray bytes;
  // Only a regular file is read, and the open never waits on a FIFO.
  if (!readConfigFile(path, bytes, kMaxConfigBytes)) return {};
  return bytes;
}

// An INI file as sections of keys; later keys win.
using Ini = QMap<QString, QMap<QString, QString>>;

Ini readIni(const QString& path) {
  Ini ini;
  for (const IniEntry& e : readIniFile(path, kMaxConfigBytes)) ini[e.section][e.key] = e.value;
  return ini;
}

struct Family {
  const char* browser;
  const char* key;
  bool firefox;
  // Folders below the home folder ('~') or the XDG config folder ('@').
  std::vector<const char*> roots;
};

const std::vector<Family>& families() {
  static const std::vector<Family> kFamilies = {
      {"Firefox",
       "firefox",
       true,
       {"~/.mozilla/firefox", "@/mozilla/firefox", "~/snap/firefox/common/.mozilla/firefox",
        "~/.var/app/org.mozilla.firefox/.mozilla/firefox",
        "~/.var/app/org.mozilla.firefox/config/mozilla/firefox"}},
      {"LibreWolf",
       "librewolf",
       true,
       {"~/.librewolf", "@/librewolf/librewolf", "~/snap/librewolf/common/.librewolf",
        "~/.var/app/io.gitlab.librewolf-community/.librewolf",
        "~/.var/app/io.gitlab.librewolf-community/config/librewolf/librewolf"}},
      {"Waterfox",
       "waterfox",
       true,
       {"~/.waterfox", "@/waterfox/waterfox", "~/.var/app/net.waterfox.waterfox/.waterfox"}},
      {"Chrome",
       "chrome",
       false,
       {"@/google-chrome", "@/google-chrome-beta", "@/google-chrome-unstable",
        "~/.var/app/com.google.Chrome/config/google-chrome"}},
      {"Chromium",
       "chromium",
       false,
       {"@/chromium", "~/snap/chromium/common/chromium",
        "~/.var/app/org.chromium.Chromium/config/chromium"}},
      {"Brave",
       "brave",
       false,
       {"@/BraveSoftware/Brave-Browser", "~/snap/brave/current/.config/BraveSoftware/Brave-Browser",
        "~/.var/app/com.brave.Browser/config/BraveSoftware/Brave-Browser"}},
      {"Vivaldi",
       "vivaldi",
       false,
       {"@/vivaldi", "@/vivaldi-snapshot", "~/.var/app/com.vivaldi.Vivaldi/config/vivaldi"}},
      {"Edge",
       "edge",
       false,
       {"@/microsoft-edge", "@/microsoft-edge-beta", "@/microsoft-edge-dev",
        "~/.var/app/com.microsoft.Edge/config/microsoft-edge"}},
      {"Opera",
       "opera",
       false,
       {"@/opera", "@/opera-beta", "~/snap/opera/current/.config/opera",
        "~/.var/app/com.opera.Opera/config/opera"}},
  };
  return kFamilies;
}

class Finder {
 public:
  Finder(const QString& home, const QString& config) : home_(home), config_(config) {}

  std::vector<BrowserSource> run() {
    for (const Family& f : families())
      for (const char* root : f.roots) {
        const QString dir = (root[0] == '~' ? home_ : config_) + QLatin1String(root + 1);
        if (!QFileInfo(dir).isDir()) continue;
        f.firefox ? firefoxProfiles(f, dir) : chromiumProfiles(f, dir);
      }
    // Default profiles first within each browser, keeping the rest's order.
    QStringList browsers;
    for (const BrowserSource& s : found_)
      if (!browsers.contains(s.browser)) browsers << s.browser;
    std::stable_sort(found_.begin(), found_.end(), [&](const auto& a, const auto& b) {
      const qsizetype ia = browsers.indexOf(a.browser), ib = browsers.indexOf(b.browser);
      if (ia != ib) return ia < ib;
      return a.isDefault && !b.isDefault;
    });
    return std::move(found_);
  }

 private:
  void add(BrowserSource s) {
    const QString canonical = QFileInfo(s.path).canonicalFilePath();
    if (canonical.isEmpty() || seen_.contains(canonical)) return;
    seen_.insert(canonical);
    found_.push_back(std::move(s));
  }

  // profiles.ini lists the profiles; an install's Default (in installs.ini
  // or an [Install...] section) names the one that install starts with,
  // which wins over the older Default=1 mark.
  void firefoxProfiles(const Family& f, const QString& dir) {
    const Ini profiles = readIni(dir + QStringLiteral("/profiles.ini"));
    const Ini installs = readIni(dir + QStringLiteral("/installs.ini"));
    QSet<QString> installDefaults;
    for (const Ini* ini : {&profiles, &installs})
      for (auto it = ini->begin(); it != ini->end(); ++it)
        if ((ini == &installs || it.key().startsWith(QLatin1String("Install"))) &&
            !it.value().value(QStringLiteral("Default")).isEmpty())
          installDefaults.insert(QDir::cleanPath(it.value().value(QStringLiteral("Default"))));
    struct Profile {
      QString name, folder;
      bool marked;
    };
    std::vector<Profile> list;
    for (auto it = profiles.begin(); it != profiles.end(); ++it) {
      if (!it.key().startsWith(QLatin1String("Profile"))) continue;
      const auto& keys = it.value();
      const QString path = keys.value(QStringLiteral("Path"));
      if (path.isEmpty()) continue;
      const bool relative =
          keys.value(QStringLiteral("IsRelative"), QStringLiteral("1")) == QLatin1String("1");
      list.push_back({keys.value(QStringLiteral("Name"), path),
                      relative ? dir + QLatin1Char('/') + path : path,
                      keys.value(QStringLiteral("Default")) == QLatin1String("1")});
      if (!installDefaults.isEmpty())
        list.back().marked = installDefaults.contains(QDir::cleanPath(path));
    }
    if (profiles.isEmpty()) {
      // No profiles.ini: every profile folder that holds bookmarks.
      for (const QFileInfo& fi :
           QDir(dir).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        list.push_back({fi.fileName(), fi.filePath(), false});
    }
    for (const Profile& p : list) {
      const QString places = p.folder + QStringLiteral("/places.sqlite");
      if (!QFileInfo(places).isFile()) continue;
      BrowserSource s;
      s.browser = QLatin1String(f.browser);
      s.key = QLatin1String(f.key);
      // Debian's and others' ESR builds share the folder; the profile says
      // which program last ran it.
      if (s.key == QLatin1String("firefox") &&
          readIni(p.folder + QStringLiteral("/compatibility.ini"))
              .value(QStringLiteral("Compatibility"))
              .value(QStringLiteral("LastPlatformDir"))
              .contains(QLatin1String("esr"))) {
        s.browser = QStringLiteral("Firefox ESR");
        s.key = QStringLiteral("firefox-esr");
      }
      s.profile = p.name;
      s.path = places;
      s.firefox = true;
      s.isDefault = p.marked || list.size() == 1;
      add(std::move(s));
    }
  }

  // "Local State" names the profiles and the one used last; every profile
  // folder (and, for Opera, the folder itself) holding a Bookmarks file is
  // a source.
  void chromiumProfiles(const Family& f, const QString& dir) {
    const QJsonObject profile =
        QJsonDocument::fromJson(readConfig(dir + QStringLiteral("/Local State")))
            .object()
            .value(QLatin1String("profile"))
            .toObject();
    const QJsonObject names = profile.value(QLatin1String("info_cache")).toObject();
    QString last = profile.value(QLatin1String("last_used")).toString();
    auto bookmarksOf = [&](const QString& folder) {
      return dir + (folder.isEmpty() ? QString() : QLatin1Char('/') + folder) +
             QStringLiteral("/Bookmarks");
    };
    QStringList folders{QString()};
    for (const QFileInfo& fi :
         QDir(dir).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
      if (QFileInfo(bookmarksOf(fi.fileName())).isFile()) folders << fi.fileName();
    // A profile used last that has no bookmarks (or is gone) leaves the
    // default to the first profile.
    if (!folders.contains(last)) last = folders.value(1);
    for (const QString& folder : folders) {
      const QString file = bookmarksOf(folder);
      if (!QFileInfo(file).isFile()) continue;
      BrowserSource s;
      s.browser = QLatin1String(f.browser);
      s.key = QLatin1String(f.key);
      const QString shown = names.value(folder).toObject().value(QLatin1String("name")).toString();
      s.profile = !shown.isEmpty() ? shown : folder.isEmpty() ? QStringLiteral("Default") : folder;
      s.path = file;
      s.isDefault = folder.isEmpty() || folder == last;
      add(std::move(s));
    }
  }

  QString home_, config_;
  std::vector<BrowserSource> found_;
  QSet<QString> seen_;
};

}  // namespace

std::vector<BrowserSource> FindBrowserSources(const QString& home, const QString& configHome) {
  return Finder(home, configHome).run();
}

std::vector<BrowserSource> FindBrowserSources() {
  const QString home = QDir::homePath();
  QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (config.isEmpty() || !QDir::isAbsolutePath(config)) config = home + QStringLiteral("/.config");
  return FindBrowserSources(home, config);
}

bool ReadBrowserSource(const BrowserSource& source, ImportedBookmarks& out, QString* error) {
  return source.firefox ? ReadFirefoxPlaces(source.path, out, error)
                        : ReadChromiumBookmarks(source.path, out, error);
}

void CountLinks(std::vector<BrowserSource>& sources) {
  for (BrowserSource& s : sources) {
    ImportedBookmarks tree;
    s.links = 0;
    if (!ReadBrowserSource(s, tree, nullptr)) continue;
    qsizetype n = 0;
    std::vector<const ImportedFolder*> todo{&tree.root};
    while (!todo.empty()) {
      const ImportedFolder* f = todo.back();
      todo.pop_back();
      n += qsizetype(f->links.size());
      for (const ImportedFolder& sub : f->folders) todo.push_back(&sub);
    }
    s.links = n;
  }
}

QString SourceFolderName(const BrowserSource& source) {
  return source.browser + QStringLiteral(" (") + source.profile + QLatin1Char(')');
}

const BrowserSource* DefaultSource(const std::vector<BrowserSource>& sources,
                                   const QString& desktopId) {
  if (sources.empty()) return nullptr;
  const QString id = desktopId.toLower();
  // Desktop entry names hold these words ("firefox-esr.desktop",
  // "org.chromium.Chromium.desktop", "brave-browser.desktop", ...); the
  // more specific come first.
  static const char* const kWords[][2] = {
      {"librewolf", "librewolf"}, {"waterfox", "waterfox"}, {"firefox", "firefox"},
      {"chromium", "chromium"},   {"chrome", "chrome"},     {"brave", "brave"},
      {"vivaldi", "vivaldi"},     {"edge", "edge"},         {"opera", "opera"}};
  for (const auto& w : kWords) {
    if (!id.contains(QLatin1String(w[0]))) continue;
    const QString key = QLatin1String(w[1]);
    for (const BrowserSource& s : sources)
      if (s.isDefault && s.key.startsWith(key)) return &s;
    for (const BrowserSource& s : sources)
      if (s.key.startsWith(key)) return &s;
  }
  for (const BrowserSource& s : sources)
    if (s.isDefault) return &s;
  return &sources.front();
}

const BrowserSource* FindSource(const std::vector<BrowserSource>& sources, const QString& wanted) {
  const QFileInfo asPath(wanted);
  if (asPath.exists()) {
    const QString canonical = asPath.canonicalFilePath();
    for (const BrowserSource& s : sources) {
      const QFileInfo file(s.path);
      if (file.canonicalFilePath() == canonical || file.absoluteDir().canonicalPath() == canonical)
        return &s;
    }
    return nullptr;
  }
  for (const BrowserSource& s : sources)
    if (s.isDefault && (s.key.compare(wanted, Qt::CaseInsensitive) == 0 ||
                        s.browser.compare(wanted, Qt::CaseInsensitive) == 0))
      return &s;
  for (const BrowserSource& s : sources)
    if (s.key.compare(wanted, Qt::CaseInsensitive) == 0 ||
        s.browser.compare(wanted, Qt::CaseInsensitive) == 0)
      return &s;
  // "firefox" also finds Firefox ESR, when that is all there is.
  for (const BrowserSource& s : sources)
    if (s.isDefault && !wanted.isEmpty() && s.key.startsWith(wanted, Qt::CaseInsensitive))
      return &s;
  return nullptr;
}

}  // namespace vorlix
