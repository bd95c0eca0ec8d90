#pragma once
// The open database: LinkRecords in list order, stored contiguously.
#include <functional>
#include <string_view>
#include <vector>

#include "store/LinkRecord.h"
#include "store/ListJournal.h"

namespace vorlix {

class LinkList {
 public:
  using Storage = std::vector<LinkRecord>;

  size_t size() const { return records_.size(); }
  bool empty() const { return records_.empty(); }
  const LinkRecord& operator[](size_t i) const { return records_[i]; }
  Storage::const_iterator begin() const { return records_.begin(); }
  Storage::const_iterator end() const { return records_.end(); }

  // Every change goes through the members below, which tell the attached
  // journal (if any) what they change, so an edit can be undone.
  void clear();
  void append(const LinkRecord& r);
  void replace(size_t i, const LinkRecord& r);
  void setFullName(size_t i, std::string_view name);
  void reserve(size_t n) { records_.reserve(n); }
  // Exchanges the whole content; not journaled (for lists being built).
  void swap(LinkList& other) noexcept { records_.swap(other.records_); }
  // Direct access for filling a fresh list (loading); bypasses the journal.
  Storage& storage() { return records_; }
  const Storage& storage() const { return records_; }

  // While a journal is attached, every change is recorded into it.
  void setJournal(ListJournal* journal) { journal_ = journal; }
  ListJournal* journal() const { return journal_; }

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
  ListJournal* journal_ = nullptr;
};

}  // namespace vorlix
