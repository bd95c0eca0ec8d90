#include "interchange/FirefoxPlaces.h"
#include "interchange/SourceFile.h"

#include <sqlite3.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrl>
#include <memory>
#include <unordered_map>
#include <vector>

namespace vorlix {
namespace {

struct Row {
  qint64 id = 0;
  int type = 0;  // 1 bookmark, 2 folder, 3 separator
  QString title;
  qint64 added = 0;  // microseconds
  QString url;
  QByteArray guid;
  bool keyword = false;
};

struct Closer {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct Finalizer {
  void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Db = std::unique_ptr<sqlite3, Closer>;
using Statement = std::unique_ptr<sqlite3_stmt, Finalizer>;

QString columnText(sqlite3_stmt* s, int i) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
  return text ? QString::fromUtf8(text, sqlite3_column_bytes(s, i)) : QString();
}

// The rows of every bookmark item, children of one parent together and in
// their order. Keywords live in moz_keywords since Firefox 39; an older
// database lacks the table and gets the query without them.
// The rows of one parent: [first, last) in the rows read.
using Children = std::unordered_map<qint64, std::pair<size_t, size_t>>;

bool readRows(sqlite3* db, std::vector<Row>& rows, Children& children) {
  static const char* const kQueries[] = {
      "SELECT b.id, b.type, b.parent, b.title, b.dateAdded, p.url, b.guid, "
      "EXISTS(SELECT 1 FROM moz_keywords k WHERE k.place_id = b.fk) "
      "FROM moz_bookmarks b LEFT JOIN moz_places p ON p.id = b.fk "
      "ORDER BY b.parent, b.position",
      "SELECT b.id, b.type, b.parent, b.title, b.dateAdded, p.url, b.guid, 0 "
      "FROM moz_bookmarks b LEFT JOIN moz_places p ON p.id = b.fk "
      "ORDER BY b.parent, b.position"};
  for (const char* sql : kQueries) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK) continue;
    Statement s(raw);
    int rc;
    while ((rc = sqlite3_step(s.get())) == SQLITE_ROW) {
      Row r;
      r.id = sqlite3_column_int64(s.get(), 0);
      r.type = sqlite3_column_int(s.get(), 1);
      const qint64 parent = sqlite3_column_int64(s.get(), 2);
      r.title = columnText(s.get(), 3);
      r.added = sqlite3_column_int64(s.get(), 4);
      r.url = columnText(s.get(), 5);
      if (r.type == 2)  // only folders are looked up by their guid
        r.guid = QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 6)),
                            sqlite3_column_bytes(s.get(), 6));
      r.keyword = sqlite3_column_int(s.get(), 7) != 0;
      // The query gives each parent's rows together.
      auto [it, added] = children.try_emplace(parent, rows.size(), rows.size());
      if (added || it->second.second == rows.size()) it->second.second = rows.size() + 1;
      rows.push_back(std::move(r));
    }
    return rc == SQLITE_DONE;
  }
  return false;
}

class Walker {
 public:
  Walker(const std::vector<Row>& rows, const Children& children, ImportedBookmarks& out)
      : rows_(rows), children_(children), out_(out) {}

  // The rows below `id`; empty when it has none.
  std::pair<size_t, size_t> childrenOf(qint64 id) const {
    const auto it = children_.find(id);
    return it == children_.end() ? std::pair<size_t, size_t>{0, 0} : it->second;
  }

  // The items below folder `id` into `into` (null: only counted).
  void walk(qint64 id, ImportedFolder* into, int depth) {
    const auto [first, last] = childrenOf(id);
    if (depth > 200) return;  // a loop in a damaged file ends here
    for (size_t i = first; i < last; ++i) {
      const Row& r = rows_[i];
      if (r.type == 3) {
        out_.skip(QStringLiteral("separators"));
      } else if (r.type == 2) {
        ImportedFolder* f = nullptr;
        if (out_.keep() && into) f = &into->addFolder(r.title, seconds(r.added));
        walk(r.id, f, depth + 1);
      } else if (r.type == 1) {
        if (r.keyword && r.url.contains(QLatin1String("%s"))) {
          out_.skip(QStringLiteral("keyword searches"));
          continue;
        }
        if (out_.keep() && into) into->addLink({r.title, r.url, seconds(r.added), QString()});
      }
    }
  }

