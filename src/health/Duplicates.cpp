#include "health/Duplicates.h"

#include <algorithm>
#include <string_view>

#include "document/DocumentEdit.h"
#include "document/LinkDocument.h"
#include "health/CanonicalUrl.h"
#include "store/DosDate.h"
#include "store/LinkList.h"

namespace vorlix {
namespace {

// FNV-1a over the key: cheap, and only a first sort; equal keys are still
// compared byte for byte.
std::uint64_t hashOf(std::string_view s) {
  std::uint64_t h = 1469598103934665603ull;
  for (char c : s) {
    h ^= static_cast<unsigned char>(c);
    h *= 1099511628211ull;
  }
  return h;
}

struct Entry {
  std::uint64_t hash;
  std::uint32_t index;
  std::uint32_t keyStart;
  std::uint32_t keyLength;
};

// Oldest first; a stamp that is no date says nothing about age and goes last.
bool olderThan(const LinkRecord& a, std::uint32_t ia, const LinkRecord& b, std::uint32_t ib) {
  const bool va = isValidDosDateTime(a.dateStamp());
  const bool vb = isValidDosDateTime(b.dateStamp());
  if (va != vb) return va;
  if (va && a.dateStamp() != b.dateStamp()) return a.dateStamp() < b.dateStamp();
  return ia < ib;
}

}  // namespace

std::vector<DuplicateGroup> findDuplicates(const LinkList& list) {
  std::string keys;
  std::vector<Entry> entries;
  entries.reserve(list.size());
  keys.reserve(list.size() * 48);
  for (size_t i = 0; i < list.size(); ++i) {
    const LinkRecord& r = list[i];
    if (!r.isUrl() || r.url().empty()) continue;
    const size_t start = keys.size();
    appendCanonicalUrl(keys, r.url());
    const std::string_view key(keys.data() + start, keys.size() - start);
    entries.push_back(
        {hashOf(key), std::uint32_t(i), std::uint32_t(start), std::uint32_t(key.size())});
  }
  auto keyOf = [&keys](const Entry& e) {
    return std::string_view(keys.data() + e.keyStart, e.keyLength);
  };
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    return a.hash != b.hash ? a.hash < b.hash : a.index < b.index;
  });

  std::vector<DuplicateGroup> groups;
  for (size_t run = 0; run < entries.size();) {
    size_t end = run + 1;
    while (end < entries.size() && entries[end].hash == entries[run].hash) ++end;
    if (end - run > 1) {
      // Keys of one hash: almost always one key, but a collision must not
      // join two different pages.
      std::stable_sort(entries.begin() + long(run), entries.begin() + long(end),
                       [&](const Entry& a, const Entry& b) { return keyOf(a) < keyOf(b); });
      for (size_t k = run; k < end;) {
        size_t same = k + 1;
        while (same < end && keyOf(entries[same]) == keyOf(entries[k])) ++same;
        if (same - k > 1) {
          DuplicateGroup g;
          g.key = std::string(keyOf(entries[k]));
          for (size_t m = k; m < same; ++m) g.members.push_back(entries[m].index);
          std::sort(g.members.begin(), g.members.end(), [&list](std::uint32_t a, std::uint32_t b) {
            return olderThan(list[a], a, list[b], b);
          });
          groups.push_back(std::move(g));
        }
        k = same;
      }
    }
    run = end;
  }
  std::sort(groups.begin(), groups.end(), [](const DuplicateGroup& a, const DuplicateGroup& b) {
    return *std::min_element(a.members.begin(), a.members.end()) <
           *std::min_element(b.members.begin(), b.members.end());
  });
  return groups;
}

long mergeDuplicates(LinkDocument& doc, const std::vector<DuplicateGroup>& groups,
                     const std::vector<std::uint32_t>& keep, const QString& stepName) {
  const LinkList& list = doc.links();
  if (keep.size() != groups.size()) return -1;
  std::vector<bool> drop(list.size(), false);
  long dropped = 0;
  for (size_t g = 0; g < groups.size(); ++g) {
    const DuplicateGroup& group = groups[g];
    if (std::find(group.members.begin(), group.members.end(), keep[g]) == group.members.end())
      return -1;
    for (std::uint32_t m : group.members) {
      if (m >= list.size() || !list[m].isUrl() || canonicalUrl(list[m].url()) != group.key)
        return -1;
      if (m != keep[g] && !drop[m]) {
        drop[m] = true;
        ++dropped;
      }
    }
  }
  if (dropped == 0) return 0;
  DocumentEdit edit(doc, stepName);
  const LinkRecord* first = edit.links().storage().data();
  edit.links().removeIf([&](const LinkRecord& r) { return drop[size_t(&r - first)]; });
  edit.commit();
  return dropped;
}

}  // namespace vorlix
