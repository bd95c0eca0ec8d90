// The editing commands on a database of 100,000 records, each beside the
// work every structural edit cannot avoid: one LinkList sort and one list and
// tree rebuild; undo and redo of the larger edits beside the edit itself,
// and the memory the undo history holds. Links in clipboard HTML are found
// beside one plain pass over the same text.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <cstdio>
#include <string>

#include "document/DocumentEdit.h"
#include "document/LinkDocument.h"
#include "editing/ClipboardCommands.h"
#include "editing/DragDrop.h"
#include "editing/EditorHost.h"
#include "editing/FolderCommands.h"
#include "editing/LinkMime.h"
#include "platform/Prompts.h"
#include "store/FolderPosition.h"
#include "store/FolderTree.h"
#include "store/LinkList.h"
#include "store/ListBuilder.h"
#include "store/ListRows.h"
#include "view/FolderView.h"

namespace vorlix {
namespace {

class YesPrompts : public Prompts {
 public:
  Answer message(MsgType, Buttons b, const QString&, bool) override {
    return b == Buttons::Ok ? Answer::Ok : Answer::Yes;
  }
  QString input(const QString&, const QString&, const QString& d) override { return d; }
};

// The window's part, with the real models.
class BenchHost : public EditorHost {
 public:
  LinkDocument doc;
  const LinkList& list = doc.links();
  FolderView folderView{doc};
  FolderPosition& pos = folderView.position();
  FolderTreeModel& treeModel = folderView.tree();
  const ListRows& rowList = folderView.rows();
  std::vector<int> selection;
  YesPrompts yes;

  FolderView& view() override { return folderView; }
  Prompts& prompts() override { return yes; }
  std::vector<int> selectedRows() override { return selection; }
  void focusRow(int row) override {
    selection = {row};
    folderView.focusRow(row);
  }