  static std::optional<qint64> seconds(qint64 micros) {
    return micros > 0 ? std::optional<qint64>(micros / 1000000) : std::nullopt;
  }

 private:
  const std::vector<Row>& rows_;
  const Children& children_;
  ImportedBookmarks& out_;
};

// Opens `path` for reading only. With a write-ahead log beside it, the log
// may hold the newest changes and the file may be locked by Firefox: both
// are copied into `copyDir` and the copy is opened. Otherwise the file is
// opened immutable, which takes no lock and never creates files beside it.
Db open(const QString& path, QTemporaryDir& copyDir, QString* why) {
  const QString wal = path + QStringLiteral("-wal");
  QString target = path;
  int flags = SQLITE_OPEN_READONLY | SQLITE_OPEN_URI;
  QString query = QStringLiteral("?immutable=1");
  // Only a regular file is copied: a FIFO there would wait for good.
  if (QFileInfo(wal).isFile() && QFileInfo(wal).size() > 0) {
    const QString copy = copyDir.filePath(QStringLiteral("places.sqlite"));
    if (!copyDir.isValid() || !QFile::copy(path, copy) ||
        !QFile::copy(wal, copy + QStringLiteral("-wal"))) {
      *why = QStringLiteral("cannot copy it to read it");
      return nullptr;
    }
    target = copy;
    // The copy is ours: opening it for writing lets SQLite take in the log.
    flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI;
    query.clear();
  }
  const QByteArray uri = QUrl::fromLocalFile(target).toEncoded() + query.toUtf8();
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(uri.constData(), &raw, flags, nullptr);
  Db db(raw);
  if (rc != SQLITE_OK) {
    *why = QString::fromUtf8(raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc));
    return nullptr;
  }
  sqlite3_busy_timeout(db.get(), 2000);
  return db;
}

}  // namespace

bool ReadFirefoxPlaces(const QString& path, ImportedBookmarks& out, QString* error) {
  auto fail = [&](const QString& why) {
    if (error)
      *error = QStringLiteral("Cannot read ") + quoted(path) + QStringLiteral(": ") + why +
               QLatin1Char('.');
    out = ImportedBookmarks{};
    return false;
  };
  const QFileInfo info(path);
  if (!info.exists()) return fail(QStringLiteral("File not found"));
  if (!info.isFile()) return fail(QStringLiteral("it is not a file"));
  QTemporaryDir copyDir;
  QString why;
  const Db db = open(path, copyDir, &why);
  if (!db) return fail(why);
  std::vector<Row> rows;
  Children children;
  if (!readRows(db.get(), rows, children))
    return fail(QStringLiteral("it is not a Firefox bookmark database"));

  struct Root {
    const char* guid;
    const char* name;
  };
  static const Root kRoots[] = {{"menu________", "Bookmarks Menu"},
                                {"toolbar_____", "Bookmarks Toolbar"},
                                {"unfiled_____", "Other Bookmarks"},
                                {"mobile______", "Mobile Bookmarks"}};
  Walker walker(rows, children, out);
  for (const Root& root : kRoots) {
    const Row* r = nullptr;
    for (const Row& row : rows)
      if (row.type == 2 && row.guid == root.guid) {
        r = &row;
        break;
      }
    if (!r) continue;
    const auto [first, last] = walker.childrenOf(r->id);
    if (std::string_view(root.guid) == "mobile______" && first == last) continue;
    ImportedFolder* f = nullptr;
    if (out.keep()) f = &out.root.addFolder(QLatin1String(root.name), Walker::seconds(r->added));
    walker.walk(r->id, f, 0);
  }
  // Each tag is a folder below the tags root; its entries only say which
  // bookmarks carry it.
  for (const Row& row : rows)
    if (row.type == 2 && row.guid == "tags________") {
      const auto [first, last] = walker.childrenOf(row.id);
      out.skip(QStringLiteral("tags"), qsizetype(last - first));
    }
  return true;
}

}  // namespace vorlix
