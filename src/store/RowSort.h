#pragma once
// The column sort of the list.
#include <span>
#include <vector>

#include "store/ListRows.h"

namespace vorlix {

// Folder rows (kind "Folder", ".." included) stay on top in the order the
// rebuild gave them; link rows are sorted by the column:
//   0 Description, 1 URL, 4 Path: the locale's case-insensitive order;
//   2 Date: by the date part, an invalid date before every valid one;
//   3 Type: ordinal, letter case counts.
// Descending swaps the operands. Equal rows keep no particular order.
void SortRows(ListRows& rows, int column, bool descending);

// The same order as a permutation: result[i] is the old index of the row
// that goes to position i.
std::vector<size_t> SortedRowOrder(std::span<const ListRow> rows, int column, bool descending);

}  // namespace vorlix
