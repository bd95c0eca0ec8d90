#include "view/FolderView.h"

#include "document/LinkDocument.h"
#include "store/Find.h"
#include "store/ListBuilder.h"
#include "store/Paths.h"
#include "store/RowSort.h"

namespace vorlix {

namespace {
bool samePlace(const FolderPosition& a, const FolderPosition& b) {
  return a.currentPath == b.currentPath && a.upMarker == b.upMarker && a.rootPath == b.rootPath;
}
}  // namespace

FolderView::FolderView(LinkDocument& document, QObject* parent) : QObject(parent), doc_(document) {
  // The clicked folder must never outlive its node.
  connect(&tree_, &QAbstractItemModel::modelAboutToBeReset, this, [this] { clicked_ = nullptr; });
  connect(&tree_, &QAbstractItemModel::rowsAboutToBeRemoved, this,
          [this](const QModelIndex& parent, int first, int last) {
            FolderNode* p = tree_.nodeFor(parent);
            for (FolderNode* n = clicked_; n; n = n->parent)
              if (n->parent == p && n->row() >= first && n->row() <= last) {
                clicked_ = nullptr;
                break;
              }
          });
  connect(&doc_, &LinkDocument::adopted, this, &FolderView::showWholeDocument);
  connect(&doc_, &LinkDocument::historyMoved, this, &FolderView::afterHistoryMove);
}

FolderView::~FolderView() = default;

bool FolderView::flatMode() const {
  return (controls_ && controls_->classicStyle()) || activeFind().size() > 2;
}

void FolderView::rebuildList() { showRows(BuildRows(doc_.links(), pos_, flatMode(), progress_)); }

void FolderView::showRows(ListRows&& rows) {
  // A sort the user chose holds for every listing until another is chosen.
  if (controls_) {
    const auto [column, descending] = controls_->sortOrder();
    if (column >= 0) rows.reorder(SortedRowOrder(rows.all(), column, descending));
  }
  rows_.setRows(std::move(rows));
}

void FolderView::rebuildTree(bool rootSelectionMovesFolder) {
  vorlix::RebuildTree(tree_, doc_.links());
  if (rootSelectionMovesFolder && treeHasFocus()) {
    emit treeChanged();
    // The root's selection moves the current folder; when it is already
    // there (every load), the list the caller has just rebuilt stays.
    FolderPosition moved = pos_;
    SelectTreeNode(moved, tree_.root());
    if (!samePlace(moved, pos_)) changeFolder(tree_.root());
    return;
  }
  // The list keeps its folder, so the tree shows that folder rather than
  // the root the rebuild selected.
  if (FolderNode* node = FindNodeByPath(tree_, pos_.currentPath)) tree_.setSelected(node);
  emit treeChanged();
}

void FolderView::selectNode(FolderNode* node) {
  tree_.setSelected(node);
  emit treeChanged();
}

void FolderView::showPath() { emit pathChanged(fromAnsi(pos_.tpathText())); }

void FolderView::focusRow(int row) {
  if (row < 0 || size_t(row) >= rows().size()) return;
  current_ = row;
  emit rowFocused(row);
  emit commandStateChanged();
}

void FolderView::showWholeDocument() {
  ResetToRoot(pos_);
  rebuildList();
  rebuildTree();
  showPath();
  emit commandStateChanged();
}

void FolderView::afterHistoryMove() {
  rebuildTree(false);
  // The folder shown may be gone (an undone New Folder): show the nearest
  // folder above it that still exists.
  FolderNode* node = FindNodeByPath(tree_, pos_.currentPath);
  if (node && FolderTreeModel::NodePath(node) != pos_.currentPath) SelectTreeNode(pos_, node);
  selectNode(node);
  showPath();
  const QString findText = activeFind();
  if (findText.size() > 2)
    find(findText);
  else
    rebuildList();
  emit commandStateChanged();
}

// --- the user moves ---

void FolderView::changeFolder(FolderNode* node) {
  if (!SelectTreeNode(pos_, node)) return;
  showPath();
  rebuildList();
}

void FolderView::treeEntered() {
  TreeFocused(pos_, tree_.selected());
  showPath();
  rebuildList();
  emit commandStateChanged();
}

void FolderView::treePressed(FolderNode* node) {
  clicked_ = node;
  if (node && node->label == kRootName) {
    ReturnToRoot(pos_);
    showPath();
    rebuildList();
  }
}

void FolderView::rowSelected(int row) {
  current_ = row;
  if (flatMode())
    if (const ListRow* r = rows_.rowAt(row)) emit pathChanged(QLatin1Char(' ') + fromAnsi(r->path));
}

void FolderView::rowPressed(int row) {
  if (row >= 0) current_ = row;
  followListInTree();
}

void FolderView::followListInTree() {
  const ListRow* r = rows_.rowAt(current_);
  if (!r || !r->isFolder()) return;
  const AnsiString path =
      pos_.currentPath + (r->isUpRow() ? AnsiString() : AnsiString(r->caption) + "\\");
  selectNode(FindNodeByPath(tree_, path));
}

void FolderView::openCurrentRow(bool doubleClick) {
  const ListRow* r = rows_.rowAt(current_);
  if (!r) return;
  if (!r->isFolder()) {
    emit linkOpened(fromAnsi(r->url));
    return;
  }
  if (!r->isUpRow()) {
    const AnsiString caption(r->caption);
    EnterFolder(pos_, caption);
    showPath();
    rebuildList();
    focusRow(0);  // the ".." row
  } else {
    const AnsiString left = GoUp(pos_);
    showPath();
    rebuildList();
    const int i = FindRowByCaptionPrefix(rows_.rows(), left);
    if (i >= 0) focusRow(i);
  }
  if (doubleClick) followListInTree();
}

void FolderView::find(const QString& text) {
  if (text.isEmpty()) {
    rebuildList();
    return;
  }
  if (text.size() <= 2) return;  // the list keeps what it shows
  const auto& hits = doc_.findIndex().find(toAnsi(text));
  showRows(BuildRows(doc_.links(), hits, pos_, flatMode(), progress_));
}

void FolderView::sortByColumn(int column, bool descending) { rows_.sortRows(column, descending); }

}  // namespace vorlix
