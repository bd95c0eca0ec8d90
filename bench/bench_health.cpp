// The collection's health at scale. Find Duplicates over 1M links beside
// its floor, one pass hashing every URL. Check Links over 10,000 links on
// 200 hosts of a local test server with a mix of faults, beside the floor
// the pacing rules set; it reports the peak connections one host saw and
// the links wrongly called Gone, which must be 0.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <cmath>
#include <map>
#include <memory>

#include "../tests/support/LinkTestServer.h"
#include "BenchData.h"
#include "health/CheckHistory.h"
#include "health/CheckRun.h"
#include "health/Duplicates.h"

using namespace vorlix;

namespace {

QCoreApplication& app() {
  static int argc = 1;
  static char name[] = "bench_health";
  static char* argv[] = {name, nullptr};
  static QCoreApplication a(argc, argv);
  return a;
}

// The synthetic database with one link in seven a variant of an earlier
// one: https for http, a trailing slash, a tracking parameter.
const LinkList& duplicateDatabase(size_t n) {
  static std::map<size_t, std::unique_ptr<LinkList>> cache;
  auto& l = cache[n];
  if (!l) {
    l = std::make_unique<LinkList>(bench::makeDatabase(n).list);
    std::mt19937 rng(7);
    std::vector<size_t> links;
    for (size_t i = 0; i < l->size(); ++i)
      if ((*l)[i].isUrl()) links.push_back(i);
    static const char* kVariants[] = {"https://", "/", "?utm_source=bench"};
    for (size_t k = 7; k < links.size(); k += 7) {
      const LinkRecord& from = (*l)[links[rng() % k]];
      std::string url(from.url());
      const int v = int(rng() % 3);
      if (v == 0)
        url.replace(0, 7, kVariants[0]);
      else
        url += kVariants[v];
      LinkRecord r = (*l)[links[k]];
      r.setUrl(url);
      l->storage()[links[k]] = r;
    }
  }
  return *l;
}

void FindDuplicates(benchmark::State& state) {
  const LinkList& l = duplicateDatabase(size_t(state.range(0)));
  size_t groups = 0;
  for (auto _ : state) {
    const std::vector<DuplicateGroup> g = findDuplicates(l);
    groups = g.size();
    benchmark::DoNotOptimize(g.data());
  }
  state.counters["links"] = double(l.size());
  state.counters["groups"] = double(groups);
}

void FindDuplicates_floor(benchmark::State& state) {
  const LinkList& l = duplicateDatabase(size_t(state.range(0)));
  for (auto _ : state) {
    std::uint64_t h = 0;
    for (const LinkRecord& r : l)
      for (char c : r.url()) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    benchmark::DoNotOptimize(h);
  }
  state.counters["links"] = double(l.size());
}

BENCHMARK(FindDuplicates)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(FindDuplicates_floor)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// Per host, 50 links: mostly fine pages, the rest every kind of fault.
struct Mix {
  const char* path;
  int count;
  bool gone;
};
const Mix kMix[] = {{"/ok", 26, false},     {"/file.bin", 2, false}, {"/moved", 3, false},
                    {"/temp", 2, false},    {"/404", 3, true},       {"/410", 2, true},
                    {"/403", 2, false},     {"/503", 1, false},      {"/challenge", 1, false},
                    {"/slow", 1, false},    {"/parked", 1, true},    {"/deep/missing", 1, true},
                    {"/nohead", 2, false},  {"/loop", 1, false},     {"/chain/3", 1, false},
                    {"/429-once", 1, false}};
// One host in four asks for a pause of a second (Retry-After: 1).
constexpr int kPausingEvery = 4;

void CheckLinks(benchmark::State& state) {
  app();
  const int hosts = int(state.range(0));
  const int interval = int(state.range(1));
  test::LinkTestServer server;
  server.slowMs = 1500;
  if (!server.listen(hosts)) return state.SkipWithError("cannot listen on 127.0.0.1");
  QVector<CheckJob> jobs;
  std::vector<bool> expectGone;
  for (int h = 0; h < hosts; ++h)
    for (const Mix& m : kMix)
      for (int i = 0; i < m.count; ++i) {
        if (QByteArray(m.path) == "/429-once" && h % kPausingEvery != 0) continue;
        jobs.push_back({quint32(jobs.size()),
                        server.base(h) + QString::fromLatin1(m.path) + "?n=" + QString::number(i)});
        expectGone.push_back(m.gone);
      }
  PacingRules rules;
  rules.requestIntervalMs = interval;
  rules.timeoutMs = 500;
  QTemporaryDir state_dir;
  int falseGone = 0;
  for (auto _ : state) {
    CheckHistory history(state_dir.filePath(QStringLiteral("h.json")));
    CheckRun run(rules, history);
    falseGone = 0;
    QObject::connect(&run, &CheckRun::linkChecked, &run, [&](quint32 id, const LinkCheck& c) {
      if (c.probe.verdict == Verdict::Gone && !expectGone[id]) ++falseGone;
    });
    QEventLoop loop;
    QObject::connect(&run, &CheckRun::finished, &loop, &QEventLoop::quit);
    run.start(jobs);
    loop.exec();
  }
  // The pacing alone: each host busy one interval per request plus its
  // pauses, 16 hosts at a time.
  const double busyMs = double(server.totalRequests()) / double(state.iterations()) * interval +
                        1000.0 * std::ceil(double(hosts) / kPausingEvery);
  state.counters["links"] = double(jobs.size());
  state.counters["hosts"] = hosts;
  state.counters["pacing_floor_s"] = busyMs / rules.maxHosts / 1000.0;
  state.counters["peak_conn_per_host"] = server.peakConnections();
  state.counters["false_gone"] = falseGone;
}

// hosts, interval between two requests to one host (ms)
BENCHMARK(CheckLinks)->Args({200, 20})->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
