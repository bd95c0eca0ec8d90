#include "mainwindow/TreeLinksView.h"

#include <QDragMoveEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include "components/DropAction.h"
#include "components/ImageList.h"
#include "editing/DragDrop.h"
#include "store/FolderTree.h"

namespace vorlix {
namespace {

// Shows the node image by index and routes the edited text to the view's
// owner; the model is only changed by the rename command.
class TreeDelegate : public QStyledItemDelegate {
 public:
  explicit TreeDelegate(TreeLinksView* view) : QStyledItemDelegate(view), view_(view) {}

  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    // During a drag the drop target alone is highlighted, so the user sees
    // where the rows would go.
    const QModelIndex target = view_->dropTargetIndex();
    if (target.isValid()) {
      if (index == target)
        option->state |= QStyle::State_Selected;
      else
        option->state &= ~QStyle::State_Selected;
    }
    const QVariant image = index.data(FolderTreeModel::ImageIndexRole);
    if (image.isValid()) {
      static const ImageList images = ImageList::smallImages();
      option->icon = images.icon(image.toInt());
      option->features |= QStyleOptionViewItem::HasDecoration;
    }
  }
  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    if (auto* line = qobject_cast<QLineEdit*>(editor))
      line->setText(index.data(Qt::DisplayRole).toString());
  }
  void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
    auto* line = qobject_cast<QLineEdit*>(editor);
    FolderNode* node = view_->folderModel()->nodeFor(index);
    if (line && node && view_->labelEdited) view_->labelEdited(node, line->text());
  }

 private:
  TreeLinksView* view_;
};

}  // namespace

TreeLinksView::TreeLinksView(QWidget* parent) : QTreeView(parent) {
  setHeaderHidden(true);
  setRootIsDecorated(false);  // no lines or button for the root itself
  setIndentation(19);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  // F2, or a second click on the selected label, edits it in place.
  setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
  setItemDelegate(new TreeDelegate(this));
  setAcceptDrops(true);
  setDragEnabled(false);  // the tree starts no drags of its own
  setDropIndicatorShown(true);
  setDragDropMode(QAbstractItemView::DropOnly);
  setUniformRowHeights(true);
}

FolderTreeModel* TreeLinksView::folderModel() const {
  return qobject_cast<FolderTreeModel*>(model());
}

FolderNode* TreeLinksView::nodeAt(const QPoint& pos) const {
  const QModelIndex idx = indexAt(pos);
  return idx.isValid() ? folderModel()->nodeFor(idx) : nullptr;
}

void TreeLinksView::syncFromModel() {
  FolderTreeModel* m = folderModel();
  if (!m) return;
  syncing_ = true;
  // Expansion: walk the nodes and mirror each flag.
  std::function<void(FolderNode*)> walk = [&](FolderNode* n) {
    setExpanded(m->indexFor(n), n->expanded);
    for (auto& c : n->children) walk(c.get());
  };
  if (m->root()) walk(m->root());
  const QModelIndex sel = m->selected() ? m->indexFor(m->selected()) : QModelIndex();
  if (sel.isValid()) {
    selectionModel()->setCurrentIndex(sel, QItemSelectionModel::ClearAndSelect);
    scrollTo(sel);
  } else {
    selectionModel()->clearSelection();
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
  }
  syncing_ = false;
}

void TreeLinksView::focusInEvent(QFocusEvent* e) {
  QTreeView::focusInEvent(e);
  emit focusEntered();
}

void TreeLinksView::mousePressEvent(QMouseEvent* e) {
  FolderNode* node = nodeAt(e->pos());
  if (e->button() != Qt::RightButton) emit mousePressed(node, e->button());
  if (e->button() == Qt::RightButton) {
    // A right click selects nothing, as the tree control does; the popup
    // acts on the folder last clicked.
    e->accept();
    return;
  }
  QTreeView::mousePressEvent(e);
}

int TreeLinksView::dropKind(const QMimeData* data) const {
  if (acceptsDrag && acceptsDrag(data)) return 1;
  if (acceptsOther && droppedOther && acceptsOther(data)) return 2;
  return 0;
}

void TreeLinksView::dragEnterEvent(QDragEnterEvent* e) {
  if (dropKind(e->mimeData()) != 0)
    e->acceptProposedAction();
  else
    e->ignore();
}

void TreeLinksView::dragMoveEvent(QDragMoveEvent* e) {
  const int step = EdgeScrollStep(e->position().toPoint().y(), viewport()->height());
  if (step != 0) verticalScrollBar()->setValue(verticalScrollBar()->value() + step);
  if (dropKind(e->mimeData()) != 0) {
    e->acceptProposedAction();
    setDropTarget(indexAt(e->position().toPoint()));
  } else {
    e->ignore();
    setDropTarget({});
  }
}

void TreeLinksView::dragLeaveEvent(QDragLeaveEvent* e) {
  setDropTarget({});
  QTreeView::dragLeaveEvent(e);
}

FolderNode* TreeLinksView::dropTarget() const {
  return dropTarget_.isValid() ? folderModel()->nodeFor(dropTarget_) : nullptr;
}

void TreeLinksView::setDropTarget(const QModelIndex& index) {
  if (index == dropTarget_) return;
  // The whole row, as the selection is drawn, for the old and the new one.
  const auto rowRect = [this](const QModelIndex& i) {
    const QRect r = visualRect(i);
    return QRect(0, r.top(), viewport()->width(), r.height());
  };
  if (dropTarget_.isValid()) viewport()->update(rowRect(dropTarget_));
  dropTarget_ = index;
  if (dropTarget_.isValid()) viewport()->update(rowRect(dropTarget_));
  // The real selection is drawn plain meanwhile.
  if (const QModelIndex sel = currentIndex(); sel.isValid()) viewport()->update(rowRect(sel));
}

void TreeLinksView::dropEvent(QDropEvent* e) {
  setDropTarget({});
  const int kind = dropKind(e->mimeData());
  if (kind == 0) {
    e->ignore();
    return;
  }
  FolderNode* node = nodeAt(e->position().toPoint());
  if (kind == 2) {
    if (!droppedOther(node, e->mimeData())) {
      e->ignore();
      return;
    }
    AcceptAsCopy(e);
    return;
  }
  e->acceptProposedAction();
  if (dropped) dropped(node);
}

bool TreeLinksView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
  FolderNode* node = index.isValid() ? folderModel()->nodeFor(index) : nullptr;
  if (!node || (canEditLabel && !canEditLabel(node))) return false;
  return QTreeView::edit(index, trigger, event);
}

void TreeLinksView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTreeView::currentChanged(current, previous);
  if (syncing_) return;
  FolderNode* node = current.isValid() ? folderModel()->nodeFor(current) : nullptr;
  if (node) folderModel()->setSelected(node);
  emit currentNodeChanged(node);
}

}  // namespace vorlix
