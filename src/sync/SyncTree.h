#pragma once
// Bookmarks as floccus keeps them: folders and links with ids that stay the
// same across syncs, in their folder's order. The remote file, the local
// database and the last synced copy each become one of these, so the merge
// compares like with like.
#include <QString>
#include <unordered_map>
#include <vector>

namespace vorlix::sync {

inline constexpr int kRootId = 0;

struct SyncItem {
  int id = 0;
  int parent = kRootId;
  bool folder = false;
  QString title;
  QString url;                // links only
  std::vector<int> children;  // folders only, in order
};

class SyncTree {
 public:
  SyncTree();

  const SyncItem* find(int id) const;
  SyncItem* find(int id);
  bool contains(int id) const { return items_.count(id) != 0; }
  const SyncItem& root() const { return *find(kRootId); }
  const std::unordered_map<int, SyncItem>& items() const { return items_; }

  // Appends under `parent` (which must be a folder of this tree). An id
  // already in use, or not positive, is replaced by a fresh one; returns the
  // id the item got.
  int add(int parent, SyncItem item);
  // Room for `items` items without rehashing.
  void reserve(size_t items) { items_.reserve(items); }
  // Removes the item and everything below it.
  void remove(int id);

  // floccus's counter: no id in the file is above it.
  int highestId() const { return highestId_; }
  void setHighestId(int id) { highestId_ = id; }
  int freshId() { return ++highestId_; }

  size_t linkCount() const { return links_; }
  // Titles of the folders from the root down to `id` (excluded).
  std::vector<const SyncItem*> ancestors(int id) const;

 private:
  std::unordered_map<int, SyncItem> items_;
  int highestId_ = 0;
  size_t links_ = 0;
};

}  // namespace vorlix::sync
