#include "interchange/FavoritesImport.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <vector>

#include "platform/ProfileStrings.h"
#include "store/Ansi.h"
#include "store/DosDate.h"

namespace vorlix {
namespace {

struct Entry {
  QString key;  // the name upper-cased, for the order
  QFileInfo info;
};

// The order NTFS lists a folder in: names compared upper-cased. Names that
// differ only in letter case (possible here, not there) keep a fixed order.
std::vector<Entry> sortedEntries(const QString& folder) {
  const QFileInfoList infos = QDir(folder).entryInfoList(
      QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
  std::vector<Entry> entries;
  entries.reserve(size_t(infos.size()));
  for (const QFileInfo& fi : infos) entries.push_back({fi.fileName().toUpper(), fi});
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    if (a.key != b.key) return a.key < b.key;
    return a.info.fileName() < b.info.fileName();
  });
  return entries;
}

// A name as it goes into a full name. A backslash is the path separator of
// the database, so one inside a file name would invent a folder.
AnsiString ansiName(const QString& name) {
  QString n = name;
  n.replace(QLatin1Char('\\'), QLatin1Char('/'));
  return toAnsi(n);
}

std::uint32_t dosDate(const QFileInfo& fi) {
  return toDosDateTime(fi.lastModified().toLocalTime());
}

class Walker {
 public:
  Walker(LinkList& list, FitReport* report) : list_(list), report_(report) {}

  void walk(const QString& folder, const AnsiString& rel) {
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    // A symbolic link back up the tree would otherwise never end.
    if (canonical.isEmpty() || onPath_.contains(canonical)) return;
    onPath_.insert(canonical);
    const std::vector<Entry> entries = sortedEntries(folder);
    const AnsiString prefix = "Favorites" + rel + "\\";
    for (const Entry& e : entries) {
      if (!e.info.fileName().endsWith(QLatin1String(".url"), Qt::CaseInsensitive)) continue;
      // Only a regular file is read: opening a named pipe would wait for ever.
      const AnsiString url = e.info.isFile() ? readShortcutUrl(e.info.filePath()) : AnsiString();
      add(prefix + ansiName(e.info.fileName()), url, dosDate(e.info),
          e.info.isDir() ? kKindFolder : kKindUrl);
    }
    for (const Entry& e : entries) {
      if (!e.info.isDir() || e.info.fileName().startsWith(QLatin1Char('.'))) continue;
      const AnsiString name = ansiName(e.info.fileName());
      add(prefix + name + "\\", "", dosDate(e.info), kKindFolder);
      walk(e.info.filePath(), rel + "\\" + name);
    }
    onPath_.remove(canonical);
  }

 private:
  // A name or URL longer than its field is cut, and the user is told.
  void add(const AnsiString& name, const AnsiString& url, std::uint32_t date,
           std::string_view kind) {
    list_.append(LinkRecord::make(name, url, date, kind));
    if (!report_) return;
    const LinkRecord& r = list_[list_.size() - 1];
    if (r.fullName().size() != name.size()) report_->cutTitles << fromAnsi(r.fullName());
    if (r.url().size() != url.size()) report_->cutUrls << fromAnsi(r.fullName());
  }

  LinkList& list_;
  FitReport* report_;
  QSet<QString> onPath_;
};

// The walked folder's path below the Favorites folder, "\News\Daily" style;
// empty for the Favorites folder itself and for a folder outside it.
AnsiString relativePart(const QString& folder, const QString& favoritesPath) {
  const QString rel =
      QDir(QDir::cleanPath(favoritesPath)).relativeFilePath(QDir::cleanPath(folder));
  if (rel == QLatin1String(".") || rel == QLatin1String("..") ||
      rel.startsWith(QLatin1String("../")) || QDir::isAbsolutePath(rel))
    return {};
  AnsiString out;
  for (const QString& part : rel.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
    out += '\\';
    out += ansiName(part);
  }
  return out;
}

}  // namespace

LinkList& ImportFavoritesFolder(const QString& folder, const QString& favoritesPath, LinkList& list,
                                FitReport* report) {
  Walker(list, report).walk(folder, relativePart(folder, favoritesPath));
  return list;
}

ImportOutcome RunFavoritesImport(DesktopServices& desktop, QObject* dialogParent,
                                 QString& favoritesPath, LinkList& list) {
  const QString chosen = desktop.chooseFolder(
      dialogParent, QString::fromLatin1(kChooseFavoritesPrompt), favoritesPath);
  if (chosen.isEmpty() || !QFileInfo(chosen).isDir()) return {};
  favoritesPath = chosen;
  list.clear();
  ImportOutcome out;
  ImportFavoritesFolder(favoritesPath, favoritesPath, list, &out.report);
  out.chosen = true;
  out.records = list.size();
  return out;
}

}  // namespace vorlix
