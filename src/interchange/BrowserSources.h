#pragma once
// The bookmarks of the browsers installed for this user: the Firefox family
// (Firefox, Firefox ESR, LibreWolf, Waterfox) with their profiles'
// places.sqlite, and the Chromium family (Chrome, Chromium, Brave, Vivaldi,
// Edge, Opera) with every profile's Bookmarks file, in their usual, snap
// and flatpak folders.
#include <QString>
#include <vector>

#include "interchange/ImportTree.h"

namespace vorlix {

struct BrowserSource {
  QString browser;         // "Firefox", "Firefox ESR", "Chromium", ...
  QString key;             // "firefox", "firefox-esr", "chromium", ... for scripts
  QString profile;         // the profile's name as the browser shows it
  QString path;            // its places.sqlite or Bookmarks file
  bool firefox = false;    // places.sqlite, else Chromium's JSON
  bool isDefault = false;  // the profile the browser starts with
  qsizetype links = -1;    // -1 until counted
};

// Every source below `home`, with `configHome` as $XDG_CONFIG_HOME. Browsers
// come in the order above; a browser's default profile comes first. A
// profile whose file is missing is left out; the same file reached twice
// (a link, a second folder) is listed once.
std::vector<BrowserSource> FindBrowserSources(const QString& home, const QString& configHome);
// The same for $HOME and $XDG_CONFIG_HOME (else ~/.config).
std::vector<BrowserSource> FindBrowserSources();

// Reads a source's bookmarks.
bool ReadBrowserSource(const BrowserSource& source, ImportedBookmarks& out, QString* error);
// Fills `links` of each source by reading it; one that cannot be read
// counts 0.
void CountLinks(std::vector<BrowserSource>& sources);

// The folder an import of `source` goes into: "Firefox (default-release)".
QString SourceFolderName(const BrowserSource& source);

// The source a desktop entry of the default browser (such as
// "firefox-esr.desktop") stands for: that browser's default profile. With no
// entry, or one of a browser not found, the first default profile found.
// Null when `sources` is empty.
const BrowserSource* DefaultSource(const std::vector<BrowserSource>& sources,
                                   const QString& desktopId);

// The source `wanted` names: the path of a source's file (or its profile
// folder), or a browser's key or name ("firefox", "Brave") for its default
// profile. Null when none matches.
const BrowserSource* FindSource(const std::vector<BrowserSource>& sources, const QString& wanted);

}  // namespace vorlix
