#pragma once
// Files of any bookmark format, told apart by their content: for the
// command line and the menu, which take whatever the user names.
#include <QString>
#include <cstdint>

#include "interchange/BookmarkFile.h"
#include "interchange/ImportTree.h"

namespace vorlix {

// Reads a bookmark HTML file, an XBEL file, a Firefox places.sqlite or a
// Chromium Bookmarks file into `out`. A file that cannot be read, is too
// large or is none of these is refused with `error` naming it.
bool ReadImportFile(const QString& path, ImportedBookmarks& out, QString* error);

// Reads `path` (ReadImportFile, or a browser source when `browserSource`)
// and builds the records that add it into folder `intoFolder` of
// `existing`: see BuildImport. Reading and building never abort on a lack
// of memory; that, like any failure, comes back as the result's error.
BookmarkImport ImportFileInto(const QString& path, const LinkList& existing,
                              const QString& intoFolder, std::uint32_t importTime);

// The choices of File > Export: a bookmark file or XBEL.
inline constexpr char kExportFilter[] =
    "Bookmark files (*.html *.htm);;XBEL files (*.xbel);;All Files(*.*)";

// Writes the whole database as XBEL when `path` ends in ".xbel" (any letter
// case), else as a bookmark HTML file; atomically, as database files.
bool WriteExportFile(const QString& path, const LinkList& links, QString* error);

// Whether `path` names an XBEL file by its extension.
bool IsXbelPath(const QString& path);

}  // namespace vorlix
