#include "store/LinkList.h"

#include <algorithm>
#include <numeric>

#include "store/Collation.h"

namespace vorlix {

void LinkList::clear() {
  if (journal_ && !records_.empty()) {
    std::vector<std::uint32_t> all(records_.size());
    std::iota(all.begin(), all.end(), 0u);
    journal_->removed(std::move(all), std::move(records_));
  }
  records_.clear();
}

void LinkList::append(const LinkRecord& r) {
  if (journal_) journal_->appended(r);
  records_.push_back(r);
}

void LinkList::replace(size_t i, const LinkRecord& r) {
  if (journal_) journal_->replaced(i, records_[i]);
  records_[i] = r;
}

void LinkList::setFullName(size_t i, std::string_view name) {
  if (journal_) journal_->replaced(i, records_[i]);
  records_[i].setFullName(name);
}

size_t LinkList::removeIf(const std::function<bool(const LinkRecord&)>& pred) {
  if (!journal_) {
    const auto it = std::remove_if(records_.begin(), records_.end(), pred);
    const size_t removed = size_t(records_.end() - it);
    records_.erase(it, records_.end());
    return removed;
  }
  std::vector<std::uint32_t> indices;
  Storage gone;
  size_t to = 0;
  for (size_t from = 0; from < records_.size(); ++from) {
    if (pred(records_[from])) {
      indices.push_back(std::uint32_t(from));
      gone.push_back(records_[from]);
      continue;
    }
    if (to != from) records_[to] = records_[from];
    ++to;
  }
  records_.resize(to);
  const size_t removed = indices.size();
  journal_->removed(std::move(indices), std::move(gone));
  return removed;
}

long LinkList::indexOf(std::string_view name) const {
  for (size_t i = 0; i < records_.size(); ++i)
    if (records_[i].fullName() == name) return long(i);
  return -1;
}

void LinkList::dropSortKeys() { sharedKeyCache().clear(); }

void LinkList::sortByFullName() {
  // The keys of the names are kept for the next sort (see KeyCache).
  KeyCache& cache = sharedKeyCache();
  cache.limit(records_.size());
  std::vector<std::string_view> names(records_.size());
  for (size_t i = 0; i < records_.size(); ++i) names[i] = records_[i].fullName();
  std::vector<std::uint32_t> key;
  cache.keysOf(names, key);

  std::vector<std::uint32_t> order(records_.size());
  std::iota(order.begin(), order.end(), 0u);
  const CollationKeys& keys = cache.keys();
  std::sort(order.begin(), order.end(),
            [&](std::uint32_t a, std::uint32_t b) { return keys.less(key[a], key[b]); });
  if (journal_) journal_->permuted(order);
  Storage sorted;
  sorted.reserve(records_.size());
  for (std::uint32_t i : order) sorted.push_back(records_[i]);
  records_.swap(sorted);
}

}  // namespace vorlix
