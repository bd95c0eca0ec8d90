#include "store/LinkRecord.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <unordered_set>

#include "store/Ansi.h"

namespace vorlix {
namespace {

// The UTF-8 forms of texts stored in Windows-1252, one copy per distinct
// text. Records point into it, so entries live as long as the program: the
// set grows only by distinct accented names and URLs, a few megabytes for
// the biggest databases.
const std::string* internText(std::string&& text) {
  static std::mutex lock;
  static std::unordered_set<std::string> texts;
  const std::lock_guard<std::mutex> guard(lock);
  return &*texts.insert(std::move(text)).first;
}

// The cache entry for stored bytes: null when they are the program text.
const std::string* cacheFor(std::string_view stored) {
  if (isAscii(stored) || isUtf8(stored)) return nullptr;
  return internText(canonicalText(stored));
}

}  // namespace

void LinkRecord::setField(int offset, int capacity, std::string_view bytes) {
  const size_t len = std::min(bytes.size(), size_t(capacity));
  char* dst = raw.data() + offset;
  // Zero the field's tail so a shortened text leaves no stale characters.
  std::memset(dst, 0, size_t(capacity) + 1);
  dst[0] = char(static_cast<unsigned char>(len));
  if (len > 0) std::memcpy(dst + 1, bytes.data(), len);
}

void LinkRecord::setText(int offset, std::string_view text, const std::string*& cache) {
  const std::string bytes = storedBytes(cutToFit(text, size_t(kMaxText)));
  setField(offset, kMaxText, bytes);
  cache = cacheFor(bytes);
}

void LinkRecord::setKind(std::string_view s) { setField(516, kMaxKind, s); }

void LinkRecord::readTexts() {
  name_ = cacheFor(storedFullName());
  url_ = cacheFor(storedUrl());
}

std::uint32_t LinkRecord::dateStamp() const {
  const auto* p = reinterpret_cast<const unsigned char*>(raw.data() + 512);
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
         std::uint32_t(p[3]) << 24;
}

void LinkRecord::setDateStamp(std::uint32_t v) {
  auto* p = reinterpret_cast<unsigned char*>(raw.data() + 512);
  p[0] = v & 0xFF;
  p[1] = (v >> 8) & 0xFF;
  p[2] = (v >> 16) & 0xFF;
  p[3] = (v >> 24) & 0xFF;
}

LinkRecord LinkRecord::make(std::string_view fullName, std::string_view url, std::uint32_t date,
                            std::string_view kind) {
  LinkRecord r;
  r.setFullName(fullName);
  r.setUrl(url);
  r.setDateStamp(date);
  r.setKind(kind);
  return r;
}

}  // namespace vorlix
