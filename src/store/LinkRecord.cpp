#include "store/LinkRecord.h"

#include <algorithm>
#include <cstring>

namespace vorlix {

void LinkRecord::setField(int offset, int capacity, std::string_view s) {
  const size_t len = std::min(s.size(), size_t(capacity));
  char* dst = raw.data() + offset;
  // Zero the field's tail so a shortened text leaves no stale characters.
  std::memset(dst, 0, size_t(capacity) + 1);
  dst[0] = char(static_cast<unsigned char>(len));
  if (len > 0) std::memcpy(dst + 1, s.data(), len);
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
