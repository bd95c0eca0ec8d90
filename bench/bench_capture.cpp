// The capture's work on session stores of 100 and 1,000 tabs (ten history
// entries each), beside its floor: reading the same file and decoding its
// LZ4 block. The whole capture must stay well inside the 200 ms the window
// waits for it.
#include <benchmark/benchmark.h>
#include <lz4.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <map>
#include <memory>

#include "browser/MozLz4.h"
#include "browser/PageCapture.h"
#include "browser/SessionStore.h"

using namespace vorlix;

namespace {

QByteArray sessionJson(int tabs) {
  QJsonArray tabList;
  for (int t = 0; t < tabs; ++t) {
    QJsonArray entries;
    for (int e = 0; e < 10; ++e)
      entries.append(QJsonObject{
          {"url", QStringLiteral("https://example.org/section/%1/page/%2?q=search").arg(t).arg(e)},
          {"title", QStringLiteral("Page %1 of tab %2, a title of ordinary length").arg(e).arg(t)},
          {"cacheKey", 0},
          {"ID", t * 10 + e},
          {"docshellUUID",
           QStringLiteral("{0b3c2d5e-8a1f-4c9b-9e7d-%1}").arg(t, 12, 10, QChar('0'))},
          {"triggeringPrincipal_base64", QString(120, QChar('A'))}});
    tabList.append(QJsonObject{{"entries", entries}, {"index", 10}, {"lastAccessed", 1.7e12}});
  }
  const QJsonObject window{{"tabs", tabList}, {"selected", tabs / 2}, {"sizemode", "normal"}};
  return QJsonDocument(QJsonObject{{"windows", QJsonArray{window}}, {"selectedWindow", 1}})
      .toJson(QJsonDocument::Compact);
}

struct Fixture {
  QTemporaryDir home{QDir::tempPath() + QStringLiteral("/vorlix-bench-XXXXXX")};
  QString file;
  qint64 bytes = 0;
};

Fixture& fixture(int tabs) {
  static std::map<int, std::unique_ptr<Fixture>> cache;
  auto& f = cache[tabs];
  if (!f) {
    f = std::make_unique<Fixture>();
    const QString root = f->home.filePath(QStringLiteral(".mozilla/firefox"));
    QDir().mkpath(root + QStringLiteral("/p/sessionstore-backups"));
    QFile ini(root + QStringLiteral("/profiles.ini"));
    if (!ini.open(QIODevice::WriteOnly)) std::abort();
    ini.write("[Profile0]\nPath=p\nIsRelative=1\n");
    const QByteArray json = sessionJson(tabs);
    QByteArray out("mozLz40\0", 8);
    for (int i = 0; i < 4; ++i) out += char((quint32(json.size()) >> (8 * i)) & 0xff);
    QByteArray block(LZ4_compressBound(int(json.size())), Qt::Uninitialized);
    block.truncate(
        LZ4_compress_default(json.constData(), block.data(), int(json.size()), int(block.size())));
    f->file = root + QStringLiteral("/p/sessionstore-backups/recovery.jsonlz4");
    QFile s(f->file);
    if (!s.open(QIODevice::WriteOnly)) std::abort();
    s.write(out + block);
    f->bytes = json.size();
  }
  return *f;
}

void Capture(benchmark::State& state) {
  Fixture& f = fixture(int(state.range(0)));
  const std::optional<ActiveWindowInfo> none;
  for (auto _ : state) {
    const QString reply = CaptureReplyNow(f.home.path(), none);
    if (reply.isEmpty()) state.SkipWithError("no page");
    benchmark::DoNotOptimize(reply.data());
  }
  state.counters["jsonKiB"] = double(f.bytes) / 1024;
}

void Capture_floor(benchmark::State& state) {
  Fixture& f = fixture(int(state.range(0)));
  for (auto _ : state) {
    QFile file(f.file);
    if (!file.open(QIODevice::ReadOnly)) state.SkipWithError("open failed");
    const auto json = DecodeMozLz4(file.readAll(), kMaxSessionJsonBytes);
    if (!json) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(json->data());
  }
  state.counters["jsonKiB"] = double(f.bytes) / 1024;
}

}  // namespace

BENCHMARK(Capture)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(Capture_floor)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
