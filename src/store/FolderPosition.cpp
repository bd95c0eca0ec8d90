#include "store/FolderPosition.h"

#include <vector>

#include "store/FolderTree.h"
#include "store/Paths.h"

namespace vorlix {

AnsiString FolderPosition::tpathText() const {
  AnsiString out = " " + rootPath;
  if (currentPath.size() > rootPath.size()) out.append(currentPath, rootPath.size());
  return out;
}

bool SelectTreeNode(FolderPosition& pos, const FolderNode* node) {
  if (!node) return false;
  pos.upMarker.clear();
  pos.rootPath = node->parent ? AnsiString(kRootPath) : node->label + "\\";
  // Labels from the node up to just below the root, then written top-down.
  std::vector<const FolderNode*> chain;
  for (const FolderNode* n = node; n && n->parent; n = n->parent) chain.push_back(n);
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    pos.upMarker += (*it)->label;
    pos.upMarker += '\\';
  }
  pos.currentPath = pos.rootPath + pos.upMarker;
  return true;
}

bool TreeFocused(FolderPosition& pos, const FolderNode* selected) {
  if (!selected) return false;
  pos.rootPath = AnsiString(kRootPath);
  return SelectTreeNode(pos, selected);
}

void ReturnToRoot(FolderPosition& pos) {
  pos.currentPath = AnsiString(kRootPath);
  pos.upMarker.clear();
  pos.rootPath = AnsiString(kRootPath);
  pos.rootName = AnsiString(kRootName);
}

void ResetToRoot(FolderPosition& pos) { ReturnToRoot(pos); }

}  // namespace vorlix
