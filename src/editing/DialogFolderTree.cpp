#include "editing/DialogFolderTree.h"

#include <functional>

namespace vorlix {

namespace {

std::unique_ptr<FolderNode> copyNode(const FolderNode& from, FolderNode* parent) {
  auto node = std::make_unique<FolderNode>();
  node->label = from.label;
  node->parent = parent;
  node->expanded = parent == nullptr;
  node->imageIndex = parent ? kImageFolder : kImageRoot;
  node->selectedImageIndex = parent ? kImageFolderSelected : kImageRoot;
  node->children.reserve(from.children.size());
  for (const auto& c : from.children) {
    node->children.push_back(copyNode(*c, node.get()));
    node->children.back()->rowHint = int(node->children.size()) - 1;
  }
  return node;
}

// Calls `visit` for each node in depth-first order until it returns true.
FolderNode* walk(FolderNode* node, const std::function<bool(FolderNode*)>& visit) {
  if (!node) return nullptr;
  if (visit(node)) return node;
  for (auto& c : node->children)
    if (FolderNode* hit = walk(c.get(), visit)) return hit;
  return nullptr;
}

int subtreeSize(const FolderNode* node) {
  int n = 1;
  for (const auto& c : node->children) n += subtreeSize(c.get());
  return n;
}

}  // namespace

void CopyFolderTree(const FolderTreeModel& from, FolderTreeModel& to) {
  if (!from.root()) {
    to.clear();
    return;
  }
  to.resetTree(copyNode(*from.root(), nullptr), nullptr);
}

int AbsolutePosition(const FolderNode* node) {
  if (!node) return -1;
  int pos = 0;
  // Everything before the node: its ancestors and their earlier subtrees.
  for (const FolderNode* n = node; n->parent; n = n->parent) {
    ++pos;
    for (const auto& sibling : n->parent->children) {
      if (sibling.get() == n) break;
      pos += subtreeSize(sibling.get());
    }
  }
  return pos;
}

FolderNode* NodeAtAbsolutePosition(const FolderTreeModel& tree, int position) {
  if (position < 0) return nullptr;
  int i = 0;
  return walk(tree.root(), [&](FolderNode*) { return i++ == position; });
}

int NodeCount(const FolderTreeModel& tree) { return tree.root() ? subtreeSize(tree.root()) : 0; }

void ExpandAll(FolderTreeModel& tree) {
  walk(tree.root(), [&](FolderNode* n) {
    if (!n->children.empty()) tree.setExpanded(n, true);
    return false;
  });
}

}  // namespace vorlix
