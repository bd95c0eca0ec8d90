// The whole window: loading a file to the first painted window, and a list
// rebuild with its model reset and paint, beside a plain read of the file.
// Runs offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <optional>

#include "BenchData.h"
#include "components/TrayIcon.h"
#include "components/XeListView.h"
#include "document/LinkDocument.h"
#include "mainwindow/FileCommands.h"
#include "mainwindow/MainParts.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/TreeLinksView.h"
#include "mainwindow/WindowParts.h"
#include "platform/Prompts.h"
#include "platform/Registry.h"
#include "settings/Settings.h"
#include "store/LdbFile.h"

static void initBenchResources() { Q_INIT_RESOURCE(vorlix); }

namespace vorlix::bench {
namespace {

class SilentPrompts : public Prompts {
 public:
  Answer message(MsgType, Buttons, const QString&, bool) override { return Answer::No; }
  QString input(const QString&, const QString&, const QString& d) override { return d; }
};

class NoDesktop : public DesktopServices {
 public:
  QString openFileName(QObject*, const QString&, const QString&) override { return {}; }
  QString saveFileName(QObject*, const QString&, const QString&) override { return {}; }
  QString chooseFolder(QObject*, const QString&, const QString&) override { return {}; }
  bool openUrl(const QString&) override { return true; }
  void openFile(const QString&) override {}
  void setClipboardText(const QString&) override {}
};

class NoTray : public TrayShell {
 public:
  bool isAvailable() const override { return false; }
  bool addIcon(const QIcon&, const QString&) override { return false; }
  void removeIcon() override {}
  void modifyIcon(const QIcon&, const QString&) override {}
  void popupMenu(QMenu*, const QPoint&) override {}
  QPoint cursorPos() const override { return {}; }
};

QTemporaryDir& tempDir() {
  static QTemporaryDir dir;
  return dir;
}

QString databaseFile(size_t records) {
  const QString path = tempDir().filePath(QStringLiteral("db%1.ldb").arg(records));
  if (!QFile::exists(path)) saveLdbFile(path, makeDatabase(records).list);
  return path;
}

// range(1): 0 the window alone, 1 with its parts assembled as the program
// starts it (the preview pane docked and shown, its engine not started, the
// Options dialog made and applied).
void OpenToFirstPaint(benchmark::State& state) {
  const QString path = databaseFile(size_t(state.range(0)));
  SilentPrompts prompts;
  NoDesktop desktop;
  NoTray tray;
  Registry registry(tempDir().filePath(QStringLiteral("registry.reg")));
  Settings settings(registry);
  for (auto _ : state) {
    LinkDocument doc;
    TFMainXeVorlix w(doc, settings, prompts, desktop);
    std::optional<MainParts> parts;
    if (state.range(1)) parts.emplace(w, settings, prompts, desktop, tray);
    w.files().load(path);  // the view shows it: the list and the tree built
    w.show();
    benchmark::DoNotOptimize(w.grab());  // paints the whole window once
    state.PauseTiming();
    w.hide();
    state.ResumeTiming();
  }
  state.counters["peak_MiB"] = peakRssMiB();
}

// A window with the database at `path` loaded, its tree built, shown.
struct ShownWindow {
  explicit ShownWindow(const QString& path) {
    w.files().load(path);
    w.show();
  }
  SilentPrompts prompts;
  NoDesktop desktop;
  Registry registry{tempDir().filePath(QStringLiteral("registry.reg"))};
  Settings settings{registry};
  LinkDocument doc;
  TFMainXeVorlix w{doc, settings, prompts, desktop};
};

// range(1): 0 explorer style, 1 classic style; range(2): 0 the root, 1 the
// largest first-level folder.
void RebuildListAndPaint(benchmark::State& state) {
  const size_t records = size_t(state.range(0));
  ShownWindow shown(databaseFile(records));
  TFMainXeVorlix& w = shown.w;
  (state.range(1) ? part<QAction>(w, "ClassicStyle1") : part<QAction>(w, "ExplorerStyle1"))
      ->setChecked(true);
  if (state.range(2)) {
    w.view().position().currentPath = makeDatabase(records).bigFolder;
    w.view().position().upMarker = AnsiString(1, 'x');  // any non-empty marker: not the root
  }
  for (auto _ : state) {
    w.view().rebuildList();
    benchmark::DoNotOptimize(part<TXeListView>(w, "ListLinks")->grab());
  }
  state.counters["rows"] = double(w.view().list().rows().size());
}

// The same rebuild in View > List, classic style: every link of the
// database laid out in one pass, as the list view lays out its cells.
void RebuildListInListView(benchmark::State& state) {
  ShownWindow shown(databaseFile(size_t(state.range(0))));
  TFMainXeVorlix& w = shown.w;
  part<QAction>(w, "ClassicStyle1")->setChecked(true);
  part<QAction>(w, "List1")->trigger();
  for (auto _ : state) {
    w.view().rebuildList();
    benchmark::DoNotOptimize(part<TXeListView>(w, "ListLinks")->grab());
  }
  state.counters["rows"] = double(w.view().list().rows().size());
}

// Floors of a rebuild, in the same window: one bare pass over the records
// reading every full name against the folder (part 0), and the paint of the
// list as it stands, without a rebuild (part 1).
void RebuildListFloor(benchmark::State& state) {
  ShownWindow shown(databaseFile(size_t(state.range(0))));
  TFMainXeVorlix& w = shown.w;
  part<QAction>(w, "ClassicStyle1")->setChecked(true);
  w.view().rebuildList();
  const AnsiString folder = w.view().position().currentPath;
  for (auto _ : state) {
    if (state.range(1) == 0) {
      size_t hits = 0;
      for (const LinkRecord& r : w.view().document().links())
        hits += startsWithNoCase(r.fullName(), folder);
      benchmark::DoNotOptimize(hits);
    } else {
      benchmark::DoNotOptimize(part<TXeListView>(w, "ListLinks")->grab());
    }
  }
}

// Floor: the file read into fresh memory, the least any open can cost.
void OpenFloorPlainRead(benchmark::State& state) {
  const QString path = databaseFile(size_t(state.range(0)));
  for (auto _ : state) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    QByteArray bytes = f.readAll();
    benchmark::DoNotOptimize(bytes.data());
  }
}

}  // namespace
}  // namespace vorlix::bench

using namespace vorlix::bench;
BENCHMARK(OpenToFirstPaint)
    ->ArgsProduct({{100000}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK(OpenToFirstPaint)
    ->ArgsProduct({{1000000}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
BENCHMARK(OpenFloorPlainRead)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenFloorPlainRead)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(RebuildListAndPaint)
    ->ArgsProduct({{100000}, {0, 1}, {0, 1}})
    ->ArgNames({"records", "classic", "bigfolder"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(RebuildListInListView)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(RebuildListFloor)
    ->ArgsProduct({{100000}, {0, 1}})
    ->ArgNames({"records", "paintonly"})
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  initBenchResources();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
