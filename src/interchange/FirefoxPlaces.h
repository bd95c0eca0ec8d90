#pragma once
// Firefox's bookmarks (and those of its family: ESR, LibreWolf, Waterfox)
// from a profile's `places.sqlite`, read without disturbing a running
// browser.
#include <QString>

#include "interchange/ImportTree.h"

namespace vorlix {

// The menu, toolbar, other and mobile roots each become a folder (an empty
// mobile root is left out), with their folders and links, titles, URLs and
// `dateAdded` (microseconds) as the date. Separators, tags and keyword
// searches are skipped and counted.
//
// The database is never opened for writing and never locked: a file with a
// write-ahead log beside it (a running Firefox) is read from a private copy
// taken together with the log, any other straight from the file opened
// `immutable`. What is no places database is refused with `error`.
bool ReadFirefoxPlaces(const QString& path, ImportedBookmarks& out, QString* error);

}  // namespace vorlix
