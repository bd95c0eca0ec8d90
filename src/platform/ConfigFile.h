#pragma once
// Configuration files, ours and other programs' (registry.reg, Vorlixs.ini,
// mimeapps.list, desktop entries, Firefox's profiles.ini), read so that no
// file can hold the caller up: the open never waits (a FIFO would wait for
// a writer for good), only a regular file is read, and one past the size
// limit is refused rather than cut.
#include <QByteArray>
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

}  // namespace vorlix
