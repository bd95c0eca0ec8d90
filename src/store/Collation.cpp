#include "store/Collation.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <exception>
#include <thread>

#include "store/Ansi.h"

#ifdef VORLIX_HAVE_ICU
#include <unicode/ucol.h>
#endif

namespace vorlix {
namespace {

const QCollator& collator(Qt::CaseSensitivity cs) {
  // One collator per thread and sensitivity: constructing one is costly.
  thread_local QCollator noCase = [] {
    QCollator c;
    c.setCaseSensitivity(Qt::CaseInsensitive);
    return c;
  }();
  thread_local QCollator withCase = [] {
    QCollator c;
    c.setCaseSensitivity(Qt::CaseSensitive);
    return c;
  }();
  return cs == Qt::CaseInsensitive ? noCase : withCase;
}

bool isCLocale(const QCollator& c) { return c.locale().language() == QLocale::C; }

int compareBytes(std::string_view x, std::string_view y) {
  const int c = std::memcmp(x.data(), y.data(), std::min(x.size(), y.size()));
  if (c != 0) return c;
  return x.size() < y.size() ? -1 : (x.size() > y.size() ? 1 : 0);
}

#ifdef VORLIX_HAVE_ICU
// Appends the key of `text` to `out`, without ICU's closing zero byte (keys
// hold no other zero, so bytewise order is unchanged). The key of "" stays
// empty: QCollator::compare puts "" before everything, even before text
// ICU ignores altogether.
void appendIcuKey(const UCollator* u, std::string_view text, std::string& out) {
  if (text.empty()) return;
  thread_local std::vector<UChar> units;
  if (isAscii(text)) {
    units.resize(text.size());
    for (size_t i = 0; i < text.size(); ++i) units[i] = UChar(text[i]);
  } else {
    const QString s = fromAnsi(text);
    units.assign(s.utf16(), s.utf16() + s.size());
  }
  const size_t at = out.size();
  size_t room = 16 + text.size() + text.size() / 2;
  for (;;) {
    out.resize(at + room);
    const int32_t need =
        ucol_getSortKey(u, units.data(), int32_t(units.size()),
                        reinterpret_cast<uint8_t*>(out.data() + at), int32_t(room));
    if (need <= 0) {  // cannot happen for valid UTF-16; keep the key empty
      out.resize(at);
      return;
    }
    if (size_t(need) <= room) {
      out.resize(at + size_t(need) - 1);
      return;
    }
    room = size_t(need);
  }
}

// True when keys of `u` order a handful of telling texts as `c` compares
// them. Guards against an ICU other than Qt's, or a locale Qt names
// differently; then the QCollator keys are used.
bool agreesWith(const UCollator* u, const QCollator& c) {
  static const char* const samples[] = {
      "a",  "A",        "b",  "\xE4", "ae",        "AE",           "a b",  "a-b",
      "ab", "Ab",       "10", "9",    "\xC9t\xE9", "ete",          "z",    "\xD6l",
      "oe", "\x8Auvre", "su", "ch",   "cz",        "Favorites\\a", "\xDF", "ss"};
  std::vector<std::string> keys;
  for (const char* s : samples) {
    keys.emplace_back();
    appendIcuKey(u, canonicalText(s), keys.back());
  }
  for (size_t a = 0; a < keys.size(); ++a)
    for (size_t b = 0; b < keys.size(); ++b) {
      const int want = c.compare(fromAnsi(samples[a]), fromAnsi(samples[b]));
      const int got = compareBytes(keys[a], keys[b]);
      if ((want < 0) != (got < 0) || (want > 0) != (got > 0)) return false;
    }
  return true;
}

// An ICU collator set up as Qt's ICU backend sets up `c`'s, or nullptr.
UCollator* openLike(const QCollator& c) {
  UErrorCode status = U_ZERO_ERROR;
  const QByteArray name = c.locale().bcp47Name().replace(u'-', u'_').toLatin1();
  UCollator* u = ucol_open(name.constData(), &status);
  if (U_FAILURE(status)) return nullptr;
  // As Qt does: names may hold combining marks in any order.
  ucol_setAttribute(u, UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
  ucol_setAttribute(
      u, UCOL_STRENGTH,
      c.caseSensitivity() == Qt::CaseSensitive ? UCOL_DEFAULT_STRENGTH : UCOL_SECONDARY, &status);
  ucol_setAttribute(u, UCOL_NUMERIC_COLLATION, c.numericMode() ? UCOL_ON : UCOL_OFF, &status);
  ucol_setAttribute(u, UCOL_ALTERNATE_HANDLING,
                    c.ignorePunctuation() ? UCOL_SHIFTED : UCOL_NON_IGNORABLE, &status);
  // The check costs a few hundred comparisons: once per thread and case.
  thread_local int verdict[2] = {-1, -1};
  int& ok = verdict[c.caseSensitivity() == Qt::CaseSensitive ? 1 : 0];
  if (!U_FAILURE(status) && ok < 0) ok = agreesWith(u, c) ? 1 : 0;
  if (U_FAILURE(status) || ok == 0) {
    ucol_close(u);
    return nullptr;
  }
  return u;
}
#endif

}  // namespace

int compareNoCase(std::string_view a, std::string_view b) {
  return collator(Qt::CaseInsensitive).compare(fromAnsi(a), fromAnsi(b));
}

int compareCase(std::string_view a, std::string_view b) {
  return collator(Qt::CaseSensitive).compare(fromAnsi(a), fromAnsi(b));
}

CollationKeys::CollationKeys(Qt::CaseSensitivity cs) : collator_(collator(cs)), cs_(cs) {
  plain_ = isCLocale(collator_);
#ifdef VORLIX_HAVE_ICU
  if (!plain_) icu_ = openLike(collator_);
#endif
}

CollationKeys::~CollationKeys() {
#ifdef VORLIX_HAVE_ICU
  if (icu_) ucol_close(icu_);
#endif
}

void CollationKeys::reserve(size_t n) {
  if (bytewise()) {
    offsets_.reserve(n + 1);
    bytes_.reserve(n * 64);
  } else {
    keys_.reserve(n);
  }
}

void CollationKeys::clear() {
  bytes_.clear();
  offsets_.clear();
  keys_.clear();
  empty_.clear();
}

std::uint32_t CollationKeys::add(std::string_view text) {
#ifdef VORLIX_HAVE_ICU
  if (icu_) {
    offsets_.push_back(std::uint32_t(bytes_.size()));
    appendIcuKey(icu_, text, bytes_);
    return std::uint32_t(offsets_.size() - 1);
  }
#endif
  if (!plain_) {
    keys_.push_back(collator_.sortKey(fromAnsi(text)));
    empty_.push_back(text.empty());
    return std::uint32_t(keys_.size() - 1);
  }
  // The (case-folded) text in UTF-8, which orders bytewise as the code
  // points do; per byte from a table for plain ASCII.
  struct Table {
    char bytes[256][4];
    unsigned char size[256];
  };
  static const auto tables = [] {
    std::array<Table, 2> t{};
    for (int folded = 0; folded < 2; ++folded)
      for (int b = 0; b < 256; ++b) {
        const char c = char(b);
        QString ch = fromAnsi(std::string_view(&c, 1));
        if (folded) ch = ch.toCaseFolded();
        const QByteArray u = ch.toUtf8();
        t[size_t(folded)].size[b] = static_cast<unsigned char>(std::min<qsizetype>(u.size(), 4));
        std::memcpy(t[size_t(folded)].bytes[b], u.constData(), t[size_t(folded)].size[b]);
      }
    return t;
  }();
  const Table& t = tables[cs_ == Qt::CaseInsensitive ? 1 : 0];
  offsets_.push_back(std::uint32_t(bytes_.size()));
  if (!isAscii(text)) {
    QString s = fromAnsi(text);
    if (cs_ == Qt::CaseInsensitive) s = s.toCaseFolded();
    bytes_.append(toAnsi(s));
    return std::uint32_t(offsets_.size() - 1);
  }
  for (char c : text) {
    const auto b = static_cast<unsigned char>(c);
    bytes_.append(t.bytes[b], t.size[b]);
  }
  return std::uint32_t(offsets_.size() - 1);
}

void CollationKeys::addAll(const std::vector<std::string_view>& texts) {
#ifdef VORLIX_HAVE_ICU
  // Below this, starting a thread costs about what it saves.
  constexpr size_t kPerThread = 4096;
  const size_t threads = std::min<size_t>(
      {size_t(std::max(1u, std::thread::hardware_concurrency())), 4, texts.size() / kPerThread});
  if (icu_ && threads > 1) {
    // The collator is only read, which ICU allows from many threads at once.
    // Chunk 0 goes straight into bytes_; the others into their own buffers,
    // appended in order afterwards.
    struct Part {
      std::string bytes;
      std::vector<std::uint32_t> offsets;
      std::exception_ptr error;
    };
    std::vector<Part> parts(threads);
    const size_t chunk = (texts.size() + threads - 1) / threads;
    auto work = [&](size_t p) {
      Part& part = parts[p];
      try {
        const size_t end = std::min(texts.size(), (p + 1) * chunk);
        part.offsets.reserve(end - p * chunk);
        for (size_t i = p * chunk; i < end; ++i) {
          part.offsets.push_back(std::uint32_t(part.bytes.size()));
          appendIcuKey(icu_, texts[i], part.bytes);
        }
      } catch (...) {
        part.error = std::current_exception();
      }
    };
    std::vector<std::thread> pool;
    pool.reserve(threads - 1);
    for (size_t p = 1; p < threads; ++p) pool.emplace_back(work, p);
    work(0);
    for (std::thread& t : pool) t.join();
    for (const Part& part : parts)
      if (part.error) std::rethrow_exception(part.error);
    offsets_.reserve(offsets_.size() + texts.size());
    for (const Part& part : parts) {
      const auto base = std::uint32_t(bytes_.size());
      for (std::uint32_t o : part.offsets) offsets_.push_back(base + o);
      bytes_.append(part.bytes);
    }
    return;
  }
#endif
  for (std::string_view t : texts) add(t);
}

int CollationKeys::compare(std::uint32_t a, std::uint32_t b) const {
  if (!bytewise()) {
    if (empty_[a] || empty_[b]) return int(empty_[b]) - int(empty_[a]);
    return keys_[a].compare(keys_[b]);
  }
  auto span = [this](std::uint32_t i) {
    const std::uint32_t from = offsets_[i];
    const std::uint32_t to =
        i + 1 < offsets_.size() ? offsets_[i + 1] : std::uint32_t(bytes_.size());
    return std::string_view(bytes_.data() + from, to - from);
  };
  return compareBytes(span(a), span(b));
}

namespace {
constexpr size_t kBlockSize = size_t(1) << 20;
}

std::string_view KeyCache::keep(std::string_view text) {
  if (text.size() > kBlockSize / 4) {  // never for record texts; kept apart
    apart_.push_back(std::make_unique<char[]>(text.size()));
    std::memcpy(apart_.back().get(), text.data(), text.size());
    return {apart_.back().get(), text.size()};
  }
  if (blocks_.empty() || blockUsed_ + text.size() > kBlockSize) {
    blocks_.push_back(std::make_unique<char[]>(kBlockSize));
    blockUsed_ = 0;
  }
  char* at = blocks_.back().get() + blockUsed_;
  std::memcpy(at, text.data(), text.size());
  blockUsed_ += text.size();
  return {at, text.size()};
}

std::uint32_t KeyCache::keyOf(std::string_view text) {
  // Keys of the C locale cost less to make than to look up.
  if (keys_.isPlain()) return keys_.add(text);
  const auto it = ids_.find(text);
  if (it != ids_.end()) return it->second;
  const std::uint32_t id = keys_.add(text);
  ids_.emplace(keep(text), id);
  return id;
}

void KeyCache::keysOf(const std::vector<std::string_view>& texts, std::vector<std::uint32_t>& ids) {
  ids.resize(texts.size());
  const auto first = std::uint32_t(keys_.size());
  if (keys_.isPlain()) {
    keys_.addAll(texts);
    for (size_t i = 0; i < texts.size(); ++i) ids[i] = first + std::uint32_t(i);
    return;
  }
  // A missing text gets the number its key will have once the batch is in;
  // a repeat within the batch then finds it like any other.
  std::vector<std::string_view> missing;
  const bool fresh = ids_.empty();
  for (size_t i = 0; i < texts.size(); ++i) {
    const auto next = first + std::uint32_t(missing.size());
    if (fresh) {
      // Nothing to find yet: one hash per text; a repeat's copy is given back.
      const std::string_view kept = keep(texts[i]);
      const auto [it, added] = ids_.try_emplace(kept, next);
      if (added)
        missing.push_back(kept);
      else if (kept.size() > kBlockSize / 4)
        apart_.pop_back();
      else
        blockUsed_ -= kept.size();
      ids[i] = it->second;
      continue;
    }
    const auto it = ids_.find(texts[i]);
    if (it != ids_.end()) {
      ids[i] = it->second;
      continue;
    }
    missing.push_back(keep(texts[i]));
    ids_.emplace(missing.back(), next);
    ids[i] = next;
  }
  try {
    keys_.addAll(missing);
  } catch (...) {
    clear();  // the map would name keys that were never made
    throw;
  }
}

void KeyCache::limit(size_t sortSize) {
  biggestSort_ = std::max(biggestSort_, sortSize);
  if (keys_.size() > 4 * biggestSort_ + 262144) {
    clear();
    biggestSort_ = sortSize;
  }
  if (!keys_.isPlain()) ids_.reserve(ids_.size() + sortSize);
}

void KeyCache::clear() {
  ids_.clear();
  keys_.clear();
  blocks_.clear();
  apart_.clear();
  blockUsed_ = 0;
}

KeyCache& sharedKeyCache() {
  thread_local KeyCache cache;
  return cache;
}

}  // namespace vorlix
