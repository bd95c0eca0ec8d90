#include "store/LinkList.h"

#include <QCollator>
#include <algorithm>
#include <numeric>

#include "store/Ansi.h"

namespace vorlix {

size_t LinkList::removeIf(const std::function<bool(const LinkRecord&)>& pred) {
  const auto it = std::remove_if(records_.begin(), records_.end(), pred);
  const size_t removed = size_t(records_.end() - it);
  records_.erase(it, records_.end());
  return removed;
}

long LinkList::indexOf(std::string_view name) const {
  for (size_t i = 0; i < records_.size(); ++i)
    if (records_[i].fullName() == name) return long(i);
  return -1;
}

void LinkList::sortByFullName() {
  // Sort keys once per record, then sort indices by key: far cheaper than a
  // locale comparison per pair.
  QCollator c;
  c.setCaseSensitivity(Qt::CaseInsensitive);
  std::vector<QCollatorSortKey> keys;
  keys.reserve(records_.size());
  for (const LinkRecord& r : records_) keys.push_back(c.sortKey(fromAnsi(r.fullName())));
  std::vector<size_t> order(records_.size());
  std::iota(order.begin(), order.end(), size_t(0));
  std::sort(order.begin(), order.end(),
            [&](size_t a, size_t b) { return keys[a].compare(keys[b]) < 0; });
  Storage sorted;
  sorted.reserve(records_.size());
  for (size_t i : order) sorted.push_back(records_[i]);
  records_.swap(sorted);
}

}  // namespace vorlix
