#include "interchange/ImportFile.h"
#include "interchange/SourceFile.h"

#include <QFileInfo>
#include <new>

#include "interchange/ChromiumBookmarks.h"
#include "interchange/FirefoxPlaces.h"
#include "interchange/ImportBuilder.h"
#include "interchange/XbelFile.h"
#include "store/LdbFile.h"

namespace vorlix {
namespace {

// Larger files are refused: no bookmark file of a browser comes near it.
constexpr qint64 kMaxFileBytes = qint64(512) << 20;

bool startsWithSqlite(const QString& path) {
  QFile f(path);
  if (!QFileInfo(path).isFile() || !f.open(QIODevice::ReadOnly)) return false;
  return f.read(16) == QByteArray("SQLite format 3\0", 16);
}

// The first non-blank bytes, without a byte order mark.
QByteArrayView head(const QByteArray& bytes) {
  QByteArrayView v(bytes);
  if (v.startsWith("\xEF\xBB\xBF")) v = v.sliced(3);
  while (!v.isEmpty() &&
         (v.front() == ' ' || v.front() == '\n' || v.front() == '\r' || v.front() == '\t'))
    v = v.sliced(1);
  return v.first(std::min<qsizetype>(v.size(), 4096));
}

}  // namespace

bool IsXbelPath(const QString& path) {
  return path.endsWith(QLatin1String(".xbel"), Qt::CaseInsensitive);
}

bool ReadImportFile(const QString& path, ImportedBookmarks& out, QString* error) {
  const QFileInfo info(path);
  if (info.isDir() || (info.exists() && !info.isFile())) {
    if (error) *error = quoted(path) + QStringLiteral(" is not a bookmark file.");
    return false;
  }
  if (startsWithSqlite(path)) return ReadFirefoxPlaces(path, out, error);
  if (info.size() > kMaxFileBytes) {
    if (error) *error = quoted(path) + QStringLiteral(" is too large to be a bookmark file.");
    return false;
  }
  QByteArray bytes;
  if (!ReadSourceFile(path, kMaxFileBytes, bytes, error)) return false;
  const QByteArrayView start = head(bytes);
  if (start.startsWith("{")) return ParseChromiumBookmarks(bytes, path, out, error);
  if (start.startsWith("<?xml") || start.contains("<xbel") || IsXbelPath(path))
    return ParseXbel(bytes, path, out, error);
  return ParseBookmarkTree(bytes, path, out, error);
}

BookmarkImport ImportFileInto(const QString& path, const LinkList& existing,
                              const QString& intoFolder, std::uint32_t importTime) {
  try {
    ImportedBookmarks tree;
    // Kept items past this could never be added; they are only counted.
    tree.keepLimit = existing.size() < kMaxLdbRecords ? kMaxLdbRecords - existing.size() : 0;
    BookmarkImport result;
    if (!ReadImportFile(path, tree, &result.error)) return result;
    BuildOptions options;
    options.importTime = importTime;
    options.existing = &existing;
    options.intoFolder = intoFolder;
    options.sourceName = path;
    return BuildImport(tree, options);
  } catch (const std::bad_alloc&) {
    BookmarkImport failed;
    failed.error = OutOfMemoryMessage(path);
    return failed;
  }
}

bool WriteExportFile(const QString& path, const LinkList& links, QString* error) {
  return IsXbelPath(path) ? WriteXbelFile(path, links, error)
                          : WriteBookmarkFile(path, links, error);
}

}  // namespace vorlix