  void show(const std::string& below) {
    pos.currentPath = "Favorites\\" + below;
    pos.upMarker = below;
    rebuildList();
  }
  void selectCaption(const char* caption) {
    selection.clear();
    for (size_t i = 0; i < rowList.size(); ++i)
      if (rowList[i].caption == caption) selection.push_back(int(i));
  }
  void selectAllBut(const char* caption) {
    selection.clear();
    for (size_t i = 0; i < rowList.size(); ++i)
      if (rowList[i].caption != caption) selection.push_back(int(i));
  }
};

void add(LinkList& l, const std::string& below, bool folder) {
  l.append(LinkRecord::make("Favorites\\" + below, folder ? "" : "http://example.org/" + below,
                            0x2A210000, folder ? "Folder" : "Url"));
}

// 100,000 records: "Big" holds 10,000 (100 sub-folders of 99 links), "Many"
// 1,000 links, 89 further folders 1,000 records each, and an empty "Dest".
const LinkList& Database() {
  static const LinkList db = [] {
    LinkList l;
    l.reserve(100000);
    char buf[64];
    add(l, "Big\\", true);
    for (int s = 0; s < 100; ++s) {
      std::snprintf(buf, sizeof buf, "Big\\S%02d\\", s);
      add(l, buf, true);
      for (int i = 0; i < 99; ++i) add(l, std::string(buf) + "link " + std::to_string(i), false);
    }
    add(l, "Many\\", true);
    for (int i = 0; i < 1000; ++i) add(l, "Many\\item " + std::to_string(i), false);
    for (int f = 0; f < 89; ++f) {
      std::snprintf(buf, sizeof buf, "F%02d\\", f);
      add(l, buf, true);
      for (int i = 0; i < 999; ++i) add(l, std::string(buf) + "page " + std::to_string(i), false);
    }
    add(l, "Dest\\", true);
    l.sortByFullName();
    return l;
  }();
  return db;
}

void Reset(BenchHost& h, const std::string& below) {
  h.doc.adopt(LinkList(Database()), {});  // the view shows it whole
  h.show(below);
}

void BM_CopyPasteFolder10k(benchmark::State& state) {
  BenchHost h;
  ClipboardList clip;
  ClipboardCommands cmd(h, clip);
  for (auto _ : state) {
    state.PauseTiming();
    Reset(h, "");
    h.selectCaption("Big");
    state.ResumeTiming();
    cmd.copy();
    h.show("Dest\\");
    cmd.paste();
  }
  state.counters["records"] = double(h.list.size());
}

void BM_DeleteFolder10k(benchmark::State& state) {
  BenchHost h;
  FolderCommands cmd(h);
  for (auto _ : state) {
    state.PauseTiming();
    Reset(h, "");
    h.folderView.setClickedFolder(FindNodeByPath(h.treeModel, "Favorites\\Big\\"));
    state.ResumeTiming();
    cmd.deleteFolder();
  }
  state.counters["records"] = double(h.list.size());
}

void BM_DeleteRows10k(benchmark::State& state) {
  BenchHost h;
  ClipboardList clip;
  ClipboardCommands cmd(h, clip);
  for (auto _ : state) {
    state.PauseTiming();
    Reset(h, "");
    h.selectCaption("Big");
    state.ResumeTiming();
    cmd.deleteSelected();
  }
}

void BM_Drag1000Rows(benchmark::State& state) {
  BenchHost h;
  DragDrop dd(h);
  for (auto _ : state) {
    state.PauseTiming();
    Reset(h, "Many\\");
    h.selectAllBut("..");
    FolderNode* dest = FindNodeByPath(h.treeModel, "Favorites\\Dest\\");
    state.ResumeTiming();
    dd.dragStart();
    dd.drop(dest);
  }
  state.counters["rows"] = double(dd.dragList().rows.size());
}

// The floor: what any structural edit of this database pays at least.
void BM_Floor_SortAndRebuild(benchmark::State& state) {
  BenchHost h;
  for (auto _ : state) {
    state.PauseTiming();
    Reset(h, "");
    state.ResumeTiming();
    DocumentEdit edit(h.doc, QStringLiteral("Sort"));
    edit.links().sortByFullName();
    edit.commit();
    h.rebuildList();
    h.rebuildTree();
  }
}

// Undo or redo of one step, with the rebuild of both views that follows it
// in the window.
void TakeBackAndRedo(benchmark::State& state, BenchHost& h, bool redo) {
  // The view rebuilds the tree and the list after each move by itself.
  for (auto _ : state) {
    state.PauseTiming();
    if (redo) h.doc.undo();
    state.ResumeTiming();
    if (redo)
      h.doc.redo();
    else
      h.doc.undo();
    state.PauseTiming();
    if (!redo) h.doc.redo();
    state.ResumeTiming();
  }
}

void BM_UndoRedoDeleteFolder10k(benchmark::State& state) {
  BenchHost h;
  Reset(h, "");
  h.folderView.setClickedFolder(FindNodeByPath(h.treeModel, "Favorites\\Big\\"));
  FolderCommands(h).deleteFolder();
  TakeBackAndRedo(state, h, state.range(0) == 1);
  state.counters["step_MB"] = double(h.doc.history().memoryBytes()) / (1 << 20);
}

// Copies the 10,000-record folder and pastes it into Dest `times` times.
void PasteBigIntoDest(BenchHost& h, int times) {
  ClipboardList clip;
  ClipboardCommands cmd(h, clip);
  Reset(h, "");
  h.selectCaption("Big");
  cmd.copy();
  h.show("Dest\\");
  for (int i = 0; i < times; ++i) cmd.paste();
}

void BM_UndoRedoPaste10k(benchmark::State& state) {
  BenchHost h;
  PasteBigIntoDest(h, 1);
  TakeBackAndRedo(state, h, state.range(0) == 1);
  state.counters["step_MB"] = double(h.doc.history().memoryBytes()) / (1 << 20);
}

// 100 pastes of the 10,000-record folder over itself (each replaces the
// last): what the history holds under its cap. One such step holds about
// 10 MB (the records it replaced and the ones it brought).
void BM_HistoryMemory100Pastes(benchmark::State& state) {
  for (auto _ : state) {
    BenchHost h;
    PasteBigIntoDest(h, 100);
    state.counters["history_MB"] = double(h.doc.history().memoryBytes()) / (1 << 20);
    state.counters["steps"] = double(h.doc.history().count());
    state.counters["database_MB"] = double(h.list.size() * sizeof(LinkRecord)) / (1 << 20);
  }
}

// Clipboard HTML of state.range(0) KiB; range(1) 0: one href whose quote
// never closes (minutes with the former pattern at 256 KiB), 1: anchors
// that are never closed, 2: ordinary anchors.
QString clipboardHtml(const benchmark::State& state) {
  const qsizetype size = qsizetype(state.range(0)) << 10;
  QString html;
  html.reserve(size + 64);
  switch (state.range(1)) {
    case 0:
      html = QStringLiteral("<a href=\"http://x/");
      break;
    case 1:
      while (html.size() < size) html += QStringLiteral("<a href=http://x/>x ");
      break;
    default:
      while (html.size() < size)
        html += QStringLiteral("<a href=\"http://x.example/\">X</a><br>\n");
  }
  if (html.size() < size) html += QString(size - html.size(), QLatin1Char('y'));
  return html;
}

void BM_LinksFromHtml(benchmark::State& state) {
  const QString html = clipboardHtml(state);
  size_t links = 0;
  for (auto _ : state) {
    links = LinksFromHtml(html).size();
    benchmark::DoNotOptimize(links);
  }
  state.counters["links"] = double(links);
  state.SetBytesProcessed(int64_t(state.iterations()) * html.size() * 2);
}

// The floor: one look at every character of the same text.
void BM_Floor_HtmlPass(benchmark::State& state) {
  const QString html = clipboardHtml(state);
  for (auto _ : state) benchmark::DoNotOptimize(html.count(QLatin1Char('<')));
  state.SetBytesProcessed(int64_t(state.iterations()) * html.size() * 2);
}

}  // namespace
}  // namespace vorlix

// Arguments: KiB, kind (see clipboardHtml).
BENCHMARK(vorlix::BM_LinksFromHtml)
    ->ArgsProduct({{256, 4096}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(vorlix::BM_Floor_HtmlPass)
    ->ArgsProduct({{256, 4096}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(vorlix::BM_CopyPasteFolder10k)->Unit(benchmark::kMillisecond);
BENCHMARK(vorlix::BM_DeleteFolder10k)->Unit(benchmark::kMillisecond);
BENCHMARK(vorlix::BM_DeleteRows10k)->Unit(benchmark::kMillisecond);
BENCHMARK(vorlix::BM_Drag1000Rows)->Unit(benchmark::kMillisecond);
BENCHMARK(vorlix::BM_Floor_SortAndRebuild)->Unit(benchmark::kMillisecond);
// Argument 0: undo; 1: redo. Compare with BM_DeleteFolder10k and
// BM_CopyPasteFolder10k above.
BENCHMARK(vorlix::BM_UndoRedoDeleteFolder10k)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(vorlix::BM_UndoRedoPaste10k)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
// Argument 1: the 64 MB cap in force; 0: no cap.
BENCHMARK(vorlix::BM_HistoryMemory100Pastes)
    ->Arg(1)
    ->Arg(0)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
