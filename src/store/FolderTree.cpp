#include "store/FolderTree.h"

#include <algorithm>

#include "store/Collation.h"
#include "store/LinkList.h"
#include "store/Paths.h"

namespace vorlix {
namespace {

void renumber(FolderNode* parent, size_t from = 0) {
  for (size_t i = from; i < parent->children.size(); ++i) parent->children[i]->rowHint = int(i);
}

bool inSubtree(const FolderNode* node, const FolderNode* top) {
  for (; node; node = node->parent)
    if (node == top) return true;
  return false;
}

}  // namespace

int FolderNode::row() const {
  if (!parent) return 0;
  const auto& sib = parent->children;
  if (rowHint >= 0 && size_t(rowHint) < sib.size() && sib[size_t(rowHint)].get() == this)
    return rowHint;
  for (size_t i = 0; i < sib.size(); ++i)
    if (sib[i].get() == this) {
      rowHint = int(i);
      return rowHint;
    }
  return 0;
}

FolderTreeModel::FolderTreeModel(QObject* parent) : QAbstractItemModel(parent) {}
FolderTreeModel::~FolderTreeModel() = default;

void FolderTreeModel::clear() {
  beginResetModel();
  root_.reset();
  selected_ = nullptr;
  endResetModel();
  emit selectedChanged(nullptr);
}

FolderNode* FolderTreeModel::addChild(FolderNode* parent, std::string_view label) {
  auto node = std::make_unique<FolderNode>();
  node->label = AnsiString(label);
  FolderNode* raw = node.get();
  if (!parent) {
    if (root_) return nullptr;
    node->imageIndex = node->selectedImageIndex = kImageRoot;
    beginInsertRows({}, 0, 0);
    root_ = std::move(node);
    endInsertRows();
    return raw;
  }
  const int row = int(parent->children.size());
  node->parent = parent;
  node->rowHint = row;
  beginInsertRows(indexFor(parent), row, row);
  parent->children.push_back(std::move(node));
  endInsertRows();
  return raw;
}

void FolderTreeModel::removeNode(FolderNode* node) {
  if (!node) return;
  if (node->isRoot()) {
    clear();
    return;
  }
  FolderNode* parent = node->parent;
  const bool selectionGoes = inSubtree(selected_, node);
  const int row = node->row();
  beginRemoveRows(indexFor(parent), row, row);
  if (selectionGoes) selected_ = nullptr;
  parent->children.erase(parent->children.begin() + row);
  renumber(parent, size_t(row));
  endRemoveRows();
  if (selectionGoes) setSelected(parent);
}

bool FolderTreeModel::moveNode(FolderNode* node, FolderNode* newParent) {
  if (!node || !newParent || node->isRoot() || inSubtree(newParent, node)) return false;
  FolderNode* oldParent = node->parent;
  const int row = node->row();
  const int dest = int(newParent->children.size());
  if (oldParent == newParent && row == dest - 1) return true;  // already last
  if (!beginMoveRows(indexFor(oldParent), row, row, indexFor(newParent), dest)) return false;
  std::unique_ptr<FolderNode> owned = std::move(oldParent->children[size_t(row)]);
  oldParent->children.erase(oldParent->children.begin() + row);
  renumber(oldParent, size_t(row));
  owned->parent = newParent;
  owned->rowHint = int(newParent->children.size());
  newParent->children.push_back(std::move(owned));
  endMoveRows();
  return true;
}

void FolderTreeModel::setLabel(FolderNode* node, std::string_view label) {
  if (!node) return;
  node->label = AnsiString(label);
  emitNodeChanged(node);
  if (node->parent) sortChildren(node->parent, false);
}

void FolderTreeModel::sortChildrenRecursive(FolderNode* node) {
  if (node) sortChildren(node, true);
}

void FolderTreeModel::sortChildren(FolderNode* parent, bool recursive) {
  auto& kids = parent->children;
  auto less = [](const std::unique_ptr<FolderNode>& a, const std::unique_ptr<FolderNode>& b) {
    return compareCase(a->label, b->label) < 0;
  };
  if (!std::is_sorted(kids.begin(), kids.end(), less)) {
    const QPersistentModelIndex parentIndex(indexFor(parent));
    emit layoutAboutToBeChanged({parentIndex}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::stable_sort(kids.begin(), kids.end(), less);
    renumber(parent);
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& i : before) {
      auto* n = static_cast<FolderNode*>(i.internalPointer());
      after.push_back(createIndex(n->row(), i.column(), n));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({parentIndex}, QAbstractItemModel::VerticalSortHint);
  }
  if (recursive)
    for (auto& child : kids) sortChildren(child.get(), true);
}

void FolderTreeModel::setExpanded(FolderNode* node, bool expanded) {
  if (!node || node->expanded == expanded) return;
  node->expanded = expanded;
  emit expandedChanged(node, expanded);
}

FolderNode* FolderTreeModel::nodeFor(const QModelIndex& index) const {
  if (!index.isValid() || index.model() != this) return nullptr;
  return static_cast<FolderNode*>(index.internalPointer());
}

QModelIndex FolderTreeModel::indexFor(const FolderNode* node) const {
  if (!node) return {};
  return createIndex(node->row(), 0, const_cast<FolderNode*>(node));
}

void FolderTreeModel::setSelected(FolderNode* node) {
  if (node == selected_) return;
  FolderNode* old = selected_;
  if (node && !node->isRoot()) node->selectedImageIndex = kImageFolderSelected;
  selected_ = node;
  if (old) emitNodeChanged(old);
  if (node) emitNodeChanged(node);
  emit selectedChanged(node);
}

AnsiString FolderTreeModel::NodePath(const FolderNode* node) {
  std::vector<const FolderNode*> chain;
  for (const FolderNode* n = node; n && n->parent; n = n->parent) chain.push_back(n);
  AnsiString path(kRootPath);
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    path += (*it)->label;
    path += '\\';
  }
  return path;
}

void FolderTreeModel::resetTree(std::unique_ptr<FolderNode> newRoot, FolderNode* selected) {
  beginResetModel();
  root_ = std::move(newRoot);
  selected_ = selected;
  endResetModel();
  emit selectedChanged(selected);
}

void FolderTreeModel::emitNodeChanged(const FolderNode* node) {
  const QModelIndex i = indexFor(node);
  emit dataChanged(i, i);
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || row < 0) return {};
  if (!parent.isValid())
    return (row == 0 && root_) ? createIndex(0, 0, root_.get()) : QModelIndex();
  const FolderNode* p = nodeFor(parent);
  if (!p || parent.column() != 0 || size_t(row) >= p->children.size()) return {};
  return createIndex(row, 0, p->children[size_t(row)].get());
}

