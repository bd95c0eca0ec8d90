#include "editing/HostSteps.h"

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

size_t RenameFolderPath(LinkList& links, std::string_view oldPath, std::string_view newPath) {
  size_t changed = 0;
  AnsiString name;
  for (LinkRecord& r : links) {
    if (!startsWithNoCase(r.fullName(), oldPath)) continue;
    name.assign(newPath);
    name.append(r.fullName().substr(oldPath.size()));
    r.setFullName(name);
    ++changed;
  }
  return changed;
}

}  // namespace vorlix
