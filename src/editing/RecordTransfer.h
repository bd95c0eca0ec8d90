#pragma once
// The record work shared by copy, delete, paste and drag and drop. Each
// function makes one pass over LinkList, whatever the number of rows.
#include <string_view>
#include <unordered_set>
#include <vector>

#include "editing/ClipboardList.h"
#include "store/Ansi.h"
#include "store/FitReport.h"

namespace vorlix {

class LinkList;

// How a link row finds its records: Copy takes the first record of that
// name, a drag every one.
enum class LinkMatch { First, All };

// Copies of the records behind `rows`, row by row, each named relative to
// the row's folder: a link row's records are those named row.folder +
// caption; a folder row's are its own record and everything below it, every
// record beginning with `source` + caption + '\'. Letter case counts.
// With `rowOf`, it receives for each copy the index of the row it came from.
std::vector<LinkRecord> CollectRows(const LinkList& links, std::string_view source,
                                    const std::vector<TransferRow>& rows, LinkMatch match,
                                    std::vector<size_t>* rowOf = nullptr);

// Removes the records behind `rows` (exact names, as CollectRows with
// LinkMatch::All finds them). Returns how many went.
size_t RemoveRows(LinkList& links, std::string_view source, const std::vector<TransferRow>& rows);

// Puts copies of the relative `records` into `target`: each replaces a
// record of exactly the same full name (one existing record per copy), the
// rest is appended. Names are cut to the record's 255 bytes before they
// are compared, so a cut name replaces its own earlier copy; each cut name
// goes into `report` when one is given.
void InsertRecords(LinkList& links, std::string_view target, const std::vector<LinkRecord>& records,
                   FitReport* report = nullptr);

// What a folder holds directly, as its explorer listing shows it: the names
// of its sub-folders and of its links, upper-cased (a to z only).
struct FolderContents {
  std::unordered_set<AnsiString> subfolders;
  std::unordered_set<AnsiString> links;
};
FolderContents ContentsOf(const LinkList& links, std::string_view folder);

// The row that `presses` Down-arrow presses reach in a list of `rowCount`
// rows that has no focused row yet; -1 for none.
int RowAfterDownPresses(int presses, int rowCount);

}  // namespace vorlix
