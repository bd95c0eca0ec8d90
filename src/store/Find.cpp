#include "store/Find.h"

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

}  // namespace

void FindIndex::clear() {
  text_.clear();
  offsets_.clear();
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
  } else {
    hits_.clear();
    const char* base = text_.data();
    const char* end = base + text_.size();
    const char* p = base;
    size_t rec = 0;
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
