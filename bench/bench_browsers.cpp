// Importing 100k links from a Firefox places.sqlite and from a Chromium
// Bookmarks file, each beside its floor: reading the same rows with the
// same query alone, and parsing the same JSON alone.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QUrl>
#include <memory>

#include "BenchData.h"
#include "interchange/FirefoxPlaces.h"
#include "interchange/ImportBuilder.h"
#include "interchange/ImportFile.h"
#include "interchange/RecordTree.h"
#include "platform/AtomicFile.h"
#include "store/DosDate.h"

using namespace vorlix;

namespace {

constexpr size_t kLinks = 100000;

// The query the places reader runs.
constexpr char kPlacesQuery[] =
    "SELECT b.id, b.type, b.parent, b.title, b.dateAdded, p.url, b.guid, "
    "EXISTS(SELECT 1 FROM moz_keywords k WHERE k.place_id = b.fk) "
    "FROM moz_bookmarks b LEFT JOIN moz_places p ON p.id = b.fk "
    "ORDER BY b.parent, b.position";

void exec(sqlite3* db, const char* sql) {
  if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) std::abort();
}

// Firefox's tables, as far as the reader looks at them.
void writePlaces(const QString& path, const ImportedFolder& root) {
  sqlite3* db = nullptr;
  if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK) std::abort();
  exec(db,
       "CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, "
       "guid TEXT, url_hash INTEGER DEFAULT 0 NOT NULL);"
       "CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT "
       "NULL, parent INTEGER, position INTEGER, title LONGVARCHAR, keyword_id INTEGER, "
       "folder_type TEXT, dateAdded INTEGER, lastModified INTEGER, guid TEXT);"
       "CREATE INDEX moz_bookmarks_parentindex ON moz_bookmarks (parent, position);"
       "CREATE TABLE moz_keywords (id INTEGER PRIMARY KEY AUTOINCREMENT, keyword TEXT UNIQUE, "
       "place_id INTEGER, post_data TEXT);"
       "BEGIN;"
       "INSERT INTO moz_bookmarks(id, type, parent, position, title, guid) VALUES "
       "(1, 2, 0, 0, '', 'root________'), (2, 2, 1, 0, 'menu', 'menu________'),"
       "(3, 2, 1, 1, 'toolbar', 'toolbar_____'), (4, 2, 1, 2, 'tags', 'tags________'),"
       "(5, 2, 1, 3, 'unfiled', 'unfiled_____'), (6, 2, 1, 4, 'mobile', 'mobile______');");
  sqlite3_stmt* place = nullptr;
  sqlite3_stmt* item = nullptr;
  sqlite3_prepare_v2(db, "INSERT INTO moz_places(id, url, guid) VALUES (?, ?, ?)", -1, &place,
                     nullptr);
  sqlite3_prepare_v2(db,
                     "INSERT INTO moz_bookmarks(id, type, fk, parent, position, title, dateAdded, "
                     "guid) VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
                     -1, &item, nullptr);
  qint64 next = 7;
  auto add = [&](auto&& self, const ImportedFolder& f, qint64 parent) -> void {
    int position = 0;
    for (const ImportedFolder::Entry& e : f.order) {
      const qint64 id = next++;
      const QByteArray guid = QByteArray::number(id).rightJustified(12, 'g');
      const bool folder = e.isFolder;
      const QByteArray title =
          (folder ? f.folders[e.index].title : f.links[e.index].title).toUtf8();
      const std::optional<qint64> added =
          folder ? f.folders[e.index].added : f.links[e.index].added;
      if (!folder) {
        const QByteArray url = f.links[e.index].url.toUtf8();
        sqlite3_bind_int64(place, 1, id);
        sqlite3_bind_text(place, 2, url.constData(), int(url.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(place, 3, guid.constData(), int(guid.size()), SQLITE_TRANSIENT);
        if (sqlite3_step(place) != SQLITE_DONE) std::abort();
        sqlite3_reset(place);
      }
      sqlite3_bind_int64(item, 1, id);
      sqlite3_bind_int(item, 2, folder ? 2 : 1);
      if (folder)
        sqlite3_bind_null(item, 3);
      else
        sqlite3_bind_int64(item, 3, id);
      sqlite3_bind_int64(item, 4, parent);
      sqlite3_bind_int(item, 5, position++);
      sqlite3_bind_text(item, 6, title.constData(), int(title.size()), SQLITE_TRANSIENT);
      sqlite3_bind_int64(item, 7, added.value_or(0) * 1000000);
      sqlite3_bind_text(item, 8, guid.constData(), int(guid.size()), SQLITE_TRANSIENT);
      if (sqlite3_step(item) != SQLITE_DONE) std::abort();
      sqlite3_reset(item);
      if (folder) self(self, f.folders[e.index], id);
    }
  };
  add(add, root, 2);
  sqlite3_finalize(place);
  sqlite3_finalize(item);
  exec(db, "COMMIT;");
  sqlite3_close(db);
}

QJsonObject chromiumNode(const ImportedFolder& f, const QString& name) {
  QJsonArray children;
  for (const ImportedFolder::Entry& e : f.order) {
    if (e.isFolder) {
      children.append(chromiumNode(f.folders[e.index], f.folders[e.index].title));
    } else {
      const ImportedLink& l = f.links[e.index];
      children.append(QJsonObject{
          {"type", "url"},
          {"name", l.title},
          {"url", l.url},
          {"date_added", QString::number((l.added.value_or(0) + 11644473600LL) * 1000000)}});
    }
  }
  return QJsonObject{{"type", "folder"}, {"name", name}, {"children", children}};
}

struct Fixture {
  QTemporaryDir dir{QDir::tempPath() + QStringLiteral("/vorlix-bench-XXXXXX")};
  QString places;
  QString chromium;
  size_t links = 0;
};

Fixture& fixture() {
  static std::unique_ptr<Fixture> f;
  if (!f) {
    f = std::make_unique<Fixture>();
    const LinkList list = bench::makeDatabase(kLinks).list;
    for (const LinkRecord& r : list) f->links += r.isFolder() ? 0 : 1;
    const ImportedFolder tree = RecordsAsTree(list);
    f->places = f->dir.filePath(QStringLiteral("places.sqlite"));
    writePlaces(f->places, tree);
    const QJsonObject roots{{"bookmark_bar", chromiumNode(tree, QStringLiteral("Bookmarks bar"))},
                            {"other", chromiumNode({}, QStringLiteral("Other bookmarks"))},
                            {"synced", chromiumNode({}, QStringLiteral("Mobile bookmarks"))}};
    f->chromium = f->dir.filePath(QStringLiteral("Bookmarks"));
    if (!writeFileAtomically(f->chromium,
                             QJsonDocument(QJsonObject{{"roots", roots}, {"version", 1}}).toJson()))
      std::abort();
  }
  return *f;
}

void import(benchmark::State& state, const QString& path) {
  Fixture& f = fixture();
  const LinkList empty;
  for (auto _ : state) {
    const BookmarkImport r = ImportFileInto(path, empty, QStringLiteral("Browser"), 0);
    if (!r.ok || r.linkCount != f.links) state.SkipWithError("import failed");
    benchmark::DoNotOptimize(r.links.storage().data());
  }
  state.counters["links"] = double(f.links);
}

void ImportPlaces(benchmark::State& state) { import(state, fixture().places); }

// The same rows through the same query, their texts only looked at.
void ImportPlaces_floor(benchmark::State& state) {
  Fixture& f = fixture();
  const QByteArray uri = QUrl::fromLocalFile(f.places).toEncoded() + "?immutable=1";
  for (auto _ : state) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(uri.constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, kPlacesQuery, -1, &s, nullptr) != SQLITE_OK)
      state.SkipWithError("query failed");
    size_t bytes = 0;
    while (sqlite3_step(s) == SQLITE_ROW) {
      sqlite3_column_text(s, 3);
      sqlite3_column_text(s, 5);
      bytes += size_t(sqlite3_column_bytes(s, 3) + sqlite3_column_bytes(s, 5));
    }
    sqlite3_finalize(s);
    sqlite3_close(db);
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["links"] = double(f.links);
}

