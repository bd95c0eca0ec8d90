// Parsing registry.reg with 1,000 and 10,000 keys of three values each,
// beside its floor: decoding the same text and splitting it into lines,
// which every parse must do at least.
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "platform/RegistryHive.h"

using namespace vorlix;

namespace {

QByteArray registryText(int keys) {
  QByteArray out = "Windows Registry Editor Version 5.00\n\n";
  for (int i = 0; i < keys; ++i) {
    out += "[HKEY_CURRENT_USER\\SOFTWARE\\Vorlix\\Recent\\K" + QByteArray::number(i) + "]\n";
    out += "\"Name\"=\"/home/user/links" + QByteArray::number(i) + ".ldb\"\n";
    out += "\"Count\"=dword:" + QByteArray::number(i, 16).rightJustified(8, '0') + "\n";
    out += "\"Data\"=hex:01,02,03,\\\n  04,05\n\n";
  }
  return out;
}

void Parse(benchmark::State& state) {
  const QByteArray text = registryText(int(state.range(0)));
  for (auto _ : state) {
    const RegistryHive hive = RegistryHive::parse(text);
    benchmark::DoNotOptimize(&hive);
  }
  state.counters["keys"] = double(state.range(0));
  state.SetBytesProcessed(std::int64_t(state.iterations()) * text.size());
}

void Parse_floor(benchmark::State& state) {
  const QByteArray text = registryText(int(state.range(0)));
  for (auto _ : state) {
    const QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
    benchmark::DoNotOptimize(lines.size());
  }
  state.counters["keys"] = double(state.range(0));
  state.SetBytesProcessed(std::int64_t(state.iterations()) * text.size());
}

}  // namespace

BENCHMARK(Parse)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(Parse_floor)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
