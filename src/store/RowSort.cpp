#include "store/RowSort.h"

#include <algorithm>
#include <numeric>

#include "store/Collation.h"
#include "store/DosDate.h"

namespace vorlix {
namespace {

// Date part of a stamp as a sortable number; 0 (before everything) when the
// stamp names no valid date, which is also when its cell is empty.
std::uint32_t dateKey(std::uint32_t stamp) {
  return isValidDosDateTime(stamp) ? (stamp >> 16) + 1 : 0;
}

std::string_view textOf(const ListRow& r, int column) {
  switch (column) {
    case ColUrl:
      return r.url;
    case ColType:
      return r.kind;
    case ColPath:
      return r.path;
    default:
      return r.caption;
  }
}

}  // namespace

std::vector<size_t> SortedRowOrder(std::span<const ListRow> rows, int column, bool descending) {
  std::vector<size_t> order(rows.size());
  std::iota(order.begin(), order.end(), size_t(0));
  // Folder rows keep their rebuild order ahead of the links.
  const auto linksBegin = std::stable_partition(order.begin(), order.end(),
                                                [&](size_t i) { return rows[i].isFolder(); });
  const size_t firstLink = size_t(linksBegin - order.begin());
  const size_t n = order.size() - firstLink;
  if (n < 2) return order;

  // Keys are computed once per link row; the sort then compares keys only.
  std::vector<size_t> links(linksBegin, order.end());
  auto finish = [&](auto&& less) {
    if (descending)
      std::sort(links.begin(), links.end(), [&](size_t a, size_t b) { return less(b, a); });
    else
      std::sort(links.begin(), links.end(), less);
    std::copy(links.begin(), links.end(), order.begin() + std::ptrdiff_t(firstLink));
  };

  if (column == ColDate) {
    std::vector<std::uint32_t> keys(rows.size());
    for (size_t i : links) keys[i] = dateKey(rows[i].date);
    finish([&](size_t a, size_t b) { return keys[a] < keys[b]; });
  } else if (column == ColType) {
    finish([&](size_t a, size_t b) { return rows[a].kind < rows[b].kind; });
  } else {
    // Clicking the same header again, or sorting the same links in another
    // column, finds most keys already made.
    KeyCache& cache = sharedKeyCache();
    cache.limit(rows.size());
    std::vector<std::string_view> texts(links.size());
    for (size_t k = 0; k < links.size(); ++k) texts[k] = textOf(rows[links[k]], column);
    std::vector<std::uint32_t> made;
    cache.keysOf(texts, made);
    std::vector<std::uint32_t> slot(rows.size());
    for (size_t k = 0; k < links.size(); ++k) slot[links[k]] = made[k];
    const CollationKeys& keys = cache.keys();
    finish([&](size_t a, size_t b) { return keys.less(slot[a], slot[b]); });
  }
  return order;
}

void SortRows(ListRows& rows, int column, bool descending) {
  rows.reorder(SortedRowOrder(rows.all(), column, descending));
}

}  // namespace vorlix
