#pragma once
// Configuration files, ours and other programs' (registry.reg, Vorlixs.ini,
// mimeapps.list, desktop entries, Firefox's profiles.ini), read so that no
// file can hold the caller up: the open never waits (a FIFO would wait for
// a writer for good), only a regular file is read, and one past the size
// limit is refused rather than cut.
#include <QByteArray>
#include <QList>
#include <QString>

namespace vorlix {

// No configuration file of any real size comes near this.
inline constexpr qint64 kConfigFileMaxBytes = 1 << 20;

// Reads `path` whole into `data`. A missing file is not an error: true with
// `data` empty and `exists` (when given) false. False, with `error` set and
// `data` empty, when the file exists but is no regular file, is larger than
// `maxBytes`, or cannot be read.
bool readConfigFile(const QString& path, QByteArray& data, qint64 maxBytes = kConfigFileMaxBytes,
                    bool* exists = nullptr, QString* error = nullptr);

// One "key=value" line of an INI file such as Firefox's profiles.ini.
struct IniEntry {
  QString section;
  QString key;
  QString value;
};

// The entries of the INI file at `path` in file order, read through
// readConfigFile (so never blocking); comments (';', '#') and lines that are
// no entry are left out. Empty when the file is missing or refused.
QList<IniEntry> readIniFile(const QString& path, qint64 maxBytes = kConfigFileMaxBytes);

}  // namespace vorlix
