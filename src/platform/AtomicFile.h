#pragma once
// Whole-file replacement that never leaves a half-written file behind.
#include <QByteArray>
#include <QString>

namespace vorlix {

// Writes `data` to a temporary file beside `path`, syncs it, renames it over
// `path` and syncs the folder. Creates missing parent folders. On failure the
// old file stays as it was and `error` (when given) receives the reason.
bool writeFileAtomically(const QString& path, const QByteArray& data, QString* error = nullptr);

// Reads a whole file. A missing file is not an error: `exists` says which.
// Returns false only when the file exists but cannot be read. `maxBytes`
// >= 0 reads no more than that.
bool readWholeFile(const QString& path, QByteArray& data, bool* exists = nullptr,
                   QString* error = nullptr, qint64 maxBytes = -1);

}  // namespace vorlix
