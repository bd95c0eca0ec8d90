#pragma once
// Turning bookmarks read from any source into records: the one place that
// names, cuts, merges and dates what an import brings, so every format
// follows the same rules.
#include <QString>
#include <cstdint>

#include "interchange/BookmarkFile.h"
#include "interchange/ImportTree.h"

namespace vorlix {

struct BuildOptions {
  // The date of an item the source gives none.
  std::uint32_t importTime = 0;
  // The records the database holds already, or none: their names are taken,
  // and they count towards the most records a database can hold.
  const LinkList* existing = nullptr;
  // The folder below "Favorites\" to import into, made when missing; empty
  // imports into "Favorites\" itself. A folder that exists is refreshed:
  // its subfolders are reused by name, and links whose URL it already holds
  // anywhere below it are left out, so importing a source again adds only
  // what is new.
  QString intoFolder;
  // Names the source in messages.
  QString sourceName;
};

// The records for `source` in walk order (each folder's record, then what it
// holds), to be appended to `options.existing`. A title keeps every
// character but control characters (line breaks become blanks) and turns
// '\' into '/'; a link without a title is named after its URL; a name used
// twice in a folder gets " (2)"; folders too deep for the record put their
// content into the deepest that fits. Everything cut, merged or skipped is
// listed in the result's report. An import that would take the database
// past kMaxLdbRecords is refused with both counts, and nothing is built.
BookmarkImport BuildImport(const ImportedBookmarks& source, const BuildOptions& options);

// The items an import cut or merged, under a heading per kind, at most
// `maxLines` names; empty when there are none. (The counts of what was
// skipped or already there are in BookmarkImportSummary.)
QString ImportReportText(const BookmarkImport& result, int maxLines = 20);

// The message for an allocation failure while importing `sourceName`.
QString OutOfMemoryMessage(const QString& sourceName);

}  // namespace vorlix
