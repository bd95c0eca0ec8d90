// The whole chain over arbitrary records: load, then tree, list, find and
// sort. Input: a first byte choosing the form, then either raw .ldb bytes
// (loaded through a memory file) or lines of a kind byte and a full name.
#include <sys/mman.h>
#include <unistd.h>

#include <QCoreApplication>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "store/Find.h"
#include "store/FolderPosition.h"
#include "store/FolderTree.h"
#include "store/LdbFile.h"
#include "store/ListBuilder.h"
#include "store/Paths.h"
#include "store/RowSort.h"

using namespace vorlix;

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

// A path function's result must lie inside its argument.
void inside(std::string_view part, std::string_view whole) {
  if (part.empty()) return;
  check(part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

void pathFunctions(std::string_view s) {
  inside(FilePathView(s), s);
  inside(FileNameView(s), s);
  check(FilePathView(s).size() + FileNameView(s).size() == s.size());
  inside(FirstComponentView(s), s);
  inside(LastComponentSlashView(s), s);
  inside(LastComponentView(s), s);
  inside(ParentPathView(s), s);
  const NameParts parts = SplitFullName(s);
  check(parts.folder == FilePathView(s) && parts.name == FileNameView(s));
  check(Depth(s) >= 0 && size_t(Depth(s)) <= s.size());
}

bool loadRaw(const uint8_t* data, size_t size, LinkList& list) {
  const int fd = ::memfd_create("ldb", 0);
  if (fd < 0) return false;
  bool ok = size == 0 || ::write(fd, data, size) == ssize_t(size);
  if (ok) ok = loadLdbFile(QStringLiteral("/proc/self/fd/%1").arg(fd), list).ok;
  ::close(fd);
  return ok;
}

void fromLines(const uint8_t* data, size_t size, LinkList& list) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  while (!rest.empty()) {
    const size_t nl = rest.find('\n');
    std::string_view line = rest.substr(0, nl);
    rest = nl == std::string_view::npos ? std::string_view() : rest.substr(nl + 1);
    if (line.empty()) continue;
    const char kind = line.front();
    line.remove_prefix(1);
    list.append(LinkRecord::make(line, "http://example.org/", uint32_t(line.size()) * 0x10001u,
                                 kind % 3 == 0   ? kKindFolder
                                 : kind % 3 == 1 ? kKindUrl
                                                 : std::string_view("Other")));
  }
}

void listsAt(const LinkList& list, const FolderPosition& at) {
  for (const bool flat : {false, true}) {
    ListRows rows = BuildRows(list, at, flat);
    for (int column = 0; column < kListColumnCount; ++column) {
      SortRows(rows, column, column % 2 == 1);
      SortedRowOrder(rows.all(), column, column % 2 == 0);
    }
    for (const ListRow& row : rows) {
      RowFullName(row, at, flat);
      if (!flat && row.isFolder() && !row.isUpRow()) {
        FolderPosition inner = at;
        EnterFolder(inner, row.caption);
        BuildRows(list, inner, false);
        GoUp(inner);
        break;
      }
    }
    if (!rows.empty()) FindRowByCaptionPrefix(rows.all(), rows.back().caption.substr(0, 2));
  }
}

void walkTree(const FolderTreeModel& model, const LinkList& list, const FolderNode* node,
              int& budget) {
  if (!node || --budget < 0) return;
  // An empty label ends the search early, so no node need come back here.
  FindNodeByPath(model, FolderTreeModel::NodePath(node));
  FolderPosition at;
  SelectTreeNode(at, node);
  listsAt(list, at);
  for (const auto& child : node->children) walkTree(model, list, child.get(), budget);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  static QCoreApplication app(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  LinkList list;
  if (data[0] & 1) {
    if (!loadRaw(data + 1, size - 1, list)) return 0;
  } else {
    fromLines(data + 1, size - 1, list);
  }
  for (const LinkRecord& r : list) {
    pathFunctions(r.fullName());
    pathFunctions(r.url());
  }

  FolderTreeModel model;
  RebuildTree(model, list);
  check(model.root() != nullptr);
  for (const LinkRecord& r : list) FindNodeByPath(model, r.fullName());
  int budget = 8;
  walkTree(model, list, model.root(), budget);
  FolderPosition start;  // before start-up sets a folder
  listsAt(list, start);

  if (!list.empty()) {
    const std::string_view name = list[0].fullName();
    FindRecords(list, name.substr(name.size() / 2, 4));
  }
  list.sortByFullName();
  RebuildTree(model, list);
  return 0;
}
