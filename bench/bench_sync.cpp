// A sync of 100k records (about 95k links) with 1% of the links renamed on
// each side, against lighttpd's WebDAV on 127.0.0.1, beside its floor: the
// same file downloaded, parsed, written again and uploaded, nothing else.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <memory>

#include "../tests/sync/WebDavServer.h"
#include "BenchData.h"
#include "document/LinkDocument.h"
#include "store/Ansi.h"
#include "store/LdbFile.h"
#include "sync/FloccusXbel.h"
#include "sync/LocalSide.h"
#include "sync/SyncRun.h"
#include "sync/SyncState.h"
#include "sync/WebDavTarget.h"

using namespace vorlix;
using namespace vorlix::sync;

namespace {

constexpr size_t kRecords = 100000;

struct Setup {
  QTemporaryDir home;
  test::WebDavServer server;
  bool up = false;
  QUrl url;
  QString ldb;
  SyncTree base;
  LinkList local;         // 1% of the links renamed here
  QByteArray remoteFile;  // another 1% renamed there
};

Setup& setup() {
  static std::unique_ptr<Setup> s;
  if (s) return *s;
  s = std::make_unique<Setup>();
  qputenv("HOME", s->home.path().toLocal8Bit());
  qputenv("XDG_STATE_HOME", (s->home.path() + QStringLiteral("/state")).toLocal8Bit());
  qputenv("XDG_CONFIG_HOME", (s->home.path() + QStringLiteral("/config")).toLocal8Bit());
  s->up = s->server.start();
  s->url = QUrl(QStringLiteral("http://127.0.0.1:%1/bookmarks.xbel").arg(s->server.port()));
  s->ldb = s->home.path() + QStringLiteral("/links.ldb");
  const LinkList db = bench::makeDatabase(kRecords).list;
  s->base = readLocalSide(db, nullptr, SyncTree()).tree;
  SyncTree remote = s->base;
  for (const auto& [id, item] : s->base.items())
    if (!item.folder && id % 100 == 0) remote.find(id)->title += QStringLiteral(" (there)");
  s->remoteFile = writeFloccusXbel(remote);
  s->local = db;
  for (size_t i = 0; i < s->local.size(); ++i)
    if (s->local[i].isUrl() && i % 100 == 50)
      s->local.setFullName(i, AnsiString(s->local[i].fullName()) + " (here)");
  return *s;
}

void Sync(benchmark::State& state) {
  Setup& s = setup();
  if (!s.up) {
    state.SkipWithError("lighttpd with mod_webdav is not installed");
    return;
  }
  SyncReport report;
  for (auto _ : state) {
    state.PauseTiming();
    s.server.writeFile(QStringLiteral("www/bookmarks.xbel"), s.remoteFile);
    WebDavTarget target(s.url, {QStringLiteral("alice"), QStringLiteral("secret")});
    QString error;
    saveLastSynced(s.ldb, target.describe(), s.base, error);
    LinkDocument doc;
    doc.adopt(LinkList(s.local), s.ldb);
    SyncOptions options;
    options.databasePath = s.ldb;
    options.saveLocal = [&s](const LinkList& merged, QString& why) {
      const IoResult saved = saveLdbFile(s.ldb, merged);
      why = saved.message;
      return bool(saved);
    };
    state.ResumeTiming();
    report = runSync(doc, target, options);
    if (!report.ok) state.SkipWithError(qPrintable(report.message));
  }
  state.counters["changedHere"] = report.local.changed;
  state.counters["changedThere"] = report.remote.changed;
  state.counters["links"] = double(s.base.linkCount());
}

void Sync_floor(benchmark::State& state) {
  Setup& s = setup();
  if (!s.up) {
    state.SkipWithError("lighttpd with mod_webdav is not installed");
    return;
  }
  s.server.writeFile(QStringLiteral("www/bookmarks.xbel"), s.remoteFile);
  WebDavTarget target(s.url, {QStringLiteral("alice"), QStringLiteral("secret")});
  for (auto _ : state) {
    const auto got = target.send("GET", s.url);
    const auto tree = parseFloccusXbel(got.body);
    if (!tree) state.SkipWithError("no file");
    const auto put = target.send("PUT", s.url, writeFloccusXbel(*tree));
    if (put.status >= 300) state.SkipWithError("upload failed");
  }
}

}  // namespace

BENCHMARK(Sync)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(Sync_floor)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
