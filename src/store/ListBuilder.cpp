#include "store/ListBuilder.h"

#include <algorithm>
#include <unordered_map>

#include "store/Collation.h"
#include "store/LinkList.h"
#include "store/Paths.h"

namespace vorlix {
namespace {

// The seen-folder set is keyed by upper-cased name; these let it be probed
// with the name as found in the record, without building the key.
struct NoCaseHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const {
    size_t h = 1469598103934665603ull;
    for (char c : s) h = (h ^ static_cast<unsigned char>(upperAscii(c))) * 1099511628211ull;
    return h;
  }
};
struct NoCaseEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const { return equalsNoCase(a, b); }
};

// The texts of one rebuild go into the rows' shared store; runs of rows in
// one folder share one copy of its path, and the usual kinds need none.
class RowTexts {
 public:
  explicit RowTexts(ListRows& rows) : rows_(rows) {}

  std::string_view keep(std::string_view text) { return rows_.keep(text); }
  std::string_view kind(std::string_view kind) {
    if (kind == kKindUrl) return kKindUrl;
    if (kind == kKindFolder) return kKindFolder;
    return keep(kind);
  }
  std::string_view path(std::string_view path) {
    if (path != lastPath_) lastPath_ = keep(path);
    return lastPath_;
  }
  ListRow recordRow(const LinkRecord& r, std::string_view caption, std::string_view path) {
    ListRow row;
    row.caption = keep(caption);
    row.url = keep(r.url());
    row.date = r.dateStamp();
    row.kind = kind(r.kind());
    row.path = this->path(path);
    row.image = r.isFolder() ? kImageFolderRow : kImageLinkRow;
    return row;
  }

 private:
  ListRows& rows_;
  std::string_view lastPath_;
};

class ProgressScope {
 public:
  ProgressScope(RebuildProgress* p, size_t max) : p_(p) {
    if (p_) p_->start(int(std::min<size_t>(max, size_t(INT32_MAX))));
  }
  ~ProgressScope() {
    if (p_) p_->finish();
  }
  void step() {
    if (p_) p_->step();
  }

 private:
  RebuildProgress* p_;
};

// Rows of a flat listing: links in or below the current folder.
class FlatBuilder {
 public:
  explicit FlatBuilder(const FolderPosition& pos) : upperPath_(upperAscii(pos.currentPath)) {}
  void add(const LinkRecord& r) {
    const std::string_view name = r.fullName();
    // The folder path is a prefix of the name: a cheap test first, and one
    // that stays in the record's first cache line.
    if (!startsWithUpper(name) || !r.isUrl()) return;
    const auto [folder, desc] = SplitFullName(name);
    if (desc.empty() || folder.size() < upperPath_.size()) return;
    ListRow row = texts_.recordRow(r, desc, folder);
    row.image = kImageLinkRow;
    rows_.pushKept(row);
  }
  ListRows take() { return std::move(rows_); }

 private:
  bool startsWithUpper(std::string_view s) const {
    if (s.size() < upperPath_.size()) return false;
    for (size_t i = 0; i < upperPath_.size(); ++i)
      if (upperAscii(s[i]) != upperPath_[i]) return false;
    return true;
  }

  const AnsiString upperPath_;
  ListRows rows_;
  RowTexts texts_{rows_};
};

// Rows of the explorer style. The rows are kept as three runs, ".." then
// the subfolders then the records directly in the folder, so a subfolder
// row never lands among the links and ".." stays row 0 whatever order the
// records come in.
class ExplorerBuilder {
 public:
  explicit ExplorerBuilder(const FolderPosition& pos) : pos_(pos), hasUp_(!pos.upMarker.empty()) {}

  void add(const LinkRecord& r) {
    const std::string_view name = r.fullName();
    // Most records lie elsewhere; reject them before looking for separators.
    if (!pos_.currentPath.empty() && !startsWith(name, pos_.currentPath)) return;
    const auto [folder, desc] = SplitFullName(name);
    if (folder.empty() && desc.empty()) return;

    std::string_view rest, sub;
    if (!pos_.currentPath.empty()) {
      rest = name.substr(pos_.currentPath.size());
      sub = FirstComponentView(rest);
    } else {
      // Before start-up sets a folder every record's folder path is its own
      // "subfolder"; kept as the list has always shown it.
      rest = sub = folder;
    }

    if (!sub.empty()) {
      // Records of one subfolder mostly come in a run: skip the hash then.
      size_t id = SIZE_MAX;
      if (sub == lastSub_) {
        id = lastSubId_;
      } else if (const auto seen = seen_.find(sub); seen != seen_.end()) {
        id = seen->second;
        lastSub_ = sub;
        lastSubId_ = id;
      }
      if (id != SIZE_MAX) {
        adoptOwnRecord(id, r, rest, sub);
        return;
      }
    }

    if (desc.size() && equalsNoCase(folder, pos_.currentPath)) {
      direct_.push_back(texts_.recordRow(r, desc, folder));
      return;
    }
    if (sub.empty()) return;

    // The first record met of a new subfolder.
    const size_t id = folders_.size();
    seen_.emplace(upperAscii(sub), id);
    ListRow row;
    row.caption = texts_.keep(FirstComponentView(rest));
    row.date = r.dateStamp();
    row.kind = kKindFolder;
    row.image = kImageFolderRow;
    if (pos_.currentPath.empty()) {
      row.path = texts_.keep(folder);
    } else {
      AnsiString path;
      path.reserve(pos_.currentPath.size() + sub.size() + 1);
      path.append(pos_.currentPath).append(sub).push_back('\\');
      row.path = texts_.keep(path);
    }
    folders_.push_back(row);
    ownSeen_.push_back(false);
    adoptOwnRecord(id, r, rest, sub);
    insertFolderRow(id, sub);
    lastSub_ = sub;
    lastSubId_ = id;
  }

