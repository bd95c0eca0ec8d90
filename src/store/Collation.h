#pragma once
// The user locale's string comparisons, on Windows-1252 text.
#include <QCollator>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorlix {

// < 0, 0 or > 0, letter case ignored.
int compareNoCase(std::string_view a, std::string_view b);
// < 0, 0 or > 0, letter case counts.
int compareCase(std::string_view a, std::string_view b);

// Precomputed sort keys for big sorts: keys compare exactly as compareNoCase
// or compareCase compare their texts, but far cheaper than a comparison
// each time.
class CollationKeys {
 public:
  explicit CollationKeys(Qt::CaseSensitivity cs = Qt::CaseInsensitive);
  void reserve(size_t n);
  void clear();
  size_t size() const { return plain_ ? offsets_.size() : keys_.size(); }
  // Adds the key of `text` and returns its number.
  std::uint32_t add(std::string_view text);
  int compare(std::uint32_t a, std::uint32_t b) const;
  bool less(std::uint32_t a, std::uint32_t b) const { return compare(a, b) < 0; }

 private:
  QCollator collator_;
  // In the C locale the collator's own keys ignore the case setting, so the
  // keys are the (case-folded) text in UTF-8, compared bytewise.
  bool plain_ = false;
  Qt::CaseSensitivity cs_;
  std::string bytes_;
  std::vector<std::uint32_t> offsets_;  // start of key i; ends at the next
  std::vector<QCollatorSortKey> keys_;
};

}  // namespace vorlix
