// Store operations at 100k and 1M records, each beside its floor: the
// cheapest plain pass that any implementation of the operation must make.
#include <benchmark/benchmark.h>

#include <QString>

#include <algorithm>
#include <cstring>
#include <map>
#include <numeric>
#include <random>

#include "BenchData.h"
#include "store/Collation.h"
#include "store/Find.h"
#include "store/FolderTree.h"
#include "store/ListBuilder.h"
#include "store/Paths.h"
#include "store/RowSort.h"

using namespace vorlix;
using vorlix::bench::Database;

namespace {

const Database& db(size_t n) {
  static std::map<size_t, Database> cache;
  auto it = cache.find(n);
  if (it == cache.end()) it = cache.emplace(n, bench::makeDatabase(n)).first;
  return it->second;
}

// The same shape with every third title in another script.
const Database& mixedDb(size_t n) {
  static std::map<size_t, Database> cache;
  auto it = cache.find(n);
  if (it == cache.end()) it = cache.emplace(n, bench::makeDatabase(n, 42, true)).first;
  return it->second;
}

FolderPosition root() {
  FolderPosition p;
  p.currentPath = "Favorites\\";
  return p;
}

FolderPosition bigFolder(const Database& d) {
  FolderPosition p;
  p.currentPath = d.bigFolder;
  p.upMarker = LastComponent(d.bigFolder);
  return p;
}

void counters(benchmark::State& state, const Database& d) {
  state.counters["records"] = double(d.list.size());
  state.counters["peakMiB"] = bench::peakRssMiB();
}

// --- list rebuild ----------------------------------------------------------

void BuildRows_root_explorer(benchmark::State& state) {
  const Database& d = db(size_t(state.range(0)));
  size_t rows = 0;
  for (auto _ : state) rows = BuildRows(d.list, root(), false).size();
  state.counters["rows"] = double(rows);
  counters(state, d);
}
void BuildRows_root_flat(benchmark::State& state) {
  const Database& d = db(size_t(state.range(0)));
  size_t rows = 0;
  for (auto _ : state) rows = BuildRows(d.list, root(), true).size();
  state.counters["rows"] = double(rows);
  counters(state, d);
}
void BuildRows_bigFolder_explorer(benchmark::State& state) {
  const Database& d = db(size_t(state.range(0)));
  size_t rows = 0;
  for (auto _ : state) rows = BuildRows(d.list, bigFolder(d), false).size();
  state.counters["rows"] = double(rows);
  counters(state, d);
}
void BuildRows_bigFolder_flat(benchmark::State& state) {
  const Database& d = db(size_t(state.range(0)));
  size_t rows = 0;
  for (auto _ : state) rows = BuildRows(d.list, bigFolder(d), true).size();
  state.counters["rows"] = double(rows);
  counters(state, d);
}
// One plain pass over the records, reading every full name.
void BuildRows_floor(benchmark::State& state) {
  const Database& d = db(size_t(state.range(0)));
  const std::string prefix = d.bigFolder;
  for (auto _ : state) {
    size_t hits = 0;
    for (const LinkRecord& r : d.list) hits += startsWith(r.fullName(), prefix);
    benchmark::DoNotOptimize(hits);
  }
  counters(state, d);
}

// --- find ------------------------------------------------------------------

void Find_rebuildIndex(benchmark::State& state) {
  const Database& d = db(size_t(state.range(0)));
  FindIndex index;
  for (auto _ : state) index.rebuild(d.list);
  counters(state, d);
}
// A keystroke: the third letter typed (a full scan), then the flat list of
// the hits in the root.
void Find_keystroke(benchmark::State& state) {
  const Database& d = db(size_t(state.range(0)));
  FindIndex index;
  index.rebuild(d.list);
  const char* needles[] = {"abc", "xyz", "qrs", "mno"};
  size_t i = 0, hits = 0, rows = 0;
  for (auto _ : state) {
    index.resetNarrowing();
    const auto& h = index.find(needles[i++ % 4]);
    hits = h.size();
    rows = BuildRows(d.list, h, root(), true).size();
  }
  state.counters["hits"] = double(hits);
  state.counters["rows"] = double(rows);
  counters(state, d);
}
void Find_search_only(benchmark::State& state) {
  const Database& d = db(size_t(state.range(0)));
  FindIndex index;
  index.rebuild(d.list);
  const char* needles[] = {"abc", "xyz", "qrs", "mno"};
  size_t i = 0;
  for (auto _ : state) {
    index.resetNarrowing();
    benchmark::DoNotOptimize(index.find(needles[i++ % 4]).size());
  }
  counters(state, d);
}
// The fourth letter, narrowed from the hits of three.
void Find_narrowed(benchmark::State& state) {
  const Database& d = db(size_t(state.range(0)));
  FindIndex index;
  index.rebuild(d.list);
  for (auto _ : state) {
    state.PauseTiming();
    index.resetNarrowing();
    index.find("ab");
    state.ResumeTiming();
    benchmark::DoNotOptimize(index.find("abc").size());
  }
  counters(state, d);
}
// A bare substring scan over the same upper-cased compact copy.
void Find_floor(benchmark::State& state) {
  const Database& d = db(size_t(state.range(0)));
  FindIndex index;
  index.rebuild(d.list);
  const std::string_view text = index.text();
  const char* needles[] = {"ABC", "XYZ", "QRS", "MNO"};
  size_t i = 0;
  for (auto _ : state) {
    const char* n = needles[i++ % 4];
    size_t count = 0;
    const char* p = text.data();
    const char* end = p + text.size();
    while (const void* m = ::memmem(p, size_t(end - p), n, 3)) {
      ++count;
      p = static_cast<const char*>(m) + 1;
    }
    benchmark::DoNotOptimize(count);
  }
  counters(state, d);
}

// Find as you type over titles a third of which are not Latin: each word
// typed letter by letter from its third letter on, the hits listed flat at
// the root after every keystroke. Beside it the floor: the bare substring
// scan of the whole upper-cased text that each keystroke costs without the
// block filters and the narrowing.
std::vector<std::string> typedKeystrokes() {
  const char* const words[] = {"Abcde",
                               "\xD0\x90\xD0\x91\xD0\x92\xD0\x93\xD0\x94",
                               "\xCE\xB1\xCE\xB2\xCE\xB3\xCE\xB4",
                               "\xE4\xB8\x80\xE4\xB8\x81\xE4\xB8\x83\xE4\xB8\x87",
                               "Mnopq",
                               "zzqx"};
  std::vector<std::string> out;
  for (const char* word : words) {
    const QString w = QString::fromUtf8(word);
    for (qsizetype len = 3; len <= w.size(); ++len) out.push_back(w.left(len).toStdString());
  }
  return out;
}

void Find_typing_mixed(benchmark::State& state) {
  const Database& d = mixedDb(size_t(state.range(0)));
  FindIndex index;
  index.rebuild(d.list);
  const std::vector<std::string> keys = typedKeystrokes();
  size_t keystrokes = 0, rows = 0;
  for (auto _ : state) {
    for (const std::string& k : keys) {
      if (QString::fromStdString(k).size() == 3) index.resetNarrowing();  // a new word
      rows += BuildRows(d.list, index.find(k), root(), true).size();
      ++keystrokes;
    }
  }
  state.counters["perKeystroke"] = benchmark::Counter(
      double(keystrokes), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["rows"] = double(rows) / double(std::max<size_t>(1, keystrokes));
  counters(state, d);
}
void Find_typing_mixed_floor(benchmark::State& state) {
  const Database& d = mixedDb(size_t(state.range(0)));
  FindIndex index;
  index.rebuild(d.list);
  const std::string_view text = index.text();
  const std::vector<std::string> keys = typedKeystrokes();
  size_t keystrokes = 0;
  for (auto _ : state) {
    for (const std::string& k : keys) {
      const std::string w = upperAscii(k);
      size_t count = 0;
      const char* p = text.data();
      const char* end = p + text.size();
      while (const void* m = ::memmem(p, size_t(end - p), w.data(), w.size())) {
        ++count;
        p = static_cast<const char*>(m) + 1;
      }
      benchmark::DoNotOptimize(count);
      ++keystrokes;
    }
  }
  state.counters["perKeystroke"] = benchmark::Counter(
      double(keystrokes), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  counters(state, d);
}

// --- sorting ---------------------------------------------------------------

ListRows linkRows(const Database& d) {
  const ListRows all = BuildRows(d.list, root(), true);
  ListRows rows;
  for (size_t i = 0; i < std::min<size_t>(all.size(), 100000); ++i) rows.push(all[i]);
  return rows;
}

// A column sort of the same links each time; `cold` drops the cached keys
// first, as the first sort after a load finds none.
void sortRowsBench(benchmark::State& state, ListColumn column, bool cold) {
  const Database& d = db(size_t(state.range(0)));
  const ListRows base = linkRows(d);
  ListRows rows;
  for (auto _ : state) {
    state.PauseTiming();
    rows = base;  // the old rows are freed here, untimed
    if (cold) LinkList::dropSortKeys();
    state.ResumeTiming();
    SortRows(rows, column, false);
  }
  state.counters["rows"] = double(base.size());
}
void SortRows_description(benchmark::State& state) { sortRowsBench(state, ColDescription, false); }
void SortRows_description_cold(benchmark::State& state) {
  sortRowsBench(state, ColDescription, true);
}
void SortRows_date(benchmark::State& state) { sortRowsBench(state, ColDate, false); }
// std::sort of the same rows' precomputed collation keys.
void SortRows_floor(benchmark::State& state) {
  const Database& d = db(size_t(state.range(0)));
  const ListRows base = linkRows(d);
  CollationKeys keys;
  for (const ListRow& r : base) keys.add(r.caption);
  for (auto _ : state) {
    std::vector<std::uint32_t> order(base.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [&](auto a, auto b) { return keys.less(a, b); });
    benchmark::DoNotOptimize(order.data());
  }
  state.counters["rows"] = double(base.size());
}

LinkList shuffled(const Database& d) {
  LinkList l = d.list;
  std::mt19937 rng(7);
  std::shuffle(l.storage().begin(), l.storage().end(), rng);
  return l;
}

// Sorting again after an edit: the keys of the names are known.
void SortByFullName_warm(benchmark::State& state) {
  const Database& d = db(size_t(state.range(0)));
  const LinkList base = shuffled(d);
  LinkList::dropSortKeys();
  {
    LinkList l = base;
    l.sortByFullName();
  }
  for (auto _ : state) {
    state.PauseTiming();
    LinkList l = base;
    state.ResumeTiming();
    l.sortByFullName();
  }
  counters(state, d);
}
// The first sort of a freshly opened database.
void SortByFullName_cold(benchmark::State& state) {
  const Database& d = db(size_t(state.range(0)));
  const LinkList base = shuffled(d);
  for (auto _ : state) {
    state.PauseTiming();
    LinkList l = base;
    LinkList::dropSortKeys();
    state.ResumeTiming();
    l.sortByFullName();
  }
  counters(state, d);
}
// A bytewise sort of the same names, records moved the same way.
void SortByFullName_floor(benchmark::State& state) {
  const Database& d = db(size_t(state.range(0)));
  const LinkList base = shuffled(d);
  for (auto _ : state) {
    state.PauseTiming();
    LinkList l = base;
    state.ResumeTiming();
    std::vector<std::uint32_t> order(l.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(),
              [&](auto a, auto b) { return l[a].fullName() < l[b].fullName(); });
    LinkList::Storage sorted;
    sorted.reserve(l.size());
    for (auto i : order) sorted.push_back(l[i]);
    l.storage().swap(sorted);
    benchmark::DoNotOptimize(l.storage().data());
  }
  counters(state, d);
}

// --- tree ------------------------------------------------------------------

void RebuildTree_all(benchmark::State& state) {
  const Database& d = db(size_t(state.range(0)));
  FolderTreeModel model;
  for (auto _ : state) RebuildTree(model, d.list);
  state.counters["folders"] = double(d.folders);
  counters(state, d);
}
// One plain pass picking out the folder records.
void RebuildTree_floor(benchmark::State& state) {
  const Database& d = db(size_t(state.range(0)));
  for (auto _ : state) {
    size_t folders = 0;
    for (const LinkRecord& r : d.list) folders += r.isFolder();
    benchmark::DoNotOptimize(folders);
  }
  state.counters["folders"] = double(d.folders);
}

}  // namespace

// The 1M runs are few: each one costs seconds of setup.
#define BOTH(fn)                                             \
  BENCHMARK(fn)->Arg(100000)->Unit(benchmark::kMillisecond); \
  BENCHMARK(fn)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(2)
BOTH(BuildRows_root_explorer);
BOTH(BuildRows_root_flat);
BOTH(BuildRows_bigFolder_explorer);
BOTH(BuildRows_bigFolder_flat);
BOTH(BuildRows_floor);
BOTH(Find_rebuildIndex);
BOTH(Find_keystroke);
BOTH(Find_search_only);
BOTH(Find_narrowed);
BOTH(Find_floor);
BOTH(Find_typing_mixed);
BOTH(Find_typing_mixed_floor);
BENCHMARK(SortRows_description)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(SortRows_description_cold)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(SortRows_date)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(SortRows_floor)->Arg(100000)->Unit(benchmark::kMillisecond);
BOTH(SortByFullName_warm);
BOTH(SortByFullName_cold);
BOTH(SortByFullName_floor);
BOTH(RebuildTree_all);
BOTH(RebuildTree_floor);

BENCHMARK_MAIN();