QModelIndex FolderTreeModel::parent(const QModelIndex& child) const {
  const FolderNode* n = nodeFor(child);
  return n ? indexFor(n->parent) : QModelIndex();
}

int FolderTreeModel::rowCount(const QModelIndex& parent) const {
  if (!parent.isValid()) return root_ ? 1 : 0;
  if (parent.column() != 0) return 0;
  const FolderNode* p = nodeFor(parent);
  return p ? int(p->children.size()) : 0;
}

int FolderTreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant FolderTreeModel::data(const QModelIndex& index, int role) const {
  const FolderNode* n = nodeFor(index);
  if (!n) return {};
  switch (role) {
    case Qt::DisplayRole:
      return fromAnsi(n->label);
    case ImageIndexRole:
      return n == selected_ ? n->selectedImageIndex : n->imageIndex;
    case AnsiLabelRole:
      return QByteArray(n->label.data(), qsizetype(n->label.size()));
    default:
      return {};
  }
}

Qt::ItemFlags FolderTreeModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | extraFlags_;
}

// ---------------------------------------------------------------------------

namespace {

std::string_view trimBlanksAndControls(std::string_view s) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

FolderNode* appendNode(FolderNode* parent, std::string_view label) {
  auto node = std::make_unique<FolderNode>();
  node->label = AnsiString(label);
  node->parent = parent;
  node->rowHint = int(parent->children.size());
  FolderNode* raw = node.get();
  parent->children.push_back(std::move(node));
  return raw;
}

// The child that a folder below `parent` named `name` belongs to: in list
// order that is nearly always the last child; otherwise the last child of
// that name, as the most recent folder line of that name would be.
FolderNode* childNamed(FolderNode* parent, std::string_view name) {
  auto& kids = parent->children;
  for (auto it = kids.rbegin(); it != kids.rend(); ++it)
    if ((*it)->label == name) return it->get();
  return nullptr;
}

}  // namespace

void RebuildTree(FolderTreeModel& model, const LinkList& list) {
  auto root = std::make_unique<FolderNode>();
  root->label = AnsiString(kRootName);
  root->imageIndex = root->selectedImageIndex = kImageRoot;
  root->expanded = true;

  std::vector<std::string_view> parts;
  for (const LinkRecord& r : list) {
    if (!r.isFolder()) continue;
    // Only the part up to the last '\' names folders (a ':' separates
    // nothing here, unlike in FilePath); the first component is the root's
    // and is not compared.
    const std::string_view name = trimBlanksAndControls(r.fullName());
    const std::string_view path = name.substr(0, name.rfind('\\') + 1);
    if (Depth(path) < 2) continue;  // names the root itself: no node of its own
    parts.clear();
    for (size_t start = path.find('\\') + 1; start < path.size();) {
      const size_t end = path.find('\\', start);
      if (end == std::string_view::npos) break;
      parts.push_back(path.substr(start, end - start));
      start = end + 1;
    }
    // A folder whose parent has no node yet still gets its node: the missing
    // ancestors are made on the way, so the node sits where its path says.
    FolderNode* parent = root.get();
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
      FolderNode* next = childNamed(parent, parts[i]);
      parent = next ? next : appendNode(parent, parts[i]);
    }
    appendNode(parent, parts.back());
  }
  FolderNode* sel = root.get();
  model.resetTree(std::move(root), sel);
}

FolderNode* FindNodeByPath(const FolderTreeModel& model, std::string_view path) {
  FolderNode* root = model.root();
  if (!root) return nullptr;
  if (path == kRootPath) return root;
  const size_t first = path.find('\\');
  if (first == std::string_view::npos) return nullptr;
  std::string_view rest = path.substr(first + 1);
  auto nextComponent = [&rest]() {
    const size_t p = rest.find('\\');
    std::string_view c = rest.substr(0, p);
    rest = p == std::string_view::npos ? std::string_view() : rest.substr(p + 1);
    return c;
  };
  std::string_view wanted = nextComponent();
  FolderNode* level = root;
  FolderNode* found = nullptr;
  while (!wanted.empty()) {
    FolderNode* match = nullptr;
    for (const auto& child : level->children)
      if (child->label == wanted) {
        match = child.get();
        break;
      }
    if (!match) break;
    found = level = match;
    wanted = nextComponent();
  }
  return found;
}

}  // namespace vorlix
