#pragma once
// The user locale's string comparisons, on Windows-1252 text.
#include <QCollator>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
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
  // True in the C locale, where keys are plain text bytes.
  bool isPlain() const { return plain_; }

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

// Case-insensitive keys kept from one sort to the next: names and captions
// change little between two sorts, and a key costs far more than a lookup.
class KeyCache {
 public:
  std::uint32_t keyOf(std::string_view text);
  const CollationKeys& keys() const { return keys_; }
  size_t size() const { return keys_.size(); }
  // Called before each sort with the number of texts it sorts: forgets
  // everything once the kept texts far outnumber the biggest recent sort, so
  // texts that left the database do not pile up. Key numbers handed out
  // before are void then.
  void limit(size_t sortSize);
  void clear();

 private:
  std::string_view keep(std::string_view text);

  CollationKeys keys_{Qt::CaseInsensitive};
  // The texts live in big blocks, so the map holds no string of its own.
  std::vector<std::unique_ptr<char[]>> blocks_;
  size_t blockUsed_ = 0;
  std::unordered_map<std::string_view, std::uint32_t> ids_;
  size_t biggestSort_ = 0;
};

// The one cache the list sort and the database sort share (per thread).
KeyCache& sharedKeyCache();

}  // namespace vorlix
