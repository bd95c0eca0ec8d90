#include "interchange/RecordTree.h"

#include <string_view>
#include <unordered_map>

#include "store/Ansi.h"
#include "store/EpochDates.h"
#include "store/Paths.h"

namespace vorlix {
namespace {

struct Node {
  std::string_view name;
  long record = -1;                          // the folder's own record, if it has one
  std::vector<ImportedFolder::Entry> items;  // folders index nodes, links the list
};

class Builder {
 public:
  explicit Builder(const LinkList& links) : links_(links) {
    nodes_.push_back({});
    for (size_t i = 0; i < links.size(); ++i) {
      const LinkRecord& r = links[i];
      std::string_view full = r.fullName();
      if (r.isFolder()) {
        if (!full.empty() && full.back() == '\\') full.remove_suffix(1);
        if (full.empty() || full == kRootName) continue;
        const size_t f = nodeFor(full);
        if (nodes_[f].record < 0) nodes_[f].record = long(i);
        continue;
      }
      const size_t slash = full.rfind('\\');
      const size_t parent = slash == std::string_view::npos ? 0 : nodeFor(full.substr(0, slash));
      nodes_[parent].items.push_back({false, i});
    }
  }

  ImportedFolder tree() {
    ImportedFolder root;
    fill(root, nodes_[0]);
    return root;
  }

 private:
  size_t nodeFor(std::string_view path) {
    if (path == kRootName) return 0;
    auto it = byPath_.find(path);
    if (it != byPath_.end()) return it->second;
    const size_t slash = path.rfind('\\');
    const size_t parent = slash == std::string_view::npos ? 0 : nodeFor(path.substr(0, slash));
    const size_t f = nodes_.size();
    nodes_.push_back({});
    nodes_[f].name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    byPath_.emplace(path, f);
    nodes_[parent].items.push_back({true, f});
    return f;
  }

  void fill(ImportedFolder& out, const Node& node) {
    for (const ImportedFolder::Entry& e : node.items) {
      if (e.isFolder) {
        const Node& sub = nodes_[e.index];
        std::optional<qint64> added;
        if (sub.record >= 0) added = dates_.toEpoch(links_[size_t(sub.record)].dateStamp());
        ImportedFolder& f = out.addFolder(fromAnsi(sub.name), added);
        fill(f, sub);
      } else {
        const LinkRecord& r = links_[e.index];
        const std::string_view full = r.fullName();
        const size_t slash = full.rfind('\\');
        const std::string_view name =
            slash == std::string_view::npos ? full : full.substr(slash + 1);
        out.addLink({fromAnsi(name), fromAnsi(r.url()), dates_.toEpoch(r.dateStamp()), QString()});
      }
    }
  }

  const LinkList& links_;
  std::vector<Node> nodes_;
  std::unordered_map<std::string_view, size_t> byPath_;  // views into the records
  EpochDates dates_;
};

}  // namespace

ImportedFolder RecordsAsTree(const LinkList& links) { return Builder(links).tree(); }

}  // namespace vorlix
