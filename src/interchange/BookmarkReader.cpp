// Reading Netscape bookmark files. The reader walks the bytes once, looking
// only at the tags that matter (<H3>, <A>, <DL>, </DL>, <DT>) and skipping
// everything else, so icons of several hundred KB, unknown attributes and
// broken nesting cost nothing and stop nothing.
#include <QStringDecoder>
#include <cstring>
#include <vector>

#include "interchange/BookmarkFile.h"
#include "interchange/ImportBuilder.h"
#include "interchange/ImportFile.h"
#include "interchange/SourceFile.h"
#include "store/DosDate.h"
#include "store/HtmlText.h"
#include "store/LdbFile.h"

namespace vorlix {
namespace {

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

// Bytes of an attribute or text beyond this are never decoded: whatever
// they encode cannot fit into a record's field, and a link address of
// several hundred megabytes must not cost its size in memory and time.
constexpr size_t kDecodeAtMost = 16 * 1024;

// `raw` cut to at most kDecodeAtMost bytes, never inside a UTF-8 sequence
// (which would make the rest read as Windows-1252).
std::string_view decodable(std::string_view raw) {
  if (raw.size() <= kDecodeAtMost) return raw;
  size_t n = kDecodeAtMost;
  for (int back = 0; back < 3 && n > 0 && (static_cast<unsigned char>(raw[n]) & 0xC0) == 0x80;
       ++back)
    --n;
  return raw.substr(0, n);
}

// HTML text as Unicode; plain ASCII without references (most titles and
// nearly every address) is taken as it is, without the decoder's work.
QString decodeText(std::string_view raw) {
  for (char c : raw)
    if (c == '&' || static_cast<unsigned char>(c) >= 0x80) return decodeHtml(raw);
  return QString::fromLatin1(raw.data(), qsizetype(raw.size()));
}

struct Attributes {
  std::string_view href;
  std::string_view addDate;
  bool hasHref = false;
};

class Reader {
 public:
  Reader(std::string_view text, ImportedBookmarks& out)
      : p_(text.data()), end_(text.data() + text.size()), out_(out) {
    lists_.push_back(&out.root);
  }

