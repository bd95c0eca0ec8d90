#include "sync/LocalSide.h"

#include <algorithm>
#include <map>
#include <unordered_set>

#include "sync/LocalNames.h"

namespace vorlix::sync {
namespace {

struct Entry {
  long record = -1;
  bool folder = false;
  AnsiString fullName;
  AnsiString url;
  int parent = -1;  // entry index; -1 the root
  std::vector<int> children;
  int depth = 0;
  int id = 0;
  const SyncItem* ref = nullptr;  // the item it was matched to
  bool exact = false;             // matched by full name and URL
};

AnsiString nameOf(const Entry& e) {
  std::string_view s = e.fullName;
  if (e.folder && !s.empty()) s.remove_suffix(1);
  const size_t slash = s.rfind('\\');
  return AnsiString(slash == std::string_view::npos ? s : s.substr(slash + 1));
}

class Matcher {
 public:
  Matcher(const LinkList& list, const SyncTree* base, const SyncTree& remote)
      : base_(base), remote_(remote) {
    for (size_t i = 0; i < list.size(); ++i)
      if (list[i].isFolder() && startsWith(list[i].fullName(), kRootPath))
        folderEntry(AnsiString(list[i].fullName()), long(i));
    // Links come in runs of the same folder: its entry is looked up once.
    std::string_view lastFolder;
    int parent = -1;
    for (size_t i = 0; i < list.size(); ++i) {
      const LinkRecord& r = list[i];
      if (!r.isUrl() || !startsWith(r.fullName(), kRootPath)) continue;
      const std::string_view name = r.fullName();
      const std::string_view folder = name.substr(0, name.rfind('\\') + 1);
      if (folder != lastFolder || lastFolder.empty()) {
        parent = folderEntry(AnsiString(folder), -1);
        lastFolder = folder;
      }
      Entry e;
      e.record = long(i);
      e.fullName = AnsiString(name);
      e.url = AnsiString(r.url());
      add(std::move(e), parent);
    }
  }

  LocalSide run() {
    if (base_) {
      matchExactly(*base_, nullptr);
      matchLinksByUrl();
      matchFoldersByContent();
      matchLinksByTitle();
    }
    // What both sides added alike; most syncs have nothing new remotely.
    const auto isNew = [this](int id) { return !base_ || !base_->contains(id); };
    for (const auto& [id, item] : remote_.items()) {
      if (id == kRootId || !isNew(id)) continue;
      matchExactly(remote_, isNew);
      break;
    }
    return build();
  }

 private:
  // The entry of a folder path, made (with its parents) when missing.
  int folderEntry(AnsiString path, long record) {
    if (path.empty() || path.back() != '\\') path += '\\';
    if (path == kRootPath) return -1;
    const auto it = folders_.find(path);
    if (it != folders_.end()) {
      if (entries_[size_t(it->second)].record < 0) entries_[size_t(it->second)].record = record;
      return it->second;
    }
    const std::string_view inner = std::string_view(path).substr(0, path.size() - 1);
    const int parent = folderEntry(AnsiString(inner.substr(0, inner.rfind('\\') + 1)), -1);
    Entry e;
    e.record = record;
    e.folder = true;
    e.fullName = path;
    const int index = add(std::move(e), parent);
    folders_.emplace(path, index);
    return index;
  }

  int add(Entry e, int parent) {
    e.parent = parent;
    e.depth = parent < 0 ? 0 : entries_[size_t(parent)].depth + 1;
    const int index = int(entries_.size());
    entries_.push_back(std::move(e));
    (parent < 0 ? roots_ : entries_[size_t(parent)].children).push_back(index);
    return index;
  }

  void match(Entry& e, const SyncTree& tree, int id, bool exact) {
    e.id = id;
    e.ref = tree.find(id);
    e.exact = exact;
    used_.insert(id);
  }

  // Keys are views into the forms and the entries, which outlive the map:
  // no string is built per item.
  struct Key {
    std::string_view name, url;
    bool folder;
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    size_t operator()(const Key& k) const {
      const std::hash<std::string_view> h;
      return h(k.name) ^ (h(k.url) * 31) ^ size_t(k.folder);
    }
  };

  void matchExactly(const SyncTree& tree, const std::function<bool(int)>& accept) {
    const std::vector<LocalForm> forms = localForms(tree, accept);
    std::unordered_map<Key, std::vector<int>, KeyHash> byKey;
    byKey.reserve(forms.size());
    for (const LocalForm& f : forms)
      if (!used_.count(f.id))
        byKey[{f.fullName, f.folder ? std::string_view() : f.url, f.folder}].push_back(f.id);
    for (auto& list : byKey) std::reverse(list.second.begin(), list.second.end());
    for (Entry& e : entries_) {
      if (e.id) continue;
      const auto it = byKey.find({e.fullName, e.folder ? std::string_view() : e.url, e.folder});
      if (it == byKey.end() || it->second.empty()) continue;
      match(e, tree, it->second.back(), true);
      it->second.pop_back();
    }
  }

