#pragma once
// A bookmark source on disk, as every reader opens it and names it in its
// messages.
#include <QByteArray>
#include <QString>

namespace vorlix {

// The file's name in quotes, as every import message shows it.
inline QString quoted(const QString& name) { return QLatin1Char('\'') + name + QLatin1Char('\''); }

// Reads the whole file (a regular file of at most `maxBytes`); false with
// "Cannot read '<path>': <why>." in `error` (when given) otherwise.
bool ReadSourceFile(const QString& path, qint64 maxBytes, QByteArray& bytes, QString* error);

}  // namespace vorlix
