#pragma once
// Building the rows of the link list from the records, and moving through
// folders from the list.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "store/FolderPosition.h"
#include "store/ListRows.h"

namespace vorlix {

class LinkList;
struct LinkRecord;

// Progress of a rebuild: start(max) with max = the number of records in the
// LinkList (also for a find list), one step() per source record, finish().
class RebuildProgress {
 public:
  virtual ~RebuildProgress() = default;
  virtual void start(int max) = 0;
  virtual void step() = 0;
  virtual void finish() = 0;
};

// The list of the current folder.
//   Explorer style (flatMode false): a ".." row first when the up marker is
//   set, then one row per subfolder (whatever lies below it), then the records
//   directly in the folder, in source order. Each new subfolder row goes next
//   to the one added before it, after it when its name compares greater, else
//   before it: sorted records give name order, reversed ones reverse order.
//   Flat (classic style, or a find): every "Url" record in or below the
//   current folder, each with its folder path.
ListRows BuildRows(const LinkList& source, const FolderPosition& pos, bool flatMode,
                   RebuildProgress* progress = nullptr);
// The same over the records of `all` named by `subset` (a find's hits), in
// that order; the progress maximum is still all.size().
ListRows BuildRows(const LinkList& all, std::span<const std::uint32_t> subset,
                   const FolderPosition& pos, bool flatMode, RebuildProgress* progress = nullptr);

// The ".." row; its texts are literals.
ListRow UpRow();

// Entering the folder row `caption` from the list.
void EnterFolder(FolderPosition& pos, std::string_view caption);
// Going up from the list with the ".." row. Returns the name of the folder
// being left, whose row the list then moves to.
AnsiString GoUp(FolderPosition& pos);

// The first row, searching from `start` and wrapping around, whose caption
// begins with `prefix` (letter case of a to z ignored); -1 when none.
int FindRowByCaptionPrefix(std::span<const ListRow> rows, std::string_view prefix, int start = 0);

// The full name of the record behind a row: for a link row the folder path
// (the current one in explorer style, the row's own in a flat listing) +
// caption; for a subfolder row the folder's path, ending in '\'; empty for
// the ".." row.
AnsiString RowFullName(const ListRow& row, const FolderPosition& pos, bool flatMode);

}  // namespace vorlix
