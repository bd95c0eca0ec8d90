#include "sync/LocalApply.h"

#include "sync/LocalNames.h"

namespace vorlix::sync {

bool applyToLocal(LinkList& list, const LocalSide& local, const SyncTree& merged,
                  std::uint32_t now) {
  std::vector<bool> drop(list.size(), false);
  bool renamed = false, appended = false, dropped = false;
  for (const auto& [id, record] : local.records)
    if (record >= 0 && !merged.contains(id)) drop[size_t(record)] = dropped = true;

  for (const LocalForm& f : localForms(merged)) {
    const auto it = local.records.find(f.id);
    if (it != local.records.end() && it->second >= 0) {
      const LinkRecord& r = list[size_t(it->second)];
      if (r.fullName() == f.fullName && (f.folder || r.url() == f.url)) continue;
      LinkRecord changed = r;
      changed.setFullName(f.fullName);
      if (!f.folder) changed.setUrl(f.url);
      list.replace(size_t(it->second), changed);
      renamed = true;
      continue;
    }
    // A folder that had no record of its own needs none while it stays
    // where it was.
    if (it != local.records.end() && local.tree.find(f.id)->parent == merged.find(f.id)->parent &&
        local.tree.find(f.id)->title == merged.find(f.id)->title)
      continue;
    list.append(LinkRecord::make(f.fullName, f.folder ? std::string_view() : f.url, now,
                                 f.folder ? kKindFolder : kKindUrl));
    appended = true;
  }
  if (dropped) {
    size_t k = 0;
    list.removeIf([&](const LinkRecord&) {
      const bool gone = k < drop.size() && drop[k];
      ++k;
      return gone;
    });
  }
  if (renamed || appended) list.sortByFullName();
  return renamed || appended || dropped;
}

}  // namespace vorlix::sync
