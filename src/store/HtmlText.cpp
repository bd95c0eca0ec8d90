#include "store/HtmlText.h"

#include <QUrl>
#include <array>
#include <unordered_map>

namespace vorlix {
namespace {

// The character references of HTML 4 (the ones bookmark files and pages
// use in practice), plus the upper-case forms HTML accepts for the four
// escapes every writer uses.
const std::unordered_map<std::string_view, char32_t>& namedReferences() {
  static const std::unordered_map<std::string_view, char32_t> table = [] {
    std::unordered_map<std::string_view, char32_t> t;
    // 160..255 in code point order.
    static constexpr std::array<std::string_view, 96> kLatin1 = {
        "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",
        "copy",   "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn",
        "sup2",   "sup3",   "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",
        "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde",
        "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave",
        "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde",
        "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",
        "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil",
        "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",   "eth",
        "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave",
        "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};
    for (size_t i = 0; i < kLatin1.size(); ++i) t.emplace(kLatin1[i], char32_t(160 + i));
    static constexpr std::array<std::string_view, 24> kGreekUpper = {
        "Alpha", "Beta",  "Gamma",  "Delta",   "Epsilon", "Zeta", "Eta",     "Theta",
        "Iota",  "Kappa", "Lambda", "Mu",      "Nu",      "Xi",   "Omicron", "Pi",
        "Rho",   "Sigma", "Tau",    "Upsilon", "Phi",     "Chi",  "Psi",     "Omega"};
    for (size_t i = 0; i < kGreekUpper.size(); ++i)  // no capital final sigma (930)
      t.emplace(kGreekUpper[i], char32_t(913 + i + (i >= 17 ? 1 : 0)));
    static constexpr std::array<std::string_view, 25> kGreekLower = {
        "alpha", "beta",   "gamma",   "delta", "epsilon", "zeta",    "eta",  "theta", "iota",
        "kappa", "lambda", "mu",      "nu",    "xi",      "omicron", "pi",   "rho",   "sigmaf",
        "sigma", "tau",    "upsilon", "phi",   "chi",     "psi",     "omega"};
    for (size_t i = 0; i < kGreekLower.size(); ++i) t.emplace(kGreekLower[i], char32_t(945 + i));
    static constexpr std::pair<std::string_view, char32_t> kOthers[] = {
        {"quot", 34},     {"QUOT", 34},     {"amp", 38},      {"AMP", 38},      {"apos", 39},
        {"lt", 60},       {"LT", 60},       {"gt", 62},       {"GT", 62},       {"OElig", 338},
        {"oelig", 339},   {"Scaron", 352},  {"scaron", 353},  {"Yuml", 376},    {"fnof", 402},
        {"circ", 710},    {"tilde", 732},   {"ensp", 8194},   {"emsp", 8195},   {"thinsp", 8201},
        {"zwnj", 8204},   {"zwj", 8205},    {"lrm", 8206},    {"rlm", 8207},    {"ndash", 8211},
        {"mdash", 8212},  {"lsquo", 8216},  {"rsquo", 8217},  {"sbquo", 8218},  {"ldquo", 8220},
        {"rdquo", 8221},  {"bdquo", 8222},  {"dagger", 8224}, {"Dagger", 8225}, {"bull", 8226},
        {"hellip", 8230}, {"permil", 8240}, {"prime", 8242},  {"Prime", 8243},  {"lsaquo", 8249},
        {"rsaquo", 8250}, {"oline", 8254},  {"frasl", 8260},  {"euro", 8364},   {"trade", 8482},
        {"larr", 8592},   {"uarr", 8593},   {"rarr", 8594},   {"darr", 8595},   {"harr", 8596},
        {"minus", 8722},  {"infin", 8734},  {"asymp", 8776},  {"ne", 8800},     {"le", 8804},
        {"ge", 8805},     {"spades", 9824}, {"clubs", 9827},  {"hearts", 9829}, {"diams", 9830}};
    for (const auto& [name, cp] : kOthers) t.emplace(name, cp);
    return t;
  }();
  return table;
}

bool isAlnum(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A character reference starting at raw[i] == '&': its code point and
// length, or 0 when it is none (the '&' then stands for itself).
size_t parseReference(std::string_view raw, size_t i, char32_t& cp) {
  size_t j = i + 1;
  if (j < raw.size() && raw[j] == '#') {
    ++j;
    const bool hex = j < raw.size() && (raw[j] == 'x' || raw[j] == 'X');
    if (hex) ++j;
    const size_t digitsStart = j;
    std::uint64_t value = 0;
    while (j < raw.size()) {
      const int d = hex ? hexValue(raw[j]) : (raw[j] >= '0' && raw[j] <= '9' ? raw[j] - '0' : -1);
      if (d < 0) break;
      if (value <= 0x10FFFF) value = value * (hex ? 16 : 10) + std::uint64_t(d);
      ++j;
    }
    if (j == digitsStart) return 0;
    if (j < raw.size() && raw[j] == ';') ++j;
    if (value >= 0x80 && value < 0xA0) {
      // Pages written on Windows mean the code page's characters here.
      cp = unicodeFromAnsi(static_cast<unsigned char>(value));
    } else if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
      cp = 0xFFFD;
    } else {
      cp = char32_t(value);
    }
    return j - i;
  }
  while (j < raw.size() && j - i <= 32 && isAlnum(raw[j])) ++j;
  if (j == i + 1) return 0;
  const std::string_view name = raw.substr(i + 1, j - i - 1);
  const auto& table = namedReferences();
  const auto it = table.find(name);
  if (it == table.end()) return 0;
  const bool semicolon = j < raw.size() && raw[j] == ';';
  // Without its ';' only the escapes old writers left bare are taken.
  if (!semicolon && it->second != '&' && it->second != '<' && it->second != '>' &&
      it->second != '"')
    return 0;
  cp = it->second;
  return j - i + (semicolon ? 1 : 0);
}

bool isValidUtf8(std::string_view raw) {
  for (size_t i = 0; i < raw.size();) {
    if (static_cast<unsigned char>(raw[i]) < 0x80) {
      ++i;
      continue;
    }
    char32_t cp;
    const size_t n = utf8SequenceAt(raw, i, &cp);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

// Walks `raw` as HTML text and hands each character to `sink`: code points
// through sink(cp), Windows-1252 bytes of a non-UTF-8 text through
// sinkByte(b).
template <class Sink, class SinkByte>
void decode(std::string_view raw, Sink&& sink, SinkByte&& sinkByte) {
  const bool utf8 = isValidUtf8(raw);
  for (size_t i = 0; i < raw.size();) {
    const char c = raw[i];
    if (c == '&') {
      char32_t cp;
      if (const size_t n = parseReference(raw, i, cp)) {
        sink(cp);
        i += n;
        continue;
      }
    }
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x80) {
      sink(char32_t(u));
      ++i;
    } else if (utf8) {
      char32_t cp = 0;
      i += utf8SequenceAt(raw, i, &cp);
      sink(cp);
    } else {
      sinkByte(u);
      ++i;
    }
  }
}

void appendCodePoint(QString& out, char32_t cp) {
  if (cp >= 0x10000) {
    out.append(QChar(QChar::highSurrogate(cp)));
    out.append(QChar(QChar::lowSurrogate(cp)));
  } else {
    out.append(QChar(char16_t(cp)));
  }
}

}  // namespace

char ansiFromCodePoint(char32_t cp, bool* lost) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return char(cp);
  for (unsigned b = 0x80; b < 0xA0; ++b)
    if (unicodeFromAnsi(static_cast<unsigned char>(b)) == cp) return char(b);
  if (lost) *lost = true;
  return '?';
}

AnsiString toAnsiCounting(const QString& text, bool* /*lost*/) { return toAnsi(text); }

AnsiString decodeHtmlToAnsi(std::string_view raw, bool* /*lost*/) {
  bool plain = true;  // ASCII without references: the bytes are the text
  for (char c : raw)
    if (c == '&' || static_cast<unsigned char>(c) >= 0x80) {
      plain = false;
      break;
    }
  if (plain) return AnsiString(raw);
  return toAnsi(decodeHtml(raw));
}

QString decodeHtml(std::string_view raw) {
  QString out;
  out.reserve(qsizetype(raw.size()));
  decode(
      raw, [&](char32_t cp) { appendCodePoint(out, cp); },
      [&](unsigned char b) { out.append(QChar(unicodeFromAnsi(b))); });
  return out;
}

QString decodeHtml(const QString& text) {
  if (!text.contains(QLatin1Char('&'))) return text;
  const QByteArray utf8 = text.toUtf8();
  return decodeHtml(std::string_view(utf8.constData(), size_t(utf8.size())));
}

AnsiString urlToAnsi(const QString& url) { return toAnsi(url); }

QString urlWithoutScheme(const QString& url) {
  QString s = url.trimmed();
  qsizetype i = 0;
  while (i < s.size() && (s[i].isLetterOrNumber() || s[i] == QLatin1Char('+') ||
                          s[i] == QLatin1Char('-') || s[i] == QLatin1Char('.')))
    ++i;
  if (i > 0 && i < s.size() && s[i] == QLatin1Char(':') && s[0].isLetter()) {
    s.remove(0, i + 1);
    while (s.startsWith(QLatin1Char('/'))) s.remove(0, 1);
  }
  while (s.endsWith(QLatin1Char('/'))) s.chop(1);
  return s;
}

AnsiString decodeHtmlUrlToAnsi(std::string_view raw) { return decodeHtmlToAnsi(raw, nullptr); }

void appendUtf8FromAnsi(QByteArray& out, std::string_view text) {
  if (isUtf8(text)) {
    out.append(text.data(), qsizetype(text.size()));
    return;
  }
  const AnsiString utf8 = canonicalText(text);
  out.append(utf8.data(), qsizetype(utf8.size()));
}

void appendHtmlEscaped(QByteArray& out, std::string_view text) {
  // Bytes that need more than their UTF-8 form: the four escapes and the
  // control characters.
  static const std::array<bool, 256> kSpecial = [] {
    std::array<bool, 256> t{};
    for (int c = 0; c < 0x20; ++c) t[size_t(c)] = true;
    for (unsigned char c : {'&', '<', '>', '"', '\x7F'}) t[c] = true;
    return t;
  }();
  size_t plainFrom = 0;
  const auto flush = [&](size_t to) {
    if (to > plainFrom) appendUtf8FromAnsi(out, text.substr(plainFrom, to - plainFrom));
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const auto u = static_cast<unsigned char>(text[i]);
    const bool edgeBlank = u == ' ' && (i == 0 || i + 1 == text.size());
    if (!kSpecial[u] && !edgeBlank) continue;
    flush(i);
    switch (u) {
      case '&':
        out.append("&amp;");
        break;
      case '<':
        out.append("&lt;");
        break;
      case '>':
        out.append("&gt;");
        break;
      case '"':
        out.append("&quot;");
        break;
      default:
        out.append("&#");
        out.append(QByteArray::number(int(u)));
        out.append(';');
    }
    plainFrom = i + 1;
  }
  flush(text.size());
}

}  // namespace vorlix
