#pragma once
// One link or folder: a fixed 528-byte record, identical in memory and file.
//   0   256  full name  (length byte + up to 255 characters)
//   256 256  URL        (length byte + up to 255 characters)
//   512 4    date stamp (little-endian MS-DOS date-time, local time)
//   516 12   kind       (length byte + up to 11 characters)
#include <array>
#include <cstdint>
#include <string_view>

namespace vorlix {

inline constexpr int kRecordSize = 528;
inline constexpr int kMaxText = 255;
inline constexpr int kMaxKind = 11;
inline constexpr std::string_view kKindUrl = "Url";
inline constexpr std::string_view kKindFolder = "Folder";

struct LinkRecord {
  // The bytes exactly as loaded; setters rewrite only their own field, so an
  // unchanged record is written back byte for byte.
  std::array<char, kRecordSize> raw{};

  // A length byte larger than its field reads as the field's capacity.
  std::string_view fullName() const { return field(0, kMaxText); }
  std::string_view url() const { return field(256, kMaxText); }
  std::string_view kind() const { return field(516, kMaxKind); }
  std::uint32_t dateStamp() const;

  // Longer text is cut to the field's capacity.
  void setFullName(std::string_view s) { setField(0, kMaxText, s); }
  void setUrl(std::string_view s) { setField(256, kMaxText, s); }
  void setKind(std::string_view s) { setField(516, kMaxKind, s); }
  void setDateStamp(std::uint32_t v);

  // Kind tests compare the whole stored text, letter case included.
  bool isUrl() const { return kind() == kKindUrl; }
  bool isFolder() const { return kind() == kKindFolder; }

  static LinkRecord make(std::string_view fullName, std::string_view url, std::uint32_t date,
                         std::string_view kind);

 private:
  std::string_view field(int offset, int capacity) const {
    const int len = static_cast<unsigned char>(raw[size_t(offset)]);
    return std::string_view(raw.data() + offset + 1, size_t(len < capacity ? len : capacity));
  }
  void setField(int offset, int capacity, std::string_view s);
};

static_assert(sizeof(LinkRecord) == kRecordSize);

}  // namespace vorlix
