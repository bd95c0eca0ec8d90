#include "store/LinkList.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>

#include "store/Collation.h"

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

namespace {

// Full names change little between two sorts (an edit touches a few
// records), so their keys are kept from one sort to the next.
struct NameKeyCache {
  struct Hash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
  };
  CollationKeys keys{Qt::CaseInsensitive};
  std::unordered_map<std::string, std::uint32_t, Hash, std::equal_to<>> ids;

  std::uint32_t keyOf(std::string_view name) {
    const auto it = ids.find(name);
    if (it != ids.end()) return it->second;
    const std::uint32_t id = keys.add(name);
    ids.emplace(std::string(name), id);
    return id;
  }
};

NameKeyCache& nameKeyCache() {
  thread_local NameKeyCache cache;
  return cache;
}

}  // namespace

void LinkList::dropSortKeys() {
  NameKeyCache& cache = nameKeyCache();
  cache.ids.clear();
  cache.keys.clear();
}

void LinkList::sortByFullName() {
  NameKeyCache& cache = nameKeyCache();
  // Names that left the database pile up; start afresh before they dominate.
  if (cache.ids.size() > 2 * records_.size() + 1024) {
    cache.ids.clear();
    cache.keys.clear();
  }
  std::vector<std::uint32_t> key(records_.size());
  for (size_t i = 0; i < records_.size(); ++i) key[i] = cache.keyOf(records_[i].fullName());

  std::vector<std::uint32_t> order(records_.size());
  std::iota(order.begin(), order.end(), 0u);
  const CollationKeys& keys = cache.keys;
  std::sort(order.begin(), order.end(),
            [&](std::uint32_t a, std::uint32_t b) { return keys.less(key[a], key[b]); });
  Storage sorted;
  sorted.reserve(records_.size());
  for (std::uint32_t i : order) sorted.push_back(records_[i]);
  records_.swap(sorted);
}

}  // namespace vorlix