  // A link found nowhere else whose URL exactly one unmatched link of the
  // last sync had was moved or renamed.
  void matchLinksByUrl() {
    std::unordered_map<AnsiString, std::vector<int>> byUrl;
    for (const auto& [id, item] : base_->items())
      if (!item.folder && !used_.count(id)) byUrl[toAnsi(item.url)].push_back(id);
    std::unordered_map<AnsiString, int> wanted;
    for (const Entry& e : entries_)
      if (!e.folder && !e.id) ++wanted[e.url];
    for (Entry& e : entries_) {
      if (e.folder || e.id || wanted[e.url] != 1) continue;
      const auto it = byUrl.find(e.url);
      if (it != byUrl.end() && it->second.size() == 1) match(e, *base_, it->second.front(), false);
    }
  }

  // A folder whose contents mostly were in one unmatched folder of the last
  // sync is that folder renamed or moved; the deepest go first, so a
  // renamed parent sees its renamed subfolders.
  void matchFoldersByContent() {
    std::vector<int> order;
    for (size_t i = 0; i < entries_.size(); ++i)
      if (entries_[i].folder && !entries_[i].id) order.push_back(int(i));
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
      return entries_[size_t(a)].depth > entries_[size_t(b)].depth;
    });
    for (const int index : order) {
      Entry& e = entries_[size_t(index)];
      std::map<int, int> votes;
      int known = 0;
      for (const int child : e.children) {
        const Entry& c = entries_[size_t(child)];
        if (!c.id || !base_->contains(c.id)) continue;
        ++known;
        const SyncItem* was = base_->find(base_->find(c.id)->parent);
        if (was && was->folder && was->id != kRootId && !used_.count(was->id)) ++votes[was->id];
      }
      int best = 0, most = 0;
      for (const auto& [id, count] : votes)
        if (count > most) best = id, most = count;
      if (best && 2 * most >= known) match(e, *base_, best, false);
    }
  }

  // A link whose URL changed keeps its title and folder.
  void matchLinksByTitle() {
    std::map<std::pair<int, AnsiString>, std::vector<int>> byTitle;
    for (const auto& [id, item] : base_->items())
      if (!item.folder && !used_.count(id))
        byTitle[{item.parent, toAnsi(recordName(item))}].push_back(id);
    for (Entry& e : entries_) {
      if (e.folder || e.id) continue;
      const int parent = e.parent < 0 ? kRootId : entries_[size_t(e.parent)].id;
      if (e.parent >= 0 && !parent) continue;
      const auto it = byTitle.find({parent, nameOf(e)});
      if (it != byTitle.end() && it->second.size() == 1) {
        match(e, *base_, it->second.front(), false);
        it->second.clear();
      }
    }
  }

  LocalSide build() {
    int next = std::max(remote_.highestId(), base_ ? base_->highestId() : 0);
    for (Entry& e : entries_)
      if (!e.id) e.id = ++next;
    LocalSide side;
    side.tree.setHighestId(next);
    side.tree.reserve(entries_.size() + 1);
    side.records.reserve(entries_.size());
    std::vector<std::pair<int, int>> pending;  // entry, parent id
    for (auto it = roots_.rbegin(); it != roots_.rend(); ++it) pending.push_back({*it, kRootId});
    while (!pending.empty()) {
      const auto [index, parent] = pending.back();
      pending.pop_back();
      const Entry& e = entries_[size_t(index)];
      SyncItem item;
      item.id = e.id;
      item.folder = e.folder;
      item.title = fromAnsi(nameOf(e));
      item.url = fromAnsi(e.url);
      // What reads the same as before keeps the text it had, so nothing the
      // records cannot hold is lost on the other side.
      if (e.ref) {
        if (e.exact || toAnsi(recordName(*e.ref)) == nameOf(e)) item.title = e.ref->title;
        if (e.exact || toAnsi(e.ref->url) == e.url) item.url = e.ref->url;
      }
      side.tree.add(parent, std::move(item));
      side.records[e.id] = e.record;
      for (auto it = e.children.rbegin(); it != e.children.rend(); ++it)
        pending.push_back({*it, e.id});
    }
    return side;
  }

  const SyncTree* base_;
  const SyncTree& remote_;
  std::vector<Entry> entries_;
  std::vector<int> roots_;
  std::unordered_map<AnsiString, int> folders_;
  std::unordered_set<int> used_;
};

}  // namespace

LocalSide readLocalSide(const LinkList& list, const SyncTree* base, const SyncTree& remote) {
  return Matcher(list, base, remote).run();
}

}  // namespace vorlix::sync
