#include "store/Collation.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "store/Ansi.h"

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

}  // namespace

int compareNoCase(std::string_view a, std::string_view b) {
  return collator(Qt::CaseInsensitive).compare(fromAnsi(a), fromAnsi(b));
}

int compareCase(std::string_view a, std::string_view b) {
  return collator(Qt::CaseSensitive).compare(fromAnsi(a), fromAnsi(b));
}

CollationKeys::CollationKeys(Qt::CaseSensitivity cs) : collator_(collator(cs)), cs_(cs) {
  plain_ = isCLocale(collator_);
}

void CollationKeys::reserve(size_t n) {
  if (plain_) {
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
}

std::uint32_t CollationKeys::add(std::string_view text) {
  if (!plain_) {
    keys_.push_back(collator_.sortKey(fromAnsi(text)));
    return std::uint32_t(keys_.size() - 1);
  }
  // Per byte, the UTF-8 of its (case-folded) character: UTF-8 orders
  // bytewise as the code points do.
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
  for (char c : text) {
    const auto b = static_cast<unsigned char>(c);
    bytes_.append(t.bytes[b], t.size[b]);
  }
  return std::uint32_t(offsets_.size() - 1);
}

int CollationKeys::compare(std::uint32_t a, std::uint32_t b) const {
  if (!plain_) return keys_[a].compare(keys_[b]);
  auto span = [this](std::uint32_t i) {
    const std::uint32_t from = offsets_[i];
    const std::uint32_t to =
        i + 1 < offsets_.size() ? offsets_[i + 1] : std::uint32_t(bytes_.size());
    return std::string_view(bytes_.data() + from, to - from);
  };
  const std::string_view x = span(a), y = span(b);
  const int c = std::memcmp(x.data(), y.data(), std::min(x.size(), y.size()));
  if (c != 0) return c;
  return x.size() < y.size() ? -1 : (x.size() > y.size() ? 1 : 0);
}

namespace {
constexpr size_t kBlockSize = size_t(1) << 20;
}

std::string_view KeyCache::keep(std::string_view text) {
  if (text.size() > kBlockSize / 4) {  // never for record texts; kept apart
    blocks_.insert(blocks_.begin(), std::make_unique<char[]>(text.size()));
    std::memcpy(blocks_.front().get(), text.data(), text.size());
    return {blocks_.front().get(), text.size()};
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
  blockUsed_ = 0;
}

KeyCache& sharedKeyCache() {
  thread_local KeyCache cache;
  return cache;
}

}  // namespace vorlix