  ListRows take() {
    out_.reserve(size_t(hasUp_) + order_.size() + direct_.size());
    if (hasUp_) out_.pushKept(UpRow());
    for (size_t id : order_) out_.pushKept(folders_[id]);
    for (const ListRow& r : direct_) out_.pushKept(r);
    return std::move(out_);
  }

 private:
  // A subfolder row shows the date of the folder's own record, also when
  // that record comes after records below it.
  void adoptOwnRecord(size_t id, const LinkRecord& r, std::string_view rest, std::string_view sub) {
    if (ownSeen_[id] || !r.isFolder() || rest.size() != sub.size() + 1) return;
    ownSeen_[id] = true;
    folders_[id].date = r.dateStamp();
    folders_[id].path = texts_.keep(r.fullName());
  }

  // The rows after "..": the subfolder rows, then the records directly in
  // the folder.
  const ListRow& rowAfterUp(size_t i) const {
    return i < order_.size() ? folders_[order_[i]] : direct_[i - order_.size()];
  }

  // Where the list has always put a new subfolder row: next to the one
  // inserted last, after it when its name compares greater, else before it;
  // with no row before that one, at the end. So folders arriving in reverse
  // order show in that order, as the tree beside the list shows them.
  // ".." is not one of the rows the rule looks at: it stays row 0. "At the
  // end" means after the last subfolder row, not after links met earlier, so
  // folder rows always sit together.
  void insertFolderRow(size_t id, std::string_view sub) {
    const long folderRows = long(order_.size());
    long p = 0;
    if (!order_.empty() || !direct_.empty()) {
      const ListRow& last = rowAfterUp(size_t(lastFolderRow_));
      if (!last.isFolder())
        p = lastFolderRow_;
      else if (compareCase(sub, last.caption) > 0)
        p = lastFolderRow_ + 1;
      else
        p = lastFolderRow_ - 1;
      if (p < 0) p = folderRows;
    }
    p = std::clamp(p, 0L, folderRows);
    order_.insert(order_.begin() + p, id);
    lastFolderRow_ = p;
  }

  const FolderPosition& pos_;
  const bool hasUp_;
  ListRows out_;  // holds the texts until take() adds the rows
  RowTexts texts_{out_};
  std::unordered_map<AnsiString, size_t, NoCaseHash, NoCaseEqual> seen_;
  std::vector<ListRow> folders_;  // by first appearance
  std::vector<bool> ownSeen_;
  std::vector<size_t> order_;  // display order of folders_
  std::vector<ListRow> direct_;
  long lastFolderRow_ = 0;    // among the rows after ".."
  std::string_view lastSub_;  // a view into the record list, alive meanwhile
  size_t lastSubId_ = 0;
};

template <typename Records>
ListRows build(size_t progressMax, const Records& records, const FolderPosition& pos, bool flatMode,
               RebuildProgress* progress) {
  ProgressScope scope(progress, progressMax);
  if (flatMode) {
    FlatBuilder b(pos);
    records([&](const LinkRecord& r) {
      b.add(r);
      scope.step();
    });
    return b.take();
  }
  ExplorerBuilder b(pos);
  records([&](const LinkRecord& r) {
    b.add(r);
    scope.step();
  });
  return b.take();
}

}  // namespace

ListRow UpRow() {
  ListRow row;
  row.caption = "..";
  row.kind = kKindFolder;
  row.image = kImageFolderRow;
  return row;
}

ListRows BuildRows(const LinkList& source, const FolderPosition& pos, bool flatMode,
                   RebuildProgress* progress) {
  return build(
      source.size(),
      [&](auto&& visit) {
        for (const LinkRecord& r : source) visit(r);
      },
      pos, flatMode, progress);
}

ListRows BuildRows(const LinkList& all, std::span<const std::uint32_t> subset,
                   const FolderPosition& pos, bool flatMode, RebuildProgress* progress) {
  return build(
      all.size(),
      [&](auto&& visit) {
        for (std::uint32_t i : subset)
          if (i < all.size()) visit(all[i]);
      },
      pos, flatMode, progress);
}

void EnterFolder(FolderPosition& pos, std::string_view caption) {
  pos.upMarker = AnsiString(caption);
  pos.currentPath.append(caption).push_back('\\');
}

AnsiString GoUp(FolderPosition& pos) {
  pos.currentPath = ParentPath(pos.currentPath);
  AnsiString left = LastComponent(pos.upMarker);
  if (left.empty()) left = pos.upMarker;
  const bool belowRoot = startsWithNoCase(pos.currentPath, pos.rootPath) &&
                         !equalsNoCase(pos.currentPath, pos.rootPath);
  pos.upMarker = belowRoot ? pos.currentPath : AnsiString();
  return left;
}

int FindRowByCaptionPrefix(std::span<const ListRow> rows, std::string_view prefix, int start) {
  const int n = int(rows.size());
  if (n == 0) return -1;
  if (start < 0 || start >= n) start = 0;
  for (int k = 0; k < n; ++k) {
    const int i = (start + k) % n;
    if (startsWithNoCase(rows[size_t(i)].caption, prefix)) return i;
  }
  return -1;
}

AnsiString RowFullName(const ListRow& row, const FolderPosition& pos, bool flatMode) {
  if (row.isUpRow()) return {};
  if (flatMode) return AnsiString(row.path).append(row.caption);
  // A subfolder row's path is the subfolder's own; a record shown directly
  // in the folder has the folder's path, whatever its kind.
  AnsiString name = pos.currentPath;
  name.append(row.caption);
  if (row.isFolder() && !equalsNoCase(row.path, pos.currentPath)) name.push_back('\\');
  return name;
}

}  // namespace vorlix
