#pragma once
// Chromium's `Bookmarks` file (Chrome, Chromium, Brave, Vivaldi, Edge,
// Opera): JSON with the roots bookmark_bar, other and synced.
#include <QByteArray>
#include <QString>

#include "interchange/ImportTree.h"

namespace vorlix {

// Each root becomes a folder under its own name (an empty "synced" root is
// left out); `date_added` (microseconds since 1601) becomes the date. Bytes
// that are no such file are refused with `error` naming `fileName`.
bool ParseChromiumBookmarks(const QByteArray& json, const QString& fileName, ImportedBookmarks& out,
                            QString* error);

// Reads the file at `path` (never blocking on anything but a regular file)
// and parses it.
bool ReadChromiumBookmarks(const QString& path, ImportedBookmarks& out, QString* error);

}  // namespace vorlix
