#include "store/Ansi.h"

#include <array>

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

}  // namespace

char16_t unicodeFromAnsi(unsigned char byte) { return decodeByte(byte); }

QString fromAnsi(std::string_view bytes) {
  QString out(qsizetype(bytes.size()), Qt::Uninitialized);
  QChar* d = out.data();
  for (size_t i = 0; i < bytes.size(); ++i)
    d[i] = QChar(decodeByte(static_cast<unsigned char>(bytes[i])));
  return out;
}

AnsiString toAnsi(const QString& text) {
  AnsiString out;
  out.reserve(size_t(text.size()));
  for (QChar ch : text) {
    const char16_t u = ch.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
      out.push_back(char(u));
      continue;
    }
    char mapped = '?';
    for (size_t i = 0; i < kHigh.size(); ++i)
      if (kHigh[i] == u) {
        mapped = char(0x80 + i);
        break;
      }
    out.push_back(mapped);
  }
  return out;
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
