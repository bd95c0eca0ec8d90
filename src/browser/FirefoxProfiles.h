#pragma once
// Where Firefox keeps its profiles, and which profile's session was written
// last.
#include <QString>
#include <QStringList>

namespace vorlix {

// Firefox's own folders, in the order they are searched: the one new
// installs use, mozilla/firefox in $XDG_CONFIG_HOME (default `home`/.config),
// then ~/.mozilla/firefox, then the snap's, then the flatpak's.
QStringList FirefoxRoots(const QString& home);

// The profile folders a root's profiles.ini ([Profile*] Path=, IsRelative=,
// [Install*] Default=) and installs.ini (Default=) name, each once, those
// that exist.
QStringList FirefoxProfileFolders(const QString& root);

// A profile's session file: sessionstore-backups/recovery.jsonlz4, else
// sessionstore.jsonlz4; empty when it has neither.
QString SessionFileOf(const QString& profile);

// Of every profile below every root, the session file written last; empty
// when there is none.
QString LatestSessionFile(const QString& home);

}  // namespace vorlix
