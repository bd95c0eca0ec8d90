#include "store/ListJournal.h"

#include <utility>

namespace vorlix {

ListJournal::Entry& ListJournal::tail(Kind kind) {
  // Runs of replacements or appends share one entry; everything else is an
  // entry of its own because its positions refer to the list of its moment.
  const bool joins = kind == Kind::Replace || kind == Kind::Append;
  if (!joins || entries_.empty() || entries_.back().kind != kind)
    entries_.push_back({kind, {}, {}, {}});
  return entries_.back();
}

void ListJournal::replaced(size_t index, const LinkRecord& before) {
  Entry& e = tail(Kind::Replace);
  e.indices.push_back(std::uint32_t(index));
  e.records.push_back(before);
}

void ListJournal::removed(std::vector<std::uint32_t>&& indices, Storage&& records) {
  if (indices.empty()) return;
  Entry& e = tail(Kind::Remove);
  e.indices = std::move(indices);
  e.records = std::move(records);
}

void ListJournal::appended(const LinkRecord& record) {
  tail(Kind::Append).records.push_back(record);
}

void ListJournal::permuted(const std::vector<std::uint32_t>& order) {
  std::vector<Run> runs;
  for (size_t j = 0; j < order.size(); ++j) {
    if (!runs.empty() && runs.back().from + runs.back().length == order[j])
      ++runs.back().length;
    else
      runs.push_back({order[j], 1});
  }
  if (runs.size() == 1 && runs[0].from == 0) return;  // nothing moved
  if (runs.empty()) return;
  tail(Kind::Permute).runs = std::move(runs);
}

void ListJournal::exchanged(Storage&& other) { tail(Kind::Exchange).records = std::move(other); }

namespace {

// Swaps each recorded record with the list's, newest first when undoing:
// the same operation takes the list back and forth.
void swapReplaced(ListJournal::Storage& list, const std::vector<std::uint32_t>& indices,
                  ListJournal::Storage& records, bool backwards) {
  const size_t n = indices.size();
  for (size_t k = 0; k < n; ++k) {
    const size_t i = backwards ? n - 1 - k : k;
    std::swap(list[indices[i]], records[i]);
  }
}

// Puts the removed records back at their old positions in one pass from the
// end, so each kept record moves at most once.
void reinsert(ListJournal::Storage& list, const std::vector<std::uint32_t>& indices,
              const ListJournal::Storage& records) {
  const size_t kept = list.size();
  list.resize(kept + records.size());
  size_t from = kept;
  size_t to = list.size();
  for (size_t r = records.size(); r-- > 0;) {
    while (to - 1 > indices[r]) list[--to] = list[--from];
    list[--to] = records[r];
  }
}

void removeAt(ListJournal::Storage& list, const std::vector<std::uint32_t>& indices) {
  size_t to = indices.empty() ? list.size() : indices[0];
  size_t next = 0;
  for (size_t from = to; from < list.size(); ++from) {
    if (next < indices.size() && indices[next] == from) {
      ++next;
      continue;
    }
    list[to++] = list[from];
  }
  list.resize(to);
}

}  // namespace

void ListJournal::undo(Storage& list) {
  for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
    Entry& e = *it;
    switch (e.kind) {
      case Kind::Replace:
        swapReplaced(list, e.indices, e.records, true);
        break;
      case Kind::Remove:
        reinsert(list, e.indices, e.records);
        break;
      case Kind::Append:
        list.resize(list.size() - e.records.size());
        break;
      case Kind::Permute: {
        Storage before(list.size());
        size_t j = 0;
        for (const Run& run : e.runs)
          for (std::uint32_t k = 0; k < run.length; ++k) before[run.from + k] = list[j++];
        list.swap(before);
        break;
      }
      case Kind::Exchange:
        list.swap(e.records);
        break;
    }
  }
}

void ListJournal::redo(Storage& list) {
  for (Entry& e : entries_) {
    switch (e.kind) {
      case Kind::Replace:
        swapReplaced(list, e.indices, e.records, false);
        break;
      case Kind::Remove:
        removeAt(list, e.indices);
        break;
      case Kind::Append:
        list.insert(list.end(), e.records.begin(), e.records.end());
        break;
      case Kind::Permute: {
        Storage after;
        after.reserve(list.size());
        for (const Run& run : e.runs)
          after.insert(after.end(), list.begin() + run.from, list.begin() + run.from + run.length);
        list.swap(after);
        break;
      }
      case Kind::Exchange:
        list.swap(e.records);
        break;
    }
  }
}

void ListJournal::compact() {
  for (Entry& e : entries_) {
    e.indices.shrink_to_fit();
    e.records.shrink_to_fit();
    e.runs.shrink_to_fit();
  }
  entries_.shrink_to_fit();
}

size_t ListJournal::memoryBytes() const {
  size_t bytes = entries_.capacity() * sizeof(Entry);
  for (const Entry& e : entries_)
    bytes += e.indices.capacity() * sizeof(std::uint32_t) +
             e.records.capacity() * sizeof(LinkRecord) + e.runs.capacity() * sizeof(Run);
  return bytes;
}

}  // namespace vorlix