// The reader alone, and the building of records alone, to see which part
// of an import costs what.
void ImportPlaces_readOnly(benchmark::State& state) {
  for (auto _ : state) {
    ImportedBookmarks tree;
    if (!ReadFirefoxPlaces(fixture().places, tree, nullptr)) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(tree.items);
  }
}

void ImportPlaces_buildOnly(benchmark::State& state) {
  ImportedBookmarks tree;
  if (!ReadFirefoxPlaces(fixture().places, tree, nullptr)) state.SkipWithError("read failed");
  for (auto _ : state) {
    BuildOptions options;
    options.intoFolder = QStringLiteral("Browser");
    const BookmarkImport r = BuildImport(tree, options);
    benchmark::DoNotOptimize(r.links.storage().data());
  }
}

void ImportChromium(benchmark::State& state) { import(state, fixture().chromium); }

void ImportChromium_floor(benchmark::State& state) {
  Fixture& f = fixture();
  for (auto _ : state) {
    QByteArray bytes;
    if (!readWholeFile(f.chromium, bytes)) state.SkipWithError("read failed");
    const QJsonDocument doc = QJsonDocument::fromJson(bytes);
    benchmark::DoNotOptimize(doc.isObject());
  }
  state.counters["links"] = double(f.links);
}

}  // namespace

BENCHMARK(ImportPlaces)->Unit(benchmark::kMillisecond);
BENCHMARK(ImportPlaces_floor)->Unit(benchmark::kMillisecond);
BENCHMARK(ImportPlaces_readOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(ImportPlaces_buildOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(ImportChromium)->Unit(benchmark::kMillisecond);
BENCHMARK(ImportChromium_floor)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
