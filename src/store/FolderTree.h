#pragma once
// The folder tree: plain nodes owned by a QAbstractItemModel, so the tree
// view only mirrors it. The model also keeps the tree's selected node.
#include <QAbstractItemModel>
#include <memory>
#include <string_view>
#include <vector>

#include "store/Ansi.h"

namespace vorlix {

class LinkList;

inline constexpr int kImageFolder = 0;
inline constexpr int kImageLink = 1;
inline constexpr int kImageRoot = 2;
inline constexpr int kImageFolderSelected = 5;

struct FolderNode {
  AnsiString label;
  FolderNode* parent = nullptr;
  std::vector<std::unique_ptr<FolderNode>> children;
  bool expanded = false;
  int imageIndex = kImageFolder;
  int selectedImageIndex = kImageFolder;

  bool isRoot() const { return parent == nullptr; }
  // Position among the parent's children; 0 for the root.
  int row() const;

  // A hint kept up to date by the model so row() is cheap in wide folders.
  mutable int rowHint = 0;
};

class FolderTreeModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  // imageIndex, or selectedImageIndex for the selected node.
  static constexpr int ImageIndexRole = Qt::UserRole + 1;
  // The node's label as program text (UTF-8) in a QByteArray.
  static constexpr int AnsiLabelRole = Qt::UserRole + 2;

  explicit FolderTreeModel(QObject* parent = nullptr);
  ~FolderTreeModel() override;

  // Null only while the tree is empty (after clear()).
  FolderNode* root() const { return root_.get(); }
  void clear();
  // Appends a node below `parent`; with a null parent it creates the root
  // when there is none (and returns null otherwise).
  FolderNode* addChild(FolderNode* parent, std::string_view label);
  // Removes the node with its subtree. A selection inside it moves to the
  // node's parent.
  void removeNode(FolderNode* node);
  // Makes `node` the last child of `newParent`. Refused (false) for the root
  // and for a move into the node's own subtree.
  bool moveNode(FolderNode* node, FolderNode* newParent);
  // Relabels the node, then re-sorts its siblings by the locale's
  // case-sensitive comparison, as a tree sorted by label does.
  void setLabel(FolderNode* node, std::string_view label);
  void sortChildrenRecursive(FolderNode* node);
  void setExpanded(FolderNode* node, bool expanded);
  // Flags added to every node's Enabled | Selectable (drag and drop).
  void setExtraItemFlags(Qt::ItemFlags extra) { extraFlags_ = extra; }

  FolderNode* nodeFor(const QModelIndex& index) const;
  QModelIndex indexFor(const FolderNode* node) const;

  FolderNode* selected() const { return selected_; }
  // A folder node gets selected image 5 as it becomes selected; the root
  // keeps its own image.
  void setSelected(FolderNode* node);

  // "Favorites\" followed by each label below the root and a '\'.
  static AnsiString NodePath(const FolderNode* node);

  // Replaces the whole tree inside one model reset (used by RebuildTree).
  void resetTree(std::unique_ptr<FolderNode> newRoot, FolderNode* selected);

  // QAbstractItemModel
  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 signals:
  void selectedChanged(vorlix::FolderNode* node);
  void expandedChanged(vorlix::FolderNode* node, bool expanded);

 private:
  void sortChildren(FolderNode* parent, bool recursive);
  void emitNodeChanged(const FolderNode* node);

  std::unique_ptr<FolderNode> root_;
  FolderNode* selected_ = nullptr;
  Qt::ItemFlags extraFlags_;
};

// Rebuilds the tree from the folder records of `list`, in list order and
// without sorting, inside one model reset. Leaves the root expanded, every
// other node collapsed and the root selected.
void RebuildTree(FolderTreeModel& model, const LinkList& list);

// The node of the deepest existing folder on `path` (labels compared
// exactly), the root for "Favorites\", or null when not even the first
// folder below the root matches.
FolderNode* FindNodeByPath(const FolderTreeModel& model, std::string_view path);

}  // namespace vorlix
