#include "editing/HostSteps.h"

#include <algorithm>

#include "editing/EditorHost.h"
#include "store/FolderPosition.h"
#include "store/LinkList.h"

namespace vorlix {

void RebuildTreeKeepingPosition(EditorHost& host) {
  const FolderPosition keep = host.position();
  host.rebuildTree();
  host.position() = keep;
}

void MoveToFolder(EditorHost& host, const AnsiString& path) {
  FolderPosition& pos = host.position();
  pos.currentPath = path;
  pos.upMarker = startsWith(path, pos.rootPath) ? path.substr(pos.rootPath.size()) : AnsiString();
  host.showPath();
}

QString QuotedName(std::string_view name) {
  return QLatin1Char('\'') + fromAnsi(name) + QLatin1Char('\'');
}

size_t LongestAfterRename(const LinkList& links, std::string_view oldPath,
                          std::string_view newPath) {
  size_t longest = 0;
  AnsiString name;
  for (const LinkRecord& r : links) {
    const std::string_view full = r.fullName();
    if (!startsWithNoCase(full, oldPath)) continue;
    name.assign(newPath);
    name.append(full.substr(oldPath.size()));
    longest = std::max(longest, storedSize(name));
  }
  return longest;
}

size_t RenameFolderPath(LinkList& links, std::string_view oldPath, std::string_view newPath) {
  size_t changed = 0;
  AnsiString name;
  for (size_t i = 0; i < links.size(); ++i) {
    const std::string_view full = links[i].fullName();
    if (!startsWithNoCase(full, oldPath)) continue;
    name.assign(newPath);
    name.append(full.substr(oldPath.size()));
    links.setFullName(i, name);
    ++changed;
  }
  return changed;
}

}  // namespace vorlix
