#pragma once
// The find filter: records whose description or URL contains the typed text,
// letter case of a to z ignored.
#include <cstdint>
#include <string_view>
#include <vector>

#include "store/Ansi.h"

namespace vorlix {

class LinkList;

inline constexpr size_t kFindMinChars = 3;  // shorter texts do not filter

// A needle of three or more bytes is first looked for in a filter per block
// of kFindBlock records: one bit per hashed three-byte sequence the block's
// texts hold. Only blocks holding every sequence of the needle are scanned,
// which skips most of the text for all but the commonest needles.
inline constexpr size_t kFindBlock = 8;
inline constexpr size_t kFindFilterBits = 4096;

class FindIndex {
 public:
  // Copies the upper-cased descriptions and URLs of every record into one
  // compact buffer and fills the block filters. Call after every change of
  // the LinkList.
  void rebuild(const LinkList& list);
  void clear();
  size_t recordCount() const { return offsets_.empty() ? 0 : offsets_.size() - 1; }

  // Indices (in list order) of the records whose upper-cased description or
  // upper-cased URL contains the upper-cased needle. When the needle
  // contains the previous one, only the previous hits are searched again.
  const std::vector<std::uint32_t>& find(std::string_view needle);
  // The next find scans every record again.
  void resetNarrowing() { haveLast_ = false; }

  // The compact upper-cased text (for measuring against a bare scan).
  std::string_view text() const { return text_; }

 private:
  bool segmentContains(std::uint32_t record, std::string_view upperNeedle) const;
  // Appends to hits_ every record in [from, to) whose text holds `upper`.
  void scan(size_t from, size_t to, std::string_view upper);

  AnsiString text_;                     // per record: DESCRIPTION \0 URL \0
  std::vector<std::uint32_t> offsets_;  // record i spans [offsets_[i], offsets_[i+1])
  std::vector<std::uint64_t> filters_;  // kFindFilterBits per block
  AnsiString lastNeedle_;
  bool haveLast_ = false;
  std::vector<std::uint32_t> hits_;
};

// The find as a plain function, without an index (small lists, tests).
std::vector<std::uint32_t> FindRecords(const LinkList& list, std::string_view needle);

}  // namespace vorlix
