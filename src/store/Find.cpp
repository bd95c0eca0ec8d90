#include "store/Find.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "store/LinkList.h"
#include "store/Paths.h"

namespace vorlix {
namespace {

// Upper-cases a to z while copying; written branch-free so it vectorises.
char* copyUpper(char* dst, std::string_view s) {
  for (char c : s) *dst++ = char(c - ((c >= 'a' && c <= 'z') ? 32 : 0));
  return dst;
}

constexpr size_t kFilterWords = kFindFilterBits / 64;

// The filter bit of the three bytes at p.
inline std::uint32_t trigramBit(const char* p) {
  const std::uint32_t v = std::uint32_t(static_cast<unsigned char>(p[0])) << 16 |
                          std::uint32_t(static_cast<unsigned char>(p[1])) << 8 |
                          std::uint32_t(static_cast<unsigned char>(p[2]));
  return (v * 0x9E3779B1u) >> (32 - 12);
}
static_assert(kFindFilterBits == 1u << 12);

}  // namespace

void FindIndex::clear() {
  text_.clear();
  offsets_.clear();
  filters_.clear();
  hits_.clear();
  haveLast_ = false;
}

void FindIndex::rebuild(const LinkList& list) {
  clear();
  size_t total = 0;
  for (const LinkRecord& r : list) total += FileNameView(r.fullName()).size() + r.url().size() + 2;
  text_.resize(total);
  offsets_.reserve(list.size() + 1);
  char* const base = text_.data();
  char* p = base;
  for (const LinkRecord& r : list) {
    offsets_.push_back(std::uint32_t(p - base));
    // The separators cannot occur in a typed needle, so no match spans the
    // description and the URL.
    p = copyUpper(p, FileNameView(r.fullName()));
    *p++ = '\0';
    p = copyUpper(p, r.url());
    *p++ = '\0';
  }
  offsets_.push_back(std::uint32_t(text_.size()));

  // The block filters. Sequences across a separator get bits too: no
  // needle holds one, so they only cost a little selectivity, and the loop
  // stays free of branches.
  const size_t blocks = (list.size() + kFindBlock - 1) / kFindBlock;
  filters_.assign(blocks * kFilterWords, 0);
  for (size_t b = 0; b < blocks; ++b) {
    std::uint64_t* f = filters_.data() + b * kFilterWords;
    const size_t from = offsets_[b * kFindBlock];
    const size_t to = offsets_[std::min(list.size(), (b + 1) * kFindBlock)];
    const auto* u = reinterpret_cast<const unsigned char*>(base);
    std::uint32_t v = to - from >= 2 ? std::uint32_t(u[from]) << 8 | u[from + 1] : 0;
    for (size_t i = from + 2; i < to; ++i) {
      v = (v << 8 | u[i]) & 0xFFFFFF;
      const std::uint32_t bit = (v * 0x9E3779B1u) >> (32 - 12);
      f[bit / 64] |= std::uint64_t(1) << (bit % 64);
    }
  }
}

void FindIndex::scan(size_t from, size_t to, std::string_view upper) {
  if (from >= to) return;
  const char* base = text_.data();
  const char* p = base + offsets_[from];
  const char* end = base + offsets_[to];
  size_t rec = from;
  while (p < end) {
    const void* m = ::memmem(p, size_t(end - p), upper.data(), upper.size());
    if (!m) break;
    const auto at = std::uint32_t(static_cast<const char*>(m) - base);
    // The records are in offset order, so walk forward to the match.
    while (offsets_[rec + 1] <= at) ++rec;
    hits_.push_back(std::uint32_t(rec));
    p = base + offsets_[rec + 1];  // one hit per record is enough
  }
}

bool FindIndex::segmentContains(std::uint32_t record, std::string_view upperNeedle) const {
  const std::string_view seg(text_.data() + offsets_[record],
                             offsets_[record + 1] - offsets_[record]);
  return seg.find(upperNeedle) != std::string_view::npos;
}

const std::vector<std::uint32_t>& FindIndex::find(std::string_view needle) {
  const AnsiString upper = upperAscii(needle);
  if (upper.empty()) {
    // Every record contains the empty text.
    hits_.resize(recordCount());
    for (std::uint32_t i = 0; i < hits_.size(); ++i) hits_[i] = i;
  } else if (haveLast_ && upper.find(lastNeedle_) != AnsiString::npos) {
    // A longer needle can only match where the shorter one did.
    std::vector<std::uint32_t> narrowed;
    for (std::uint32_t i : hits_)
      if (segmentContains(i, upper)) narrowed.push_back(i);
    hits_.swap(narrowed);
  } else if (upper.size() < 3) {
    hits_.clear();
    scan(0, recordCount(), upper);
  } else {
    hits_.clear();
    // The needle's sequences, each as its word and bit in a block filter.
    std::vector<std::pair<std::uint32_t, std::uint64_t>> need;
    for (size_t i = 0; i + 3 <= upper.size(); ++i) {
      const std::uint32_t bit = trigramBit(upper.data() + i);
      need.emplace_back(bit / 64, std::uint64_t(1) << (bit % 64));
    }
    const size_t records = recordCount();
    const size_t blocks = (records + kFindBlock - 1) / kFindBlock;
    for (size_t b = 0; b < blocks; ++b) {
      const std::uint64_t* f = filters_.data() + b * kFilterWords;
      bool maybe = true;
      for (const auto& [word, mask] : need)
        if (!(f[word] & mask)) {
          maybe = false;
          break;
        }
      if (maybe) scan(b * kFindBlock, std::min(records, (b + 1) * kFindBlock), upper);
    }
  }
  lastNeedle_ = upper;
  haveLast_ = true;
  return hits_;
}

std::vector<std::uint32_t> FindRecords(const LinkList& list, std::string_view needle) {
  FindIndex index;
  index.rebuild(list);
  return index.find(needle);
}

}  // namespace vorlix
