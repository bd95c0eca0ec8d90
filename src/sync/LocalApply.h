#pragma once
// Brings the records in step with the merged tree: records of items the
// merge dropped go, renamed and moved ones get their new full names, new
// items are appended (with `now` as their date), and the list is sorted
// when names changed, so each folder's record comes before its contents.
// Records the sync does not cover (other kinds, names outside the root)
// stay as they are.
#include <cstdint>

#include "store/LinkList.h"
#include "sync/LocalSide.h"

namespace vorlix::sync {

// Returns whether anything changed.
bool applyToLocal(LinkList& list, const LocalSide& local, const SyncTree& merged,
                  std::uint32_t now);

}  // namespace vorlix::sync
