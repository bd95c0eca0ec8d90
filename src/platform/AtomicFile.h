#pragma once
// Whole-file replacement that never leaves a half-written file behind.
#include <QByteArray>
#include <QString>

namespace vorlix {

// Replaces `path` with `data` through replaceFile (store/FileReplace.h),
// creating missing parent folders. On failure `error` (when given) receives
// the reason; the old file stays as it was unless only the folder's sync
// after the rename failed.
bool writeFileAtomically(const QString& path, const QByteArray& data, QString* error = nullptr);

// Reads a whole file. A missing file is not an error: `exists` says which.
// Returns false only when the file exists but cannot be read, or is not a
// regular file (a FIFO would wait for a writer for good). `maxBytes` >= 0
// reads no more than that.
bool readWholeFile(const QString& path, QByteArray& data, bool* exists = nullptr,
                   QString* error = nullptr, qint64 maxBytes = -1);

}  // namespace vorlix
