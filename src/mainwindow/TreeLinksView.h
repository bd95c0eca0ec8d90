#pragma once
// The folder tree control: a QTreeView over FolderTreeModel that reports the
// events the main window acts on, accepts drops of rows from the link list,
// and hands finished label edits to its owner instead of the model.
#include <QPersistentModelIndex>
#include <QTreeView>
#include <functional>

namespace vorlix {

struct FolderNode;
class FolderTreeModel;

class TreeLinksView : public QTreeView {
  Q_OBJECT
 public:
  explicit TreeLinksView(QWidget* parent = nullptr);
  using QTreeView::edit;

  FolderTreeModel* folderModel() const;
  FolderNode* nodeAt(const QPoint& pos) const;
  // Follows the model's selected node and expansion flags.
  void syncFromModel();

  // Label editing: asked before an edit starts (false refuses it) and told
  // the new text when the user ends it with Enter.
  std::function<bool(FolderNode*)> canEditLabel;
  std::function<void(FolderNode*, const QString&)> labelEdited;
  // Drops of list rows: whether the drag comes from the link list, and the
  // drop itself on a node (null for empty space).
  std::function<bool(const QMimeData*)> acceptsDrag;
  std::function<void(FolderNode*)> dropped;
  // The folder a drop would go to while rows are dragged over the tree; it
  // is drawn highlighted in place of the selection. Null otherwise.
  FolderNode* dropTarget() const;
  QModelIndex dropTargetIndex() const { return dropTarget_; }
  // Drops of anything else, such as links from other programs: offered
  // when `acceptsOther` says so (asked on every move: it should judge by
  // the formats), and handed over with the node (null for empty space);
  // refused when `droppedOther` did not take the data.
  std::function<bool(const QMimeData*)> acceptsOther;
  std::function<bool(FolderNode*, const QMimeData*)> droppedOther;

 signals:
  void focusEntered();
  void mousePressed(vorlix::FolderNode* node, Qt::MouseButton button);
  void currentNodeChanged(vorlix::FolderNode* node);

 protected:
  void focusInEvent(QFocusEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dragMoveEvent(QDragMoveEvent* e) override;
  void dragLeaveEvent(QDragLeaveEvent* e) override;
  void dropEvent(QDropEvent* e) override;
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

 private:
  void setDropTarget(const QModelIndex& index);
  // 1: a drag of list rows, 2: other data the owner takes, 0: refused.
  int dropKind(const QMimeData* data) const;

  bool syncing_ = false;
  QPersistentModelIndex dropTarget_;
};

}  // namespace vorlix
