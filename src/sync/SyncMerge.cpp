#include "sync/SyncMerge.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace vorlix::sync {
namespace {

bool sameContent(const SyncItem& a, const SyncItem& b) {
  return a.parent == b.parent && a.title == b.title && a.url == b.url;
}

template <typename T>
T pick(const T& base, const T& remote, const T& local, bool& conflict) {
  if (local == base || local == remote) return remote;
  if (remote != base) conflict = true;
  return local;
}

class Merger {
 public:
  Merger(const SyncTree* base, const SyncTree& remote, const SyncTree& local)
      : base_(base), remote_(remote), local_(local) {
    next_ = std::max({remote.highestId(), local.highestId(), base ? base->highestId() : 0});
  }

  MergeResult run() {
    const size_t most = remote_.items().size() + local_.items().size();
    decided_.reserve(most);
    kept_.reserve(most);
    for (const auto& [id, item] : remote_.items()) decide(id);
    for (const auto& [id, item] : local_.items()) decide(id);
    keepParents();
    breakCycles();
    MergeResult result;
    build(result.merged);
    result.conflicts = conflicts_;
    return result;
  }

 private:
  void decide(int id) {
    if (id == kRootId || decided_.count(id)) return;
    decided_.insert(id);
    const SyncItem* b = base_ ? base_->find(id) : nullptr;
    const SyncItem* r = remote_.find(id);
    const SyncItem* l = local_.find(id);
    if (r && l && r->folder != l->folder) {
      // One id for two kinds of thing: keep both, the local one anew.
      keep(*r);
      SyncItem copy = *l;
      copy.id = ++next_;
      keep(copy);
      return;
    }
    if (!b) {
      keep(l ? *l : *r);
      return;
    }
    if (r && l) {
      SyncItem m = *l;
      bool textConflict = false, placeConflict = false;
      m.title = pick(b->title, r->title, l->title, textConflict);
      m.url = pick(b->url, r->url, l->url, textConflict);
      m.parent = pick(b->parent, r->parent, l->parent, placeConflict);
      if (textConflict && !l->folder) {
        // Both versions stay; the local one keeps the id.
        m.title = l->title;
        m.url = l->url;
        SyncItem theirs = *r;
        theirs.id = ++next_;
        theirs.title += QStringLiteral(" (conflict)");
        keep(theirs);
        ++conflicts_;
      }
      keep(m);
      return;
    }
    // Deleted on one side: an edit on the other since then wins, so no
    // change is lost to a delete.
    const SyncItem& survivor = r ? *r : *l;
    if (!sameContent(survivor, *b)) keep(survivor);
  }

  void keep(const SyncItem& item) {
    SyncItem copy = item;
    copy.children.clear();
    kept_[copy.id] = std::move(copy);
  }

  const SyncItem* anyVersion(int id) const {
    if (const SyncItem* l = local_.find(id)) return l;
    if (const SyncItem* r = remote_.find(id)) return r;
    return base_ ? base_->find(id) : nullptr;
  }

  // A folder deleted on one side stays while anything kept lies in it.
  void keepParents() {
    std::vector<int> pending;
    for (const auto& [id, item] : kept_) pending.push_back(id);
    while (!pending.empty()) {
      SyncItem& item = kept_[pending.back()];
      pending.pop_back();
      const int parent = item.parent;
      if (parent == kRootId || kept_.count(parent)) continue;
      const SyncItem* version = anyVersion(parent);
      if (!version || !version->folder) {
        item.parent = kRootId;
        continue;
      }
      keep(*version);
      pending.push_back(parent);
    }
    for (auto& [id, item] : kept_)
      if (item.parent != kRootId && !kept_[item.parent].folder) item.parent = kRootId;
  }

  // Two folders moved into each other on the two sides: the one found in
  // the loop goes to the top level.
  void breakCycles() {
    std::unordered_set<int> safe{kRootId};
    safe.reserve(kept_.size() + 1);
    std::vector<int> path;  // short: a folder's depth
    for (auto& [id, item] : kept_) {
      path.clear();
      int at = id;
      while (!safe.count(at) && std::find(path.begin(), path.end(), at) == path.end()) {
        path.push_back(at);
        at = kept_[at].parent;
      }
      if (!safe.count(at)) kept_[at].parent = kRootId;
      safe.insert(path.begin(), path.end());
    }
  }

  // Children in the remote order, then the local order, then the rest.
  void build(SyncTree& out) {
    std::unordered_map<int, std::vector<int>> children;
    std::unordered_set<int> placed;
    placed.reserve(kept_.size());
    auto place = [&](int id) {
      const auto it = kept_.find(id);
      if (it == kept_.end() || placed.count(id)) return;
      placed.insert(id);
      children[it->second.parent].push_back(id);
    };
    auto placeChildrenOf = [&](const SyncTree& tree) {
      std::vector<int> pending{kRootId};
      while (!pending.empty()) {
        const SyncItem* folder = tree.find(pending.back());
        pending.pop_back();
        for (const int child : folder->children) {
          if (kept_.count(child) && kept_[child].parent == folder->id) place(child);
          if (tree.find(child)->folder) pending.push_back(child);
        }
      }
    };
    placeChildrenOf(remote_);
    placeChildrenOf(local_);
    std::vector<int> rest;
    for (const auto& [id, item] : kept_)
      if (!placed.count(id)) rest.push_back(id);
    std::sort(rest.begin(), rest.end());
    for (const int id : rest) place(id);

    out.setHighestId(next_);
    out.reserve(kept_.size() + 1);
    std::vector<int> pending{kRootId};
    while (!pending.empty()) {
      const int folder = pending.back();
      pending.pop_back();
      for (const int id : children[folder]) {
        SyncItem& item = kept_[id];
        if (item.folder) pending.push_back(id);
        out.add(folder, std::move(item));
      }
    }
  }

  const SyncTree* base_;
  const SyncTree& remote_;
  const SyncTree& local_;
  int next_ = 0;
  int conflicts_ = 0;
  std::unordered_set<int> decided_;
  std::unordered_map<int, SyncItem> kept_;
};

}  // namespace

MergeResult mergeTrees(const SyncTree* base, const SyncTree& remote, const SyncTree& local) {
  MergeResult result = Merger(base, remote, local).run();
  result.local = compareTrees(local, result.merged);
  result.remote = compareTrees(remote, result.merged);
  return result;
}

SideChanges compareTrees(const SyncTree& from, const SyncTree& to) {
  SideChanges c;
  c.linksBefore = from.linkCount();
  for (const auto& [id, item] : from.items()) {
    if (id == kRootId) continue;
    const SyncItem* now = to.find(id);
    if (!now) {
      ++c.removed;
      if (!item.folder) ++c.linksRemoved;
    } else if (!sameContent(item, *now)) {
      ++c.changed;
    }
  }
  for (const auto& [id, item] : to.items())
    if (id != kRootId && !from.contains(id)) ++c.added;
  return c;
}

}  // namespace vorlix::sync
