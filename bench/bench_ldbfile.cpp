// Loading and saving .ldb files at 10k, 100k and 1M records, each beside its
// floor: a plain read of the same file into fresh memory, and a plain write
// plus fsync of the same bytes.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QTemporaryDir>
#include <map>
#include <memory>

#include "BenchData.h"
#include "store/LdbFile.h"

using namespace vorlix;

namespace {

struct Fixture {
  QTemporaryDir dir{QDir::tempPath() + QStringLiteral("/vorlix-bench-XXXXXX")};
  LinkList list;
  QString file;
};

Fixture& fixture(size_t n) {
  static std::map<size_t, std::unique_ptr<Fixture>> cache;
  auto& f = cache[n];
  if (!f) {
    f = std::make_unique<Fixture>();
    f->list = bench::makeDatabase(n).list;
    f->file = f->dir.filePath(QStringLiteral("db.ldb"));
    if (!saveLdbFile(f->file, f->list)) std::abort();
  }
  return *f;
}

void report(benchmark::State& state, size_t records) {
  state.counters["records"] = double(records);
  state.counters["peakMiB"] = bench::peakRssMiB();
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(records) * kRecordSize);
}

void Load(benchmark::State& state) {
  Fixture& f = fixture(size_t(state.range(0)));
  for (auto _ : state) {
    LinkList loaded;
    if (!loadLdbFile(f.file, loaded)) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(loaded.storage().data());
  }
  report(state, f.list.size());
}

void Load_floor(benchmark::State& state) {
  Fixture& f = fixture(size_t(state.range(0)));
  const QByteArray path = QFile::encodeName(f.file);
  const size_t bytes = f.list.size() * kRecordSize;
  for (auto _ : state) {
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    std::unique_ptr<char[]> buf(new char[bytes]);
    size_t got = 0;
    while (got < bytes) {
      const ssize_t r = ::read(fd, buf.get() + got, bytes - got);
      if (r <= 0) break;
      got += size_t(r);
    }
    ::close(fd);
    benchmark::DoNotOptimize(buf.get());
  }
  report(state, f.list.size());
}

void Save(benchmark::State& state) {
  Fixture& f = fixture(size_t(state.range(0)));
  const QString out = f.dir.filePath(QStringLiteral("saved.ldb"));
  for (auto _ : state)
    if (!saveLdbFile(out, f.list)) state.SkipWithError("save failed");
  report(state, f.list.size());
}

void Save_floor(benchmark::State& state) {
  Fixture& f = fixture(size_t(state.range(0)));
  const QByteArray out = QFile::encodeName(f.dir.filePath(QStringLiteral("plain.ldb")));
  const char* data = reinterpret_cast<const char*>(f.list.storage().data());
  const size_t bytes = f.list.size() * kRecordSize;
  for (auto _ : state) {
    const int fd = ::open(out.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    size_t put = 0;
    while (put < bytes) {
      const ssize_t w = ::write(fd, data + put, bytes - put);
      if (w <= 0) break;
      put += size_t(w);
    }
    ::fsync(fd);
    ::close(fd);
  }
  report(state, f.list.size());
}

}  // namespace

#define SIZES Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)
BENCHMARK(Load)->SIZES;
BENCHMARK(Load_floor)->SIZES;
BENCHMARK(Save)->SIZES;
BENCHMARK(Save_floor)->SIZES;

BENCHMARK_MAIN();
