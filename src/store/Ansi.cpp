#include "store/Ansi.h"

#include <QTextBoundaryFinder>
#include <array>
#include <cstdint>
#include <cstring>

namespace vorlix {
namespace {

// 0x80..0x9F of Windows-1252; unassigned bytes keep their own value.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t decodeByte(unsigned char b) {
  if (b >= 0x80 && b < 0xA0) return kHigh[b - 0x80];
  return b;
}

// The Windows-1252 byte of a code point, or -1 when the code page lacks it.
int byteOf(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return int(cp);
  for (size_t i = 0; i < kHigh.size(); ++i)
    if (kHigh[i] == cp) return int(0x80 + i);
  return -1;
}

// Offset of the first byte >= 0x80, or s.size().
size_t firstHigh(std::string_view s) {
  size_t i = 0;
  // Eight bytes at a time: names are mostly plain ASCII.
  for (; i + 8 <= s.size(); i += 8) {
    std::uint64_t w;
    std::memcpy(&w, s.data() + i, 8);
    if (w & 0x8080808080808080ull) break;
  }
  while (i < s.size() && static_cast<unsigned char>(s[i]) < 0x80) ++i;
  return i;
}

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(char(cp));
  } else if (cp < 0x800) {
    out.push_back(char(0xC0 | (cp >> 6)));
    out.push_back(char(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(char(0xE0 | (cp >> 12)));
    out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(char(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

// Length of the valid UTF-8 sequence at s[i] (lead byte >= 0x80), or 0.
size_t utf8SequenceAt(std::string_view s, size_t i, char32_t* cp) {
  const auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char lead = b(i);
  size_t n;
  char32_t v;
  if (lead >= 0xC2 && lead <= 0xDF) {
    n = 2;
    v = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    n = 3;
    v = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    n = 4;
    v = lead & 0x07;
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  for (size_t k = 1; k < n; ++k) {
    if ((b(i + k) & 0xC0) != 0x80) return 0;
    v = (v << 6) | (b(i + k) & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
  if ((n == 3 && v < 0x800) || (n == 4 && (v < 0x10000 || v > 0x10FFFF)) ||
      (v >= 0xD800 && v <= 0xDFFF))
    return 0;
  if (cp) *cp = v;
  return n;
}

char16_t unicodeFromAnsi(unsigned char byte) { return decodeByte(byte); }

bool isAscii(std::string_view bytes) { return firstHigh(bytes) == bytes.size(); }

bool isUtf8(std::string_view bytes) {
  for (size_t i = firstHigh(bytes); i < bytes.size();) {
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      ++i;
      continue;
    }
    const size_t n = utf8SequenceAt(bytes, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

QString fromAnsi(std::string_view bytes) {
  const size_t high = firstHigh(bytes);
  if (high == bytes.size()) return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
  if (isUtf8(bytes.substr(high))) return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
  QString out(qsizetype(bytes.size()), Qt::Uninitialized);
  QChar* d = out.data();
  for (size_t i = 0; i < bytes.size(); ++i)
    d[i] = QChar(decodeByte(static_cast<unsigned char>(bytes[i])));
  return out;
}

AnsiString toAnsi(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return AnsiString(utf8.constData(), size_t(utf8.size()));
}

AnsiString canonicalText(std::string_view bytes) {
  const size_t high = firstHigh(bytes);
  if (high == bytes.size() || isUtf8(bytes.substr(high))) return AnsiString(bytes);
  AnsiString out(bytes.substr(0, high));
  out.reserve(bytes.size() + bytes.size() / 2);
  for (size_t i = high; i < bytes.size(); ++i)
    appendUtf8(out, decodeByte(static_cast<unsigned char>(bytes[i])));
  return out;
}

std::string storedBytes(std::string_view text) {
  const size_t high = firstHigh(text);
  if (high == text.size()) return std::string(text);
  if (!isUtf8(text.substr(high))) return storedBytes(canonicalText(text));
  std::string single(text.substr(0, high));
  for (size_t i = high; i < text.size();) {
    char32_t cp = static_cast<unsigned char>(text[i]);
    const size_t n = cp < 0x80 ? 1 : utf8SequenceAt(text, i, &cp);
    const int b = byteOf(cp);
    if (b < 0) return std::string(text);  // beyond the code page: UTF-8
    single.push_back(char(b));
    i += n;
  }
  // Windows-1252 bytes that would read back as UTF-8 are stored as UTF-8.
  if (isUtf8(single)) return std::string(text);
  return single;
}

size_t storedSize(std::string_view text) {
  if (isAscii(text)) return text.size();
  return storedBytes(text).size();
}

size_t characterCount(std::string_view text) {
  size_t n = 0;
  for (char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  return n;
}

AnsiString cutToFit(std::string_view text, size_t capacity) {
  if (text.size() <= capacity) return AnsiString(text);
  if (isAscii(text)) return AnsiString(text.substr(0, capacity));
  if (!isUtf8(text)) return cutToFit(canonicalText(text), capacity);
  if (storedSize(text) <= capacity) return AnsiString(text);
  // No start of more than `capacity` characters fits, so only those are
  // looked at; then the character boundaries from the longest start down
  // (a character beyond the code page dropped may let a longer start fit).
  size_t keep = 0;
  for (size_t chars = 0; keep < text.size(); ++keep)
    if ((static_cast<unsigned char>(text[keep]) & 0xC0) != 0x80 && chars++ == capacity + 1) break;
  const QString s = QString::fromUtf8(text.data(), qsizetype(keep));
  QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, s);
  graphemes.toEnd();
  for (qsizetype at = graphemes.toPreviousBoundary(); at > 0; at = graphemes.toPreviousBoundary()) {
    const AnsiString start = toAnsi(s.left(at));
    if (storedSize(start) <= capacity) return start;
  }
  return {};
}

AnsiString upperAscii(std::string_view s) {
  AnsiString out(s);
  for (char& c : out) c = upperAscii(c);
  return out;
}

bool startsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (upperAscii(s[i]) != upperAscii(prefix[i])) return false;
  return true;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && startsWithNoCase(a, b);
}

}  // namespace vorlix