  bool looksLikeBookmarks() const { return doctype_ || (sawList_ && sawItem_) || sawDtLink_; }

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
      const bool afterDt = afterDt_;
      afterDt_ = false;
      if (equalsLower(tag, "a") && !closing) {
        link(afterDt);
      } else if (equalsLower(tag, "h3") && !closing) {
        inDescription_ = false;
        folder();
      } else if (equalsLower(tag, "dl")) {
        skipTag();
        inDescription_ = false;
        closing ? closeList() : openList();
      } else if (equalsLower(tag, "dt")) {
        skipTag();
        // An item follows: a folder still waiting for its <DL> has none.
        pendingFolder_ = nullptr;
        inDescription_ = false;
        afterDt_ = !closing;
      } else if (equalsLower(tag, "dd") && !closing) {
        skipTag();
        inDescription_ = true;
      } else {
        skipTag();
        // Only markup between <DT> and <A> keeps the link an entry.
        afterDt_ = afterDt && (equalsLower(tag, "p") || equalsLower(tag, "dt"));
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

  // A title decoded; line breaks of the file (not of the title: a
  // reference such as &#10; is the title's own) as blanks.
  static QString title(std::string_view raw) {
    raw = decodable(raw);
    if (raw.find_first_of("\r\n\t") == std::string_view::npos) return decodeText(raw);
    std::string flat(raw);
    for (char& c : flat)
      if (c == '\r' || c == '\n' || c == '\t') c = ' ';
    return decodeText(flat);
  }

  ImportedFolder* current() const { return lists_.back(); }

  void folder() {
    sawItem_ = true;
    const Attributes a = attributes();
    const std::string_view name = text();
    if (!out_.keep()) {
      // Past what is kept: only counted; what it holds goes nowhere.
      pendingFolder_ = current();
      return;
    }
    pendingFolder_ = &current()->addFolder(title(name), parseDate(a.addDate));
  }

  void link(bool afterDt) {
    const Attributes a = attributes();
    // A named anchor is no bookmark, and neither is a link inside a
    // description (a thumbnail, a reference).
    if (!a.hasHref || inDescription_) return;
    sawItem_ = true;
    if (afterDt) sawDtLink_ = true;
    pendingFolder_ = nullptr;
    const std::string_view name = text();
    if (!out_.keep()) return;
    current()->addLink(
        {title(name), decodeText(decodable(trimmed(a.href))), parseDate(a.addDate), QString()});
  }

  void openList() {
    sawList_ = true;
    // A <DL> without a folder before it (the top one, or stray nesting)
    // stays in the folder it is in, so its </DL> closes nothing else.
    lists_.push_back(pendingFolder_ ? pendingFolder_ : current());
    pendingFolder_ = nullptr;
  }

  void closeList() {
    pendingFolder_ = nullptr;
    if (lists_.size() > 1) lists_.pop_back();  // an extra </DL> is ignored
  }

  const char* p_;
  const char* end_;
  ImportedBookmarks& out_;
  // The folder of each open <DL>: each one lies inside the one before, so
  // adding to the last never moves one of them.
  std::vector<ImportedFolder*> lists_;
  ImportedFolder* pendingFolder_ = nullptr;  // a <H3> waits for its <DL>
  bool doctype_ = false;
  bool sawList_ = false;
  bool sawItem_ = false;
  bool sawDtLink_ = false;
  bool afterDt_ = false;
  bool inDescription_ = false;
};

}  // namespace

bool ParseBookmarkTree(QByteArrayView bytes, const QString& fileName, ImportedBookmarks& out,
                       QString* error) {
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
    if (error) *error = quoted(fileName) + QStringLiteral(" is empty: it holds no bookmarks.");
    return false;
  }
  // The smallest item, "<H3>", takes 4 bytes: a file that may hold more
  // items than are kept is first only counted, so one far too large for a
  // database is refused without building what it holds.
  if (text.size() / 4 > out.keepLimit) {
    ImportedBookmarks counted;
    counted.keepLimit = 0;
    Reader counter(text, counted);
    counter.run();
    if (counter.looksLikeBookmarks() && counted.items > out.keepLimit) {
      const size_t limit = out.keepLimit;
      out = ImportedBookmarks{};
      out.keepLimit = limit;
      out.items = counted.items;
      return true;
    }
  }
  Reader reader(text, out);
  reader.run();
  if (!reader.looksLikeBookmarks()) {
    out = ImportedBookmarks{};
    if (error) *error = quoted(fileName) + QStringLiteral(" is not a bookmark file.");
    return false;
  }
  return true;
}

BookmarkImport ParseBookmarks(QByteArrayView bytes, std::uint32_t importTime,
                              const QString& fileName) {
  BookmarkImport result;
  try {
    ImportedBookmarks tree;
    tree.keepLimit = kMaxLdbRecords;
    if (!ParseBookmarkTree(bytes, fileName, tree, &result.error)) return result;
    BuildOptions options;
    options.importTime = importTime;
    options.sourceName = fileName;
    return BuildImport(tree, options);
  } catch (const std::bad_alloc&) {
    result = BookmarkImport{};
    result.error = OutOfMemoryMessage(fileName);
    return result;
  }
}

BookmarkImport ReadBookmarkFile(const QString& path) {
  // The file's bytes are let go before the records are built.
  return ImportFileInto(path, LinkList(), QString(), currentDosDateTime());
}

QString BookmarkImportSummary(const BookmarkImport& r) {
  QString text =
      QStringLiteral("Imported %1 links and %2 folders").arg(r.linkCount).arg(r.folderCount);
  if (r.lossyTitles > 0) text += QStringLiteral("; %1 titles cut to fit").arg(r.lossyTitles);
  if (r.knownLinks > 0) text += QStringLiteral("; %1 links were already there").arg(r.knownLinks);
  for (const auto& s : r.report.skipped)
    text += QStringLiteral("; skipped %1 %2").arg(s.second).arg(s.first);
  return text + QLatin1Char('.');
}

}  // namespace vorlix
