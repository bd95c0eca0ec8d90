// Reading Netscape bookmark files. The reader walks the bytes once, looking
// only at the tags that matter (<H3>, <A>, <DL>, </DL>, <DT>) and skipping
// everything else, so icons of several hundred KB, unknown attributes and
// broken nesting cost nothing and stop nothing.
#include <QFileInfo>
#include <QStringDecoder>
#include <cstring>
#include <vector>

#include "interchange/BookmarkFile.h"
#include "platform/AtomicFile.h"
#include "store/DosDate.h"
#include "store/EpochDates.h"
#include "store/HtmlText.h"
#include "store/Paths.h"
#include "store/UniqueNames.h"

namespace vorlix {
namespace {

// Larger files are refused: no bookmark file of a browser comes near it.
constexpr qint64 kMaxFileBytes = qint64(512) << 20;
// A folder's path leaves this much of the record's 255 characters for what
// it holds; deeper folders put their content into the deepest that fits.
constexpr size_t kRoomBelowFolder = 16;

char lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool equalsLower(std::string_view s, std::string_view lowerWord) {
  if (s.size() != lowerWord.size()) return false;
  for (size_t i = 0; i < s.size(); ++i)
    if (lower(s[i]) != lowerWord[i]) return false;
  return true;
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

bool isNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
  return s;
}

// Case-blind search for `lowerNeedle` in [p, end).
const char* findNoCase(const char* p, const char* end, std::string_view lowerNeedle) {
  const char first = lowerNeedle.front();
  const char firstUpper = char(first - 'a' + 'A');
  for (; p + lowerNeedle.size() <= end; ++p) {
    if (*p != first && *p != firstUpper) continue;
    if (equalsLower(std::string_view(p, lowerNeedle.size()), lowerNeedle)) return p;
  }
  return nullptr;
}

// ADD_DATE as seconds; empty when missing or no positive number. Values
// only milliseconds or microseconds can be are scaled down.
std::optional<qint64> parseDate(std::string_view v) {
  v = trimmed(v);
  if (v.empty() || v.size() > 18) return std::nullopt;
  qint64 n = 0;
  for (char c : v) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  if (n <= 0) return std::nullopt;
  if (n > 100'000'000'000'000LL) return n / 1'000'000;
  if (n > 100'000'000'000LL) return n / 1'000;
  return n;
}

struct Attributes {
  std::string_view href;
  std::string_view addDate;
  bool hasHref = false;
};

class Reader {
 public:
  Reader(std::string_view text, std::uint32_t importTime, BookmarkImport& out)
      : p_(text.data()), end_(text.data() + text.size()), importTime_(importTime), out_(out) {}

  bool looksLikeBookmarks() const { return doctype_ || (sawList_ && sawItem_); }

  void run() {
    while (p_ < end_) {
      const char* lt = static_cast<const char*>(std::memchr(p_, '<', size_t(end_ - p_)));
      if (!lt) break;
      p_ = lt + 1;
      if (p_ < end_ && *p_ == '!') {
        skipDeclaration();
        continue;
      }
      const bool closing = p_ < end_ && *p_ == '/';
      if (closing) ++p_;
      const char* name = p_;
      while (p_ < end_ && isNameChar(*p_)) ++p_;
      const std::string_view tag(name, size_t(p_ - name));
      if (tag.empty()) continue;  // a raw '<' in text
      if (equalsLower(tag, "a") && !closing) {
        link();
      } else if (equalsLower(tag, "h3") && !closing) {
        folder();
      } else if (equalsLower(tag, "dl")) {
        skipTag();
        closing ? closeList() : openList();
      } else if (equalsLower(tag, "dt")) {
        skipTag();
        // An item follows: a folder still waiting for its <DL> has none.
        pendingFolder_ = false;
      } else {
        skipTag();
      }
    }
  }

 private:
  void skipDeclaration() {
    if (end_ - p_ >= 3 && p_[1] == '-' && p_[2] == '-') {
      const char* close = findNoCase(p_ + 3, end_, "-->");
      p_ = close ? close + 3 : end_;
      return;
    }
    const char* gt = static_cast<const char*>(std::memchr(p_, '>', size_t(end_ - p_)));
    const char* stop = gt ? gt : end_;
    if (findNoCase(p_, stop, "netscape-bookmark-file")) doctype_ = true;
    p_ = gt ? gt + 1 : end_;
  }

  // Reads the attributes up to and past the tag's '>'.
  Attributes attributes() {
    Attributes a;
    while (p_ < end_) {
      while (p_ < end_ && (isSpace(*p_) || *p_ == '/')) ++p_;
      if (p_ >= end_) break;
      if (*p_ == '>') {
        ++p_;
        break;
      }
      const char* nameStart = p_;
      while (p_ < end_ && !isSpace(*p_) && *p_ != '=' && *p_ != '>') ++p_;
      const std::string_view name(nameStart, size_t(p_ - nameStart));
      while (p_ < end_ && isSpace(*p_)) ++p_;
      std::string_view value;
      if (p_ < end_ && *p_ == '=') {
        ++p_;
        while (p_ < end_ && isSpace(*p_)) ++p_;
        if (p_ < end_ && (*p_ == '"' || *p_ == '\'')) {
          const char quote = *p_++;
          const char* close = static_cast<const char*>(std::memchr(p_, quote, size_t(end_ - p_)));
          const char* stop = close ? close : end_;
          value = std::string_view(p_, size_t(stop - p_));
          p_ = close ? close + 1 : end_;
        } else {
          const char* start = p_;
          while (p_ < end_ && !isSpace(*p_) && *p_ != '>') ++p_;
          value = std::string_view(start, size_t(p_ - start));
        }
      }
      if (equalsLower(name, "href")) {
        a.href = value;
        a.hasHref = true;
      } else if (equalsLower(name, "add_date")) {
        a.addDate = value;
      }
    }
    return a;
  }

  void skipTag() { attributes(); }

  // The text after a tag, up to the next tag.
  std::string_view text() {
    const char* lt = static_cast<const char*>(std::memchr(p_, '<', size_t(end_ - p_)));
    const char* stop = lt ? lt : end_;
    const std::string_view t(p_, size_t(stop - p_));
    p_ = stop;
    return trimmed(t);
  }

  std::uint32_t dateOf(std::string_view addDate) {
    const std::optional<qint64> secs = parseDate(addDate);
    return secs ? dates_.toDos(*secs) : importTime_;
  }

  // A title as a record name: decoded, line breaks as blanks, and a '\'
  // as '/' so it cannot invent a folder.
  AnsiString name(std::string_view raw, bool& lost) {
    AnsiString n;
    if (raw.find_first_of("\r\n\t") != std::string_view::npos) {
      // Line breaks of the file, not of the title (a reference such as
      // &#10; is the title's own and stays).
      AnsiString flat(raw);
      for (char& c : flat)
        if (c == '\r' || c == '\n' || c == '\t') c = ' ';
      n = decodeHtmlToAnsi(flat, &lost);
    } else {
      n = decodeHtmlToAnsi(raw, &lost);
    }
    for (char& c : n)
      if (c == '\\') c = '/';
    return n;
  }

  const AnsiString& currentPath() const { return lists_.empty() ? rootPath_ : lists_.back(); }

  void folder() {
    sawItem_ = true;
    const Attributes a = attributes();
    bool lost = false;
    AnsiString n = name(text(), lost);
    if (n.empty()) n = "Untitled";
    const AnsiString& parent = currentPath();
    const AnsiString full =
        names_.claim(parent, n, true, &lost, size_t(kMaxText) - kRoomBelowFolder);
    if (lost) ++out_.lossyTitles;
    pendingFolder_ = true;
    if (full.empty()) {
      // No room left in the record for a deeper path: the folder's content
      // goes into its parent.
      pendingPath_ = parent;
      return;
    }
    append(full, "", dateOf(a.addDate), kKindFolder);
    ++out_.folderCount;
    pendingPath_ = full;
  }

  void link() {
    const Attributes a = attributes();
    if (!a.hasHref) return;  // a named anchor, not a bookmark
    sawItem_ = true;
    pendingFolder_ = false;
    const AnsiString url = decodeHtmlUrlToAnsi(trimmed(a.href));
    bool lost = false;
    AnsiString n = name(text(), lost);
    if (n.empty()) n = toAnsi(urlWithoutScheme(fromAnsi(url)));
    if (n.empty()) n = "Untitled";
    const AnsiString full = names_.claim(currentPath(), n, false, &lost);
    if (full.empty()) return;
    if (lost) ++out_.lossyTitles;
    append(full, url, dateOf(a.addDate), kKindUrl);
    ++out_.linkCount;
  }

  // Fills the record in place: no copy of 528 bytes per item.
  void append(std::string_view full, std::string_view url, std::uint32_t date,
              std::string_view kind) {
    LinkRecord& r = out_.links.storage().emplace_back();
    r.setFullName(full);
    r.setUrl(url);
    r.setDateStamp(date);
    r.setKind(kind);
  }

  void openList() {
    sawList_ = true;
    // A <DL> without a folder before it (the top one, or stray nesting)
    // stays in the folder it is in, so its </DL> closes nothing else.
    lists_.push_back(pendingFolder_ ? pendingPath_ : currentPath());
    pendingFolder_ = false;
  }

  void closeList() {
    pendingFolder_ = false;
    if (!lists_.empty()) lists_.pop_back();  // an extra </DL> is ignored
  }

  const char* p_;
  const char* end_;
  std::uint32_t importTime_;
  BookmarkImport& out_;
  const AnsiString rootPath_{kRootPath};
  std::vector<AnsiString> lists_;  // the folder of each open <DL>
  bool pendingFolder_ = false;     // a <H3> waits for its <DL>
  AnsiString pendingPath_;
  bool doctype_ = false;
  bool sawList_ = false;
  bool sawItem_ = false;
  UniqueNames names_;
  EpochDates dates_;
};

// Records to expect: one per <DT, at most one per 16 bytes.
size_t estimateItems(std::string_view text) {
  size_t n = 0;
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end) {
    const char* lt = static_cast<const char*>(std::memchr(p, '<', size_t(end - p)));
    if (!lt || end - lt < 3) break;
    if (lower(lt[1]) == 'd' && lower(lt[2]) == 't') ++n;
    p = lt + 1;
  }
  return std::min(n, text.size() / 16);
}

QString quoted(const QString& fileName) { return QLatin1Char('\'') + fileName + QLatin1Char('\''); }

}  // namespace

BookmarkImport ParseBookmarks(QByteArrayView bytes, std::uint32_t importTime,
                              const QString& fileName) {
  BookmarkImport result;
  QByteArray converted;
  std::string_view text(bytes.data(), size_t(bytes.size()));
  if (text.size() >= 2 &&
      ((text[0] == '\xFF' && text[1] == '\xFE') || (text[0] == '\xFE' && text[1] == '\xFF'))) {
    // Some Windows tools write UTF-16: read it as the UTF-8 it stands for.
    QStringDecoder decoder(text[0] == '\xFF' ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
    converted = QString(decoder(QByteArrayView(bytes).sliced(2))).toUtf8();
    text = std::string_view(converted.constData(), size_t(converted.size()));
  } else if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") {
    text.remove_prefix(3);
  }
  if (trimmed(text).empty()) {
    result.error = quoted(fileName) + QStringLiteral(" is empty: it holds no bookmarks.");
    return result;
  }
  result.links.reserve(estimateItems(text));
  Reader reader(text, importTime, result);
  reader.run();
  if (!reader.looksLikeBookmarks()) {
    BookmarkImport refused;
    refused.error = quoted(fileName) + QStringLiteral(" is not a bookmark file.");
    return refused;
  }
  result.links.storage().shrink_to_fit();
  result.ok = true;
  return result;
}

BookmarkImport ReadBookmarkFile(const QString& path) {
  BookmarkImport result;
  const QFileInfo info(path);
  if (info.isDir() || (info.exists() && !info.isFile())) {
    result.error = quoted(path) + QStringLiteral(" is not a bookmark file.");
    return result;
  }
  if (info.size() > kMaxFileBytes) {
    result.error = quoted(path) + QStringLiteral(" is too large to be a bookmark file.");
    return result;
  }
  QByteArray bytes;
  bool exists = false;
  QString why;
  if (!readWholeFile(path, bytes, &exists, &why, kMaxFileBytes) || !exists) {
    result.error = QStringLiteral("Cannot read ") + quoted(path) + QStringLiteral(": ") +
                   (exists ? why : QStringLiteral("File not found")) + QLatin1Char('.');
    return result;
  }
  return ParseBookmarks(bytes, currentDosDateTime(), path);
}

QString BookmarkImportSummary(const BookmarkImport& r) {
  QString text =
      QStringLiteral("Imported %1 links and %2 folders").arg(r.linkCount).arg(r.folderCount);
  if (r.lossyTitles > 0) text += QStringLiteral("; %1 titles lost characters").arg(r.lossyTitles);
  return text + QLatin1Char('.');
}

}  // namespace vorlix
