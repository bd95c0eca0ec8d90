#pragma once
// The open database: LinkRecords in list order, stored contiguously.
#include <functional>
#include <string_view>
#include <vector>

#include "store/LinkRecord.h"

namespace vorlix {

class LinkList {
 public:
  using Storage = std::vector<LinkRecord>;

  size_t size() const { return records_.size(); }
  bool empty() const { return records_.empty(); }
  const LinkRecord& operator[](size_t i) const { return records_[i]; }
  LinkRecord& operator[](size_t i) { return records_[i]; }
  Storage::const_iterator begin() const { return records_.begin(); }
  Storage::const_iterator end() const { return records_.end(); }
  Storage::iterator begin() { return records_.begin(); }
  Storage::iterator end() { return records_.end(); }

  void clear() { records_.clear(); }
  void append(const LinkRecord& r) { records_.push_back(r); }
  void reserve(size_t n) { records_.reserve(n); }
  void swap(LinkList& other) noexcept { records_.swap(other.records_); }
  Storage& storage() { return records_; }
  const Storage& storage() const { return records_; }

  // Removes every record the predicate accepts, keeping the order of the rest.
  // Returns how many were removed.
  size_t removeIf(const std::function<bool(const LinkRecord&)>& pred);
  // Index of the first record whose full name is exactly `name`, or -1.
  long indexOf(std::string_view name) const;

  // The sorted order: full names by the user locale's case-insensitive
  // comparison. The collation keys of the names are kept for the next sort
  // (sharedKeyCache); dropSortKeys forgets them.
  void sortByFullName();
  static void dropSortKeys();

 private:
  Storage records_;
};

}  // namespace vorlix
