#pragma once
// Netscape bookmark files (bookmarks.html), the format every browser
// imports and exports: reading one into records, writing records as one.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>

#include "interchange/ImportTree.h"
#include "store/Ansi.h"
#include "store/FitReport.h"
#include "store/LinkList.h"

namespace vorlix {

inline constexpr char kBookmarkFileFilter[] = "Bookmark files (*.html *.htm);;All Files(*.*)";

struct BookmarkImport {
  bool ok = false;
  // The records in file order: each folder's record, then what it holds.
  LinkList links;
  size_t linkCount = 0;
  size_t folderCount = 0;
  // Links left out because the folder they went into already held their URL.
  size_t knownLinks = 0;
  // The folder the import went into ("Favorites\" or a folder below it).
  AnsiString target;
  // Titles cut to fit a record (every character is kept otherwise).
  size_t lossyTitles = 0;
  // Everything cut, merged or skipped, for the summary box.
  FitReport report;
  // Why the file was refused, naming it; empty when ok.
  QString error;
};

// Reads the bookmarks in `bytes` into `out`: <H3> folders and <A HREF>
// links (not those inside a <DD> description), dates from ADD_DATE
// (seconds, or milliseconds and microseconds for the values only those can
// be), titles and URLs decoded (UTF-8, else Windows-1252; character
// references). Any file with a Netscape DOCTYPE, with a <DL> list of items
// or with <DT><A HREF entries is a bookmark file; other bytes are refused
// with `error` naming `fileName`.
bool ParseBookmarkTree(QByteArrayView bytes, const QString& fileName, ImportedBookmarks& out,
                       QString* error);

// ParseBookmarkTree and BuildImport together: the records under
// "Favorites\", `importTime` for an item without a date.
BookmarkImport ParseBookmarks(QByteArrayView bytes, std::uint32_t importTime,
                              const QString& fileName);

// Reads and parses the file at `path`, with the current time as the import
// time. A file that cannot be read, is too large or is no bookmark file is
// refused with a message naming it. (XBEL, places.sqlite and Chromium files
// are read too: see ReadImportFile.)
BookmarkImport ReadBookmarkFile(const QString& path);

// The status bar text after an import.
QString BookmarkImportSummary(const BookmarkImport& result);

// The whole database as a bookmark file in UTF-8, in the shape Firefox and
// Chromium write and read back: one item per line, a <H3> with its own
// <DL><p> block for every folder (also for folders that only exist as the
// parent of other records), links in list order, dates in seconds.
QByteArray FormatBookmarks(const LinkList& links);

// Writes FormatBookmarks(links) to `path` with the same atomic replacement
// as database files; on failure the old file stays and `error` says why.
bool WriteBookmarkFile(const QString& path, const LinkList& links, QString* error = nullptr);

}  // namespace vorlix
