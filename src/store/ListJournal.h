#pragma once
// What one edit did to a LinkList, kept so the edit can be taken back and
// done again. It holds only the records the edit touched (plus, for a sort,
// the new order as runs of unmoved stretches), never a copy of the list.
#include <cstdint>
#include <vector>

#include "store/LinkRecord.h"

namespace vorlix {

class ListJournal {
 public:
  using Storage = std::vector<LinkRecord>;

  // --- recording, called by LinkList while the journal is attached ---
  // Record `index` is about to be overwritten; `before` is its old content.
  void replaced(size_t index, const LinkRecord& before);
  // Records at `indices` (ascending positions before the removal) were removed.
  void removed(std::vector<std::uint32_t>&& indices, Storage&& records);
  void appended(const LinkRecord& record);
  // The list was reordered: new position j holds what was at order[j].
  void permuted(const std::vector<std::uint32_t>& order);
  // The whole content was exchanged; `other` is the content before.
  void exchanged(Storage&& other);

  // --- playing back ---
  // Puts `list` back as it was before the first recorded change.
  void undo(Storage& list);
  // Repeats every recorded change on `list` as it was before them.
  void redo(Storage& list);

  bool empty() const { return entries_.empty(); }
  // Gives back the spare room the recording grew into; call once done.
  void compact();
  // Heap memory held, in bytes.
  size_t memoryBytes() const;

 private:
  struct Run {
    std::uint32_t from;  // first old position
    std::uint32_t length;
  };
  enum class Kind : std::uint8_t { Replace, Remove, Append, Permute, Exchange };
  struct Entry {
    Kind kind;
    std::vector<std::uint32_t> indices;  // Replace, Remove
    Storage records;                     // Replace: the other version; Remove, Append, Exchange
    std::vector<Run> runs;               // Permute
  };
  Entry& tail(Kind kind);

  std::vector<Entry> entries_;
};

}  // namespace vorlix
