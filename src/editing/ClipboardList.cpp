#include "editing/ClipboardList.h"

#include <QCollator>
#include <algorithm>
#include <unordered_map>

#include "store/Paths.h"

namespace vorlix {

void TransferList::clear() {
  records.clear();
  sourceFolder.clear();
  rows.clear();
}

void TransferList::dropFolderRecords(std::string_view name) {
  const AnsiString prefix = AnsiString(name) + '\\';
  std::erase_if(records, [&](const LinkRecord& r) { return startsWith(r.fullName(), prefix); });
}

void TransferList::dropLinkRecords(std::string_view name) {
  std::erase_if(records, [&](const LinkRecord& r) { return r.fullName() == name; });
}

void ClipboardList::sortByFolder() {
  // Copies of one folder share few distinct paths: one collation key each.
  QCollator collator;
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  std::unordered_map<std::string_view, size_t> keyOf;
  std::vector<QCollatorSortKey> keys;
  std::vector<size_t> keyIndex;
  keyIndex.reserve(records.size());
  for (const LinkRecord& r : records) {
    const std::string_view path = FilePathView(r.fullName());
    auto [it, fresh] = keyOf.try_emplace(path, keys.size());
    if (fresh) keys.push_back(collator.sortKey(fromAnsi(path)));
    keyIndex.push_back(it->second);
  }
  std::vector<size_t> order(records.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    return keys[keyIndex[a]].compare(keys[keyIndex[b]]) < 0;
  });
  std::vector<LinkRecord> sorted;
  sorted.reserve(records.size());
  for (size_t i : order) sorted.push_back(records[i]);
  records.swap(sorted);
}

}  // namespace vorlix
