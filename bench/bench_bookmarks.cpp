// Importing and exporting a bookmark file of 100k links, each beside its
// floor: a plain read of the same file, and the same bytes written through
// the same atomic replacement. The import's peak memory is measured in a
// fresh process (this program started again with --import-peak FILE), so
// the fixtures of this one do not count.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <memory>

#include "BenchData.h"
#include "interchange/BookmarkFile.h"
#include "platform/AtomicFile.h"

using namespace vorlix;

namespace {

constexpr size_t kLinks = 100000;

struct Fixture {
  QTemporaryDir dir{QDir::tempPath() + QStringLiteral("/vorlix-bench-XXXXXX")};
  LinkList list;
  QByteArray bytes;
  QString file;
};

Fixture& fixture() {
  static std::unique_ptr<Fixture> f;
  if (!f) {
    f = std::make_unique<Fixture>();
    f->list = bench::makeDatabase(kLinks).list;
    f->bytes = FormatBookmarks(f->list);
    f->file = f->dir.filePath(QStringLiteral("bookmarks.html"));
    if (!writeFileAtomically(f->file, f->bytes)) std::abort();
  }
  return *f;
}

void report(benchmark::State& state) {
  const Fixture& f = fixture();
  state.counters["records"] = double(f.list.size());
  state.counters["fileMiB"] = double(f.bytes.size()) / (1 << 20);
  state.SetBytesProcessed(std::int64_t(state.iterations()) * f.bytes.size());
}

void Import(benchmark::State& state) {
  Fixture& f = fixture();
  for (auto _ : state) {
    const BookmarkImport r = ReadBookmarkFile(f.file);
    if (!r.ok || r.links.size() != f.list.size()) state.SkipWithError("import failed");
    benchmark::DoNotOptimize(r.links.storage().data());
  }
  report(state);
}

void Import_floor(benchmark::State& state) {
  Fixture& f = fixture();
  for (auto _ : state) {
    QByteArray data;
    if (!readWholeFile(f.file, data)) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(data.constData());
  }
  report(state);
}

// The same read, plus fresh memory for as many records as the import
// makes: what any import into records has to pay before parsing a byte.
void Import_floor_with_records(benchmark::State& state) {
  Fixture& f = fixture();
  for (auto _ : state) {
    QByteArray data;
    if (!readWholeFile(f.file, data)) state.SkipWithError("read failed");
    LinkList records;
    records.storage().resize(f.list.size());
    benchmark::DoNotOptimize(data.constData());
    benchmark::DoNotOptimize(records.storage().data());
  }
  report(state);
}

void Export(benchmark::State& state) {
  Fixture& f = fixture();
  const QString out = f.dir.filePath(QStringLiteral("export.html"));
  for (auto _ : state)
    if (!WriteBookmarkFile(out, f.list)) state.SkipWithError("export failed");
  report(state);
}

void Export_floor(benchmark::State& state) {
  Fixture& f = fixture();
  const QString out = f.dir.filePath(QStringLiteral("plain.html"));
  for (auto _ : state)
    if (!writeFileAtomically(out, f.bytes)) state.SkipWithError("write failed");
  report(state);
}

// A field of /proc/self/status in MiB. VmHWM, unlike ru_maxrss, starts
// afresh with the new program image.
double statusMiB(const char* field) {
  QFile f(QStringLiteral("/proc/self/status"));
  if (!f.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : f.readAll().split('\n'))
    if (line.startsWith(field))
      return line.mid(qsizetype(std::strlen(field))).trimmed().split(' ')[0].toDouble() / 1024.0;
  return 0;
}

// Peak memory of one import in a fresh process, less what the process held
// before it, beside the file size and the records' own size.
void ImportPeakMemory(benchmark::State& state) {
  Fixture& f = fixture();
  double peak = 0, records = 0;
  for (auto _ : state) {
    const QByteArray file = QFile::encodeName(f.file);
    int fds[2];
    if (::pipe(fds) != 0) std::abort();
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::dup2(fds[1], 1);
      ::execl("/proc/self/exe", "bench_bookmarks", "--import-peak", file.constData(),
              static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(fds[1]);
    QByteArray out;
    char buf[256];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;) out.append(buf, n);
    ::close(fds[0]);
    ::waitpid(pid, nullptr, 0);
    const QList<QByteArray> parts = out.trimmed().split(' ');
    if (parts.size() != 2) {
      state.SkipWithError("no figures");
      break;
    }
    peak = parts[0].toDouble();
    records = parts[1].toDouble();
  }
  const double fileMiB = double(f.bytes.size()) / (1 << 20);
  state.counters["peakMiB"] = peak;
  state.counters["recordsMiB"] = records;
  state.counters["fileMiB"] = fileMiB;
  // The aim: at most three times the file on top of the records.
  state.counters["peakLessRecords_per_file"] = (peak - records) / fileMiB;
}

int importPeak(const char* path) {
  const double before = statusMiB("VmRSS:");
  const BookmarkImport r = ReadBookmarkFile(QString::fromLocal8Bit(path));
  const double after = statusMiB("VmHWM:");
  if (!r.ok) return 1;
  std::printf("%.2f %.2f\n", after - before,
              double(r.links.storage().capacity() * kRecordSize) / (1 << 20));
  return 0;
}

}  // namespace

BENCHMARK(Import)->Unit(benchmark::kMillisecond);
BENCHMARK(Import_floor)->Unit(benchmark::kMillisecond);
BENCHMARK(Import_floor_with_records)->Unit(benchmark::kMillisecond);
BENCHMARK(Export)->Unit(benchmark::kMillisecond);
BENCHMARK(Export_floor)->Unit(benchmark::kMillisecond);
BENCHMARK(ImportPeakMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--import-peak") == 0) return importPeak(argv[2]);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
