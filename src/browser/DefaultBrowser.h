#pragma once
// The desktop's default web browser: the handler for text/html (else
// x-scheme-handler/http) in the mimeapps.list files, searched in the XDG
// order, and the Exec line of that handler's desktop entry. This stands in
// for the ".HTM" open command of the Windows registry.
#include <QString>
#include <QStringList>
#include <optional>

namespace vorlix {

struct DefaultBrowserEntry {
  QString desktopId;    // "firefox-esr.desktop"
  QString desktopFile;  // where that entry was found
  QString exec;         // its Exec value, string escapes undone
};

// The mimeapps.list files in the order they are consulted: $XDG_CONFIG_HOME,
// each of $XDG_CONFIG_DIRS, then applications/ below $XDG_DATA_HOME and each
// of $XDG_DATA_DIRS; in every folder the desktop-specific
// "<desktop>-mimeapps.list" (for each name in $XDG_CURRENT_DESKTOP, lower
// case) comes before "mimeapps.list". Unset or relative variables take the
// XDG defaults.
QStringList MimeAppsFiles();
// applications/ below $XDG_DATA_HOME and each of $XDG_DATA_DIRS.
QStringList ApplicationFolders();

// The first file in MimeAppsFiles() whose [Default Applications] names, for
// text/html or else for x-scheme-handler/http, a desktop entry that is
// installed (found in ApplicationFolders(), not Hidden, with an Exec line).
// Missing or unreadable files count as naming nothing.
std::optional<DefaultBrowserEntry> FindDefaultBrowser();

// The name (the desktop entry's Name, else its id) of the program the
// desktop opens `scheme` links with (x-scheme-handler/<scheme>, as above);
// empty when none is registered.
QString SchemeHandlerName(const QString& scheme);

// The open command's trims, in this order: cut from the first '%'; drop one
// leading double quote; cut from any double quote left; drop trailing blanks.
QString TrimOpenCommand(QString command);

// The trimmed open command of the default browser for "HTM" or "HTML" (any
// letter case); empty for other extensions or when nothing is registered.
QString AssociatedOpenCommand(const QString& ext);

}  // namespace vorlix
