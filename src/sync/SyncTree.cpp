#include "sync/SyncTree.h"

#include <algorithm>

namespace vorlix::sync {

SyncTree::SyncTree() {
  SyncItem root;
  root.id = kRootId;
  root.folder = true;
  items_.emplace(kRootId, std::move(root));
}

const SyncItem* SyncTree::find(int id) const {
  const auto it = items_.find(id);
  return it == items_.end() ? nullptr : &it->second;
}

SyncItem* SyncTree::find(int id) {
  const auto it = items_.find(id);
  return it == items_.end() ? nullptr : &it->second;
}

int SyncTree::add(int parent, SyncItem item) {
  if (item.id <= 0 || contains(item.id)) item.id = highestId_ + 1;
  highestId_ = std::max(highestId_, item.id);
  item.parent = parent;
  if (!item.folder) ++links_;
  const int id = item.id;
  items_.emplace(id, std::move(item));
  find(parent)->children.push_back(id);
  return id;
}

void SyncTree::remove(int id) {
  SyncItem* item = find(id);
  if (!item || id == kRootId) return;
  if (SyncItem* parent = find(item->parent)) {
    auto& siblings = parent->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), id), siblings.end());
  }
  std::vector<int> pending{id};
  while (!pending.empty()) {
    const int next = pending.back();
    pending.pop_back();
    const auto it = items_.find(next);
    if (it == items_.end()) continue;
    pending.insert(pending.end(), it->second.children.begin(), it->second.children.end());
    if (!it->second.folder) --links_;
    items_.erase(it);
  }
}

std::vector<const SyncItem*> SyncTree::ancestors(int id) const {
  std::vector<const SyncItem*> chain;
  const SyncItem* item = find(id);
  // The depth bound stops on a damaged tree instead of looping.
  while (item && item->id != kRootId && chain.size() <= items_.size()) {
    item = find(item->parent);
    if (item && item->id != kRootId) chain.push_back(item);
  }
  std::reverse(chain.begin(), chain.end());
  return chain;
}

}  // namespace vorlix::sync
