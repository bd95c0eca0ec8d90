#pragma once
// The user locale's string comparisons, on program text (store/Ansi.h).
#include <QCollator>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct UCollator;

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
  ~CollationKeys();
  CollationKeys(const CollationKeys&) = delete;
  CollationKeys& operator=(const CollationKeys&) = delete;
  void reserve(size_t n);
  void clear();
  size_t size() const { return bytewise() ? offsets_.size() : keys_.size(); }
  // Adds the key of `text` and returns its number.
  std::uint32_t add(std::string_view text);
  // Adds the keys of all `texts`, numbered on from size(). A big batch is
  // shared among a few threads: the keys are most of a first sort's time.
  void addAll(const std::vector<std::string_view>& texts);
  int compare(std::uint32_t a, std::uint32_t b) const;
  bool less(std::uint32_t a, std::uint32_t b) const { return compare(a, b) < 0; }
  // True in the C locale, where keys are plain text bytes.
  bool isPlain() const { return plain_; }

 private:
  bool bytewise() const { return plain_ || icu_ != nullptr; }

  QCollator collator_;
  // In the C locale the collator's own keys ignore the case setting, so the
  // keys are the (case-folded) text in UTF-8, compared bytewise.
  bool plain_ = false;
  // Otherwise, where ICU is at hand, the keys come from an ICU collator set
  // up as QCollator sets up its own: one buffer instead of an allocation
  // per key, and no QString on the way.
  UCollator* icu_ = nullptr;
  Qt::CaseSensitivity cs_;
  std::string bytes_;
  std::vector<std::uint32_t> offsets_;  // start of key i; ends at the next
  std::vector<QCollatorSortKey> keys_;  // only without ICU
  std::vector<bool> empty_;             // with keys_: QCollator puts "" first, its keys may not
};

// Case-insensitive keys kept from one sort to the next: names and captions
// change little between two sorts, and a key costs far more than a lookup.
class KeyCache {
 public:
  std::uint32_t keyOf(std::string_view text);
  // keyOf for each of `texts`, into `ids`; the missing keys are made in one
  // batch (see CollationKeys::addAll).
  void keysOf(const std::vector<std::string_view>& texts, std::vector<std::uint32_t>& ids);
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
  size_t blockUsed_ = 0;                        // of the last block
  std::vector<std::unique_ptr<char[]>> apart_;  // texts too big for a block
  std::unordered_map<std::string_view, std::uint32_t> ids_;
  size_t biggestSort_ = 0;
};

// The one cache the list sort and the database sort share (per thread).
KeyCache& sharedKeyCache();

}  // namespace vorlix
