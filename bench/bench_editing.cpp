// The editing commands on a database of 100,000 records, each beside the
// work every structural edit cannot avoid: one LinkList sort and one list and
// tree rebuild.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <cstdio>
#include <string>

#include "editing/ClipboardCommands.h"
#include "editing/DragDrop.h"
#include "editing/EditorHost.h"
#include "editing/FolderCommands.h"
#include "platform/Prompts.h"
#include "store/FolderPosition.h"
#include "store/FolderTree.h"
#include "store/LinkList.h"
#include "store/ListBuilder.h"
#include "store/ListRows.h"

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
  LinkList list;
  FolderPosition pos;
  FolderTreeModel treeModel;
  ListRows rowList;
  std::vector<int> selection;
  FolderNode* clicked = nullptr;
  YesPrompts yes;

  LinkList& links() override { return list; }
  FolderPosition& position() override { return pos; }
  FolderTreeModel& tree() override { return treeModel; }
  const ListRows& rows() override { return rowList; }
  std::vector<int> selectedRows() override { return selection; }
  int currentItem() override { return selection.empty() ? -1 : selection.back(); }
  void setCurrentItem(int) override {}
  FolderNode* clickedFolder() override { return clicked; }
  bool flatMode() override { return false; }
  Prompts& prompts() override { return yes; }
  void rebuildList() override { rowList = BuildRows(list, pos, false); }
  void rebuildTree() override { RebuildTree(treeModel, list); }
  void focusRow(int row) override { selection = {row}; }
  void selectTreeNode(FolderNode* node) override { treeModel.setSelected(node); }
  void setRowCaption(int row, const AnsiString& c) override { rowList.setCaption(size_t(row), c); }
  void showPath() override {}
  void setDirty() override {}
  void updateCommandState() override {}

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
  h.list = Database();
  RebuildTree(h.treeModel, h.list);
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
    h.clicked = FindNodeByPath(h.treeModel, "Favorites\\Big\\");
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
    h.list.sortByFullName();
    h.rebuildList();
    h.rebuildTree();
  }
}

}  // namespace
}  // namespace vorlix

BENCHMARK(vorlix::BM_CopyPasteFolder10k)->Unit(benchmark::kMillisecond);
BENCHMARK(vorlix::BM_DeleteFolder10k)->Unit(benchmark::kMillisecond);
BENCHMARK(vorlix::BM_DeleteRows10k)->Unit(benchmark::kMillisecond);
BENCHMARK(vorlix::BM_Drag1000Rows)->Unit(benchmark::kMillisecond);
BENCHMARK(vorlix::BM_Floor_SortAndRebuild)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
