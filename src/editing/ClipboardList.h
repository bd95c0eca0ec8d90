#pragma once
// The program's own clipboard, and the same shape for the drag list: copies
// of records named relative to the folder they came from, and one entry per
// row copied.
#include <string_view>
#include <vector>

#include "store/Ansi.h"
#include "store/LinkRecord.h"

namespace vorlix {

// One copied or dragged row.
struct TransferRow {
  AnsiString caption;
  AnsiString kind;  // the row's kind text
  // Where the row's records live: the source folder, or for a link of the
  // flat listing its own folder (the row's Path column).
  AnsiString folder;

  bool isFolder() const { return kind == kKindFolder; }
  // The entry as one line of text: caption '=' kind.
  AnsiString text() const { return caption + '=' + kind; }
};

class TransferList {
 public:
  // Copies whose full-name field holds the name relative to the source
  // folder: "Daily" for a link, "Sub\" and "Sub\Daily" for a folder.
  std::vector<LinkRecord> records;
  // The current folder path when the list was filled.
  AnsiString sourceFolder;
  std::vector<TransferRow> rows;

  bool empty() const { return records.empty(); }
  void clear();
  // Takes out the records of a folder row (names beginning with name + '\')
  // or of a link row (names equal to name).
  void dropFolderRecords(std::string_view name);
  void dropLinkRecords(std::string_view name);
};

// Owned by the window next to the database. Kept across New and Open, so
// records can be pasted into another database; New only forgets the source
// folder.
class ClipboardList : public TransferList {
 public:
  void forgetSourceFolder() { sourceFolder.clear(); }
  // Records directly in the source folder first, then by relative folder
  // (the locale's case-insensitive order).
  void sortByFolder();
};

}  // namespace vorlix
