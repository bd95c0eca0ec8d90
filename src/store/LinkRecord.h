#pragma once
// One link or folder: a fixed 528-byte record in the file.
//   0   256  full name  (length byte + up to 255 bytes)
//   256 256  URL        (length byte + up to 255 bytes)
//   512 4    date stamp (little-endian MS-DOS date-time, local time)
//   516 12   kind       (length byte + up to 11 bytes)
// The texts are stored by the rule of store/Ansi.h (Windows-1252 or UTF-8).
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

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

  LinkRecord() = default;
  // A record of the 528 bytes at `bytes`, as a file holds them; call
  // readTexts() before its texts are used.
  explicit LinkRecord(const char* bytes) { std::memcpy(raw.data(), bytes, kRecordSize); }

  // The texts as the program compares and shows them (UTF-8, store/Ansi.h),
  // whichever way they are stored. A length byte larger than its field
  // reads as the field's capacity.
  std::string_view fullName() const {
    return name_ ? std::string_view(*name_) : field(0, kMaxText);
  }
  std::string_view url() const { return url_ ? std::string_view(*url_) : field(256, kMaxText); }
  std::string_view kind() const { return field(516, kMaxKind); }
  std::uint32_t dateStamp() const;
  // The stored bytes of the two texts.
  std::string_view storedFullName() const { return field(0, kMaxText); }
  std::string_view storedUrl() const { return field(256, kMaxText); }

  // Program text, stored by the rule; longer text is cut to the field's
  // capacity between characters (cutToFit).
  void setFullName(std::string_view s) { setText(0, s, name_); }
  void setUrl(std::string_view s) { setText(256, s, url_); }
  void setKind(std::string_view s);
  void setDateStamp(std::uint32_t v);

  // Kind tests compare the whole stored text, letter case included.
  bool isUrl() const { return kind() == kKindUrl; }
  bool isFolder() const { return kind() == kKindFolder; }

  // After `raw` was filled from outside (a file): learns how the texts are
  // stored.
  void readTexts();

  static LinkRecord make(std::string_view fullName, std::string_view url, std::uint32_t date,
                         std::string_view kind);

 private:
  std::string_view field(int offset, int capacity) const {
    const int len = static_cast<unsigned char>(raw[size_t(offset)]);
    return std::string_view(raw.data() + offset + 1, size_t(len < capacity ? len : capacity));
  }
  void setField(int offset, int capacity, std::string_view bytes);
  void setText(int offset, std::string_view text, const std::string*& cache);

  // The UTF-8 form of a text stored in Windows-1252 with bytes beyond ASCII
  // (shared, never freed: see internText); null when the stored bytes are
  // the text already.
  const std::string* name_ = nullptr;
  const std::string* url_ = nullptr;
};

// Records are copied and moved as plain bytes.
static_assert(std::is_trivially_copyable_v<LinkRecord>);

}  // namespace vorlix
