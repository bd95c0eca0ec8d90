#pragma once
// The open database as a sync tree. Records carry no ids, so each record is
// matched to the item it was at the last sync: by its full name and URL,
// then a moved or renamed link by its URL or by its title in the same
// folder, a renamed folder by where its contents were. What both sides
// added alike takes the remote item's id; anything else new gets a fresh
// id above every id in use.
#include <unordered_map>

#include "store/LinkList.h"
#include "sync/SyncTree.h"

namespace vorlix::sync {

struct LocalSide {
  SyncTree tree;
  // The record each item was read from; -1 for a folder that only exists
  // because records lie in it.
  std::unordered_map<int, long> records;
};

// `base` is the last synced copy, nullptr before the first sync.
LocalSide readLocalSide(const LinkList& list, const SyncTree* base, const SyncTree& remote);

}  // namespace vorlix::sync
