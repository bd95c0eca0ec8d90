#include "interchange/ImportBuilder.h"
#include "interchange/SourceFile.h"

#include <algorithm>
#include <new>
#include <unordered_set>

#include "store/EpochDates.h"
#include "store/HtmlText.h"
#include "store/LdbFile.h"
#include "store/Paths.h"
#include "store/UniqueNames.h"

namespace vorlix {
namespace {

// A folder's path leaves this much of the record's 255 characters for what
// it holds; deeper folders put their content into the deepest that fits.
constexpr size_t kRoomBelowFolder = 16;
// Text beyond this many characters cannot end up in a field, however it is
// encoded; the rest of a huge title or URL is never converted.
constexpr qsizetype kConvertAtMost = 4 * kMaxText;

bool isControl(char16_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

// A title as a record name: line breaks as blanks, other control characters
// dropped, and '\' as '/' so that it cannot invent a folder.
QString cleanName(const QString& title) {
  const QString t = title.size() > kConvertAtMost ? title.left(kConvertAtMost) : title;
  bool clean = true;
  for (QChar c : t)
    if (isControl(c.unicode()) || c == QLatin1Char('\\')) {
      clean = false;
      break;
    }
  if (clean) return t;
  QString out;
  out.reserve(t.size());
  for (QChar c : t) {
    const char16_t u = c.unicode();
    if (u == '\t' || u == '\n' || u == '\r')
      out.append(QLatin1Char(' '));
    else if (u == '\\')
      out.append(QLatin1Char('/'));
    else if (!isControl(u))
      out.append(c);
  }
  return out;
}

// Record bytes of a name; `lost` set when a character could not be kept.
AnsiString nameBytes(const QString& name, bool& lost) {
  AnsiString bytes = toAnsi(name);
  if (bytes.find('?') != AnsiString::npos &&
      std::count(bytes.begin(), bytes.end(), '?') > name.count(QLatin1Char('?')))
    lost = true;
  return bytes;
}

// Upper-cased, as names compare.
std::string key(std::string_view s) { return upperAscii(s); }

class Builder {
 public:
  Builder(const BuildOptions& options, BookmarkImport& out) : options_(options), out_(out) {}

  void run(const ImportedBookmarks& source) {
    AnsiString target(kRootPath);
    if (options_.existing) {
      for (const LinkRecord& r : *options_.existing) names_.reserve(r.fullName());
    }
    if (!options_.intoFolder.isEmpty()) {
      bool lost = false;
      AnsiString name = nameBytes(cleanName(options_.intoFolder), lost);
      if (name.empty()) name = "Imported bookmarks";
      const AnsiString wanted = target + name + '\\';
      if (existingFolder(wanted)) {
        target = wanted;
      } else {
        // Cut to fit, never empty: "Favorites\" leaves room for a name.
        const AnsiString full =
            names_.claim(target, name, true, nullptr, size_t(kMaxText) - kRoomBelowFolder);
        append(full, {}, options_.importTime, kKindFolder);
        ++out_.folderCount;
        target = full;
      }
    }
    out_.target = target;
    gatherExisting(target);
    folder(source.root, target);
    out_.report.skipped = source.skipped;
    if (noRoom_ > 0)
      out_.report.skipped.append(
          {QStringLiteral("links without room for a name"), qsizetype(noRoom_)});
  }

 private:
  // Whether `path` (ending in '\') is a folder of the database: a record of
  // its own or the parent of one. Built on first use.
  bool existingFolder(const AnsiString& path) {
    if (!options_.existing || options_.existing->empty()) return false;
    if (!foldersKnown_) {
      foldersKnown_ = true;
      for (const LinkRecord& r : *options_.existing) {
        std::string_view full = r.fullName();
        if (r.isFolder() && !full.empty() && full.back() != '\\') continue;
        for (size_t i = full.find('\\'); i != std::string_view::npos; i = full.find('\\', i + 1))
          existingFolders_.insert(key(full.substr(0, i + 1)));
      }
    }
    return existingFolders_.count(key(path)) > 0;
  }

  // The URLs the target already holds, when it existed before.
  void gatherExisting(const AnsiString& target) {
    if (!options_.existing) return;
    for (const LinkRecord& r : *options_.existing)
      if (!r.isFolder() && startsWithNoCase(r.fullName(), target))
        knownUrls_.insert(std::string(r.url()));
    merging_ = !knownUrls_.empty() || existingFolder(target);
  }

  std::uint32_t dateOf(const std::optional<qint64>& secs) {
    return secs && *secs > 0 ? dates_.toDos(*secs) : options_.importTime;
  }

  void folder(const ImportedFolder& f, const AnsiString& path) {
    for (const ImportedFolder::Entry& e : f.order) {
      if (e.isFolder)
        subfolder(f.folders[e.index], path);
      else
        link(f.links[e.index], path);
    }
  }

  void subfolder(const ImportedFolder& f, const AnsiString& parent) {
    bool lost = false;
    const QString clean = cleanName(f.title);
    AnsiString name = nameBytes(clean, lost);
    if (name.empty()) name = "Untitled";
    if (merging_) {
      const AnsiString wanted = parent + name + '\\';
      if (wanted.size() <= size_t(kMaxText) - kRoomBelowFolder && existingFolder(wanted)) {
        folder(f, wanted);
        return;
      }
    }
    const AnsiString full =
        names_.claim(parent, name, true, &lost, size_t(kMaxText) - kRoomBelowFolder);
    if (full.empty()) {
      // No room left in the record for a deeper path: the content goes
      // into the parent.
      out_.report.mergedFolders.append(fromAnsi(parent) + clean);
      folder(f, parent);
      return;
    }
    if (lost) {
      ++out_.lossyTitles;
      out_.report.cutTitles.append(fromAnsi(full));
    }
    append(full, {}, dateOf(f.added), kKindFolder);
    ++out_.folderCount;
    folder(f, full);
  }

  void link(const ImportedLink& l, const AnsiString& parent) {
    const QString rawUrl = l.url.size() > kConvertAtMost ? l.url.left(kConvertAtMost) : l.url;
    const bool urlCut = rawUrl.size() < l.url.size();
    AnsiString url = urlToAnsi(rawUrl);
    const bool urlTooLong = urlCut || url.size() > size_t(kMaxText);
    if (url.size() > size_t(kMaxText)) url.resize(size_t(kMaxText));
    if (merging_ && knownUrls_.count(url)) {
      ++out_.knownLinks;
      return;
    }
    bool lost = false;
    QString clean = cleanName(l.title);
    if (clean.isEmpty()) clean = cleanName(urlWithoutScheme(fromAnsi(url)));
    AnsiString name = nameBytes(clean, lost);
    if (name.empty()) name = "Untitled";
    const AnsiString full = names_.claim(parent, name, false, &lost);
    if (full.empty()) {
      // Only a name numbered past the room its folder leaves: said, not lost silently.
      ++noRoom_;
      return;
    }
    if (lost) {
      ++out_.lossyTitles;
      out_.report.cutTitles.append(fromAnsi(full));
    }
    if (urlTooLong) out_.report.cutUrls.append(fromAnsi(full));
    append(full, url, dateOf(l.added), kKindUrl);
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

  const BuildOptions& options_;
  BookmarkImport& out_;
  UniqueNames names_;
  EpochDates dates_;
  size_t noRoom_ = 0;  // links left out: no room for a unique name

  bool foldersKnown_ = false;
  bool merging_ = false;
  std::unordered_set<std::string> existingFolders_;
  std::unordered_set<std::string> knownUrls_;
};

}  // namespace

QString OutOfMemoryMessage(const QString& sourceName) {
  return QStringLiteral("There is not enough memory to import ") + quoted(sourceName) +
         QStringLiteral(": nothing was imported.");
}

BookmarkImport BuildImport(const ImportedBookmarks& source, const BuildOptions& options) {
  BookmarkImport out;
  const size_t already = options.existing ? options.existing->size() : 0;
  // One more for the folder the import goes into.
  const size_t wanted = source.items + (options.intoFolder.isEmpty() ? 0 : 1);
  if (source.overLimit() || already + wanted > kMaxLdbRecords) {
    out.error = quoted(options.sourceName) +
                QStringLiteral(
                    " holds %1 links and folders. With the %2 records already open "
                    "that is more than the %3 records a database can hold: nothing "
                    "was imported.")
                    .arg(source.items)
                    .arg(already)
                    .arg(kMaxLdbRecords);
    return out;
  }
  try {
    out.links.reserve(wanted);
    Builder(options, out).run(source);
    out.ok = true;
  } catch (const std::bad_alloc&) {
    BookmarkImport failed;
    failed.error = OutOfMemoryMessage(options.sourceName);
    return failed;
  }
  return out;
}

QString ImportReportText(const BookmarkImport& r, int maxLines) {
  QStringList lines;
  int room = maxLines;
  auto list = [&](const QString& heading, const QStringList& names) {
    if (names.isEmpty()) return;
    lines << heading.arg(names.size());
    for (qsizetype i = 0; i < names.size(); ++i, --room) {
      if (room <= 0) {
        lines << QStringLiteral("    ... and %1 more").arg(names.size() - i);
        break;
      }
      lines << QStringLiteral("    ") + names[i];
    }
  };
  list(QStringLiteral("%1 titles were cut or lost characters:"), r.report.cutTitles);
  list(QStringLiteral("%1 URLs were cut to fit:"), r.report.cutUrls);
  list(QStringLiteral("%1 folders lay too deep; their content went into their parent:"),
       r.report.mergedFolders);
  return lines.join(QLatin1Char('\n'));
}

}  // namespace vorlix
