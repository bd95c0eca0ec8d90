#include "store/UniqueNames.h"

#include <algorithm>

#include "store/LinkRecord.h"

namespace vorlix {
namespace {

// FNV-1a over the upper-cased bytes, then a final mix for the table.
std::uint64_t keyOf(std::string_view a, std::string_view b = {}) {
  std::uint64_t h = 0xcbf29ce484222325ULL;
  for (std::string_view s : {a, b})
    for (char c : s) {
      h ^= static_cast<unsigned char>(upperAscii(c));
      h *= 0x100000001b3ULL;
    }
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdULL;
  h ^= h >> 33;
  return h ? h : 1;  // 0 marks a free slot
}

}  // namespace

bool UniqueNames::take(std::uint64_t key) {
  if ((used_ + 1) * 2 > taken_.size()) {
    std::vector<std::uint64_t> old(std::max<size_t>(1024, taken_.size() * 2), 0);
    old.swap(taken_);
    used_ = 0;
    for (std::uint64_t k : old)
      if (k) take(k);
  }
  const size_t mask = taken_.size() - 1;
  for (size_t i = size_t(key) & mask;; i = (i + 1) & mask) {
    if (taken_[i] == key) return false;
    if (taken_[i] == 0) {
      taken_[i] = key;
      ++used_;
      return true;
    }
  }
}

void UniqueNames::reserve(std::string_view fullName) {
  if (!fullName.empty() && fullName.back() == '\\') fullName.remove_suffix(1);
  take(keyOf(fullName));
}

AnsiString UniqueNames::claim(std::string_view folderPath, std::string_view name, bool folder,
                              bool* cut, size_t limit) {
  // What follows the name (" (n)", a folder's '\') is ASCII, which takes
  // one byte in either encoding of the field.
  const size_t room = std::min(limit, size_t(kMaxText)) - (folder ? 1 : 0);
  const size_t pathSize = storedSize(folderPath);
  const auto fitted = [&](std::string_view base, size_t tail) -> AnsiString {
    // Stored text never takes more bytes than its UTF-8 here, so a name
    // whose UTF-8 fits needs neither the stored size nor a cut.
    if (folderPath.size() + base.size() + tail <= room) return AnsiString(base);
    AnsiString full(folderPath);
    full.append(base);
    if (storedSize(full) + tail <= room) return AnsiString(base);
    if (cut) *cut = true;
    full = cutToFit(full, room - tail);
    return full.size() > folderPath.size() ? full.substr(folderPath.size()) : AnsiString();
  };
  if (pathSize >= room) return {};
  const AnsiString whole = fitted(name, 0);
  if (whole.empty() && !name.empty()) return {};
  name = whole;
  const std::uint64_t key = keyOf(folderPath, name);
  if (take(key)) {
    AnsiString full;
    full.reserve(folderPath.size() + name.size() + 1);
    full.append(folderPath).append(name);
    if (folder) full.push_back('\\');
    return full;
  }

  // Go on from the last number given for this name, so that many equal
  // names cost no more than distinct ones.
  int& next = nextNumber_.try_emplace(key, 2).first->second;
  for (;; ++next) {
    const AnsiString suffix = " (" + std::to_string(next) + ")";
    if (pathSize + suffix.size() >= room) return {};
    const AnsiString base = fitted(name, suffix.size());
    const AnsiString full = AnsiString(folderPath) + base + suffix;
    if (take(keyOf(full))) {
      ++next;
      return folder ? full + '\\' : full;
    }
  }
}

}  // namespace vorlix
