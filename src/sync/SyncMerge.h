#pragma once
// The three-way merge of the remote file, the local database and the copy
// both had at the last sync. Whatever one side changed since then reaches
// the other; a link both sides changed differently is kept twice, the
// remote version renamed " (conflict)". Only what the last synced copy held
// can be deleted: an item one side never saw is new, never gone. Without a
// last synced copy the result is the union of both sides.
#include "sync/SyncTree.h"

namespace vorlix::sync {

// What the merge does to one side.
struct SideChanges {
  int added = 0;
  int removed = 0;
  int changed = 0;  // renamed, moved or given another URL
  int linksRemoved = 0;
  size_t linksBefore = 0;
  bool any() const { return added || removed || changed; }
};

struct MergeResult {
  SyncTree merged;
  SideChanges local;
  SideChanges remote;
  int conflicts = 0;
};

// The three trees share one id space (see LocalSide); `base` is nullptr
// before the first sync.
MergeResult mergeTrees(const SyncTree* base, const SyncTree& remote, const SyncTree& local);

// What turning `from` into `to` changes, item by item.
SideChanges compareTrees(const SyncTree& from, const SyncTree& to);

}  // namespace vorlix::sync
