#pragma once
// INI files read and written by the Windows profile-string rules: section and
// key names ignore letter case, values are trimmed and lose one pair of
// surrounding quotes, anything missing gives the default, and a read fills a
// buffer of a given size, so the value is cut at size - 1 characters.
// Files hold Windows-1252 bytes; lines may end in CR LF or LF.
//
// QSettings is no substitute: it splits values at commas and reads @Variant.
#include <QByteArray>
#include <QString>
#include <string_view>

#include "store/Ansi.h"

namespace vorlix {

// The rules on a file's content, for callers that hold it already.
AnsiString profileStringIn(const QByteArray& content, std::string_view section,
                           std::string_view key, std::string_view defaultValue, int bufferSize);
// The content with `key` of `section` set to `value`: an existing key keeps
// its line's place, a new key goes after the section's last entry, a new
// section at the end. Every other line stays byte for byte.
QByteArray withProfileString(const QByteArray& content, std::string_view section,
                             std::string_view key, std::string_view value);

AnsiString readProfileString(const QString& file, std::string_view section, std::string_view key,
                             std::string_view defaultValue, int bufferSize);
// Replaces the file atomically. Fails, leaving the file alone, when it
// cannot be read or written, when `value` holds a line break, or when the
// value would not read back as written.
bool writeProfileString(const QString& file, std::string_view section, std::string_view key,
                        std::string_view value, QString* error = nullptr);

// Vorlixs.ini in $XDG_CONFIG_HOME/Vorlix/: the folder the Open dialog last
// took a file from, ending in a separator. Empty when none is remembered;
// the caller ignores a folder that no longer exists.
QString vorlixsIniPath();
QString readRememberedOpenFolder();
bool writeRememberedOpenFolder(const QString& folder);

// The "URL" value of an Internet Shortcut file; empty when the file cannot
// be read or lacks it.
AnsiString readShortcutUrl(const QString& urlFile);

}  // namespace vorlix
