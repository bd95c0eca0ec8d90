#pragma once
// The two views inside TXeListView (a QTableView for the report, a QListView
// for icons and list) share this behaviour: they hand their events to the
// owner, start drags of the selected rows themselves and take only the
// drops the owner's handler accepts.
// Private to XeListView.cpp.
#include <QApplication>
#include <QContextMenuEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include "components/DropAction.h"

#include "components/XeListView.h"

namespace vorlix {

template <class Base>
class XeInnerView : public Base {
 public:
  explicit XeInnerView(TXeListView* owner) : Base(owner), owner_(owner) {
    this->setAcceptDrops(false);
    this->viewport()->setAcceptDrops(false);
    this->setDragEnabled(false);  // drags are started here, not by the base class
  }

 protected:
  void paintEvent(QPaintEvent* e) override {
    Base::paintEvent(e);
    owner_->afterPaint();
  }

  void mousePressEvent(QMouseEvent* e) override {
    pressPos_ = e->position().toPoint();
    deferredRow_ = -1;
    dragArmed_ = false;
    const QModelIndex at = this->indexAt(pressPos_);
    const bool plain = !(e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier));
    if (e->button() == Qt::LeftButton && at.isValid() && plain && owner_->isRowSelected(at.row()) &&
        owner_->selectedRows().size() > 1) {
      // A press on a row of a multiple selection keeps the selection, so
      // that all of it can be dragged; a release without a drag then
      // selects that row alone.
      deferredRow_ = at.row();
      dragArmed_ = true;
      this->selectionModel()->setCurrentIndex(at, QItemSelectionModel::NoUpdate);
    } else {
      Base::mousePressEvent(e);
      dragArmed_ = e->button() == Qt::LeftButton && at.isValid();
    }
    emit owner_->OnMouseDown(e->button(), at.isValid() ? at.row() : -1);
  }

  void mouseMoveEvent(QMouseEvent* e) override {
    if (dragArmed_ && (e->buttons() & Qt::LeftButton) &&
        (e->position().toPoint() - pressPos_).manhattanLength() >=
            QApplication::startDragDistance()) {
      dragArmed_ = false;
      deferredRow_ = -1;
      const QModelIndex at = this->indexAt(pressPos_);
      if (at.isValid() && owner_->isRowSelected(at.row())) {
        owner_->startRowDrag();
        return;
      }
    }
    if (deferredRow_ >= 0) return;
    Base::mouseMoveEvent(e);
  }

  void mouseReleaseEvent(QMouseEvent* e) override {
    dragArmed_ = false;
    if (deferredRow_ >= 0) {
      const int row = deferredRow_;
      deferredRow_ = -1;
      owner_->MoveFocusTo(row);
      return;
    }
    Base::mouseReleaseEvent(e);
  }

  void mouseDoubleClickEvent(QMouseEvent* e) override {
    Base::mouseDoubleClickEvent(e);
    const QModelIndex at = this->indexAt(e->position().toPoint());
    emit owner_->OnDblClick(at.isValid() ? at.row() : -1);
  }

  void keyPressEvent(QKeyEvent* e) override {
    // A key an in-place editor passed on (Enter ending the edit) is the
    // editor's, not a command of the list.
    if (this->state() == QAbstractItemView::EditingState) {
      e->accept();
      return;
    }
    emit owner_->OnKeyDown(e->key(), e->modifiers());
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
      // Enter belongs to the owner; passed on it would reach the window.
      e->accept();
      return;
    }
    Base::keyPressEvent(e);
  }

  void keyReleaseEvent(QKeyEvent* e) override {
    Base::keyReleaseEvent(e);
    emit owner_->OnKeyUp(e->key(), e->modifiers());
  }

  void focusInEvent(QFocusEvent* e) override {
    const bool hadCurrent = this->currentIndex().isValid();
    Base::focusInEvent(e);
    // The base class focuses the first row on entry; the owner decides
    // where the focus goes instead.
    if (!hadCurrent && e->reason() != Qt::MouseFocusReason && this->selectionModel()) {
      this->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    emit owner_->OnEnter();
  }

  void focusOutEvent(QFocusEvent* e) override {
    Base::focusOutEvent(e);
    emit owner_->OnExit();
  }

  void contextMenuEvent(QContextMenuEvent* e) override {
    const QModelIndex at = this->indexAt(e->pos());
    emit owner_->OnContextPopup(e->globalPos(), at.isValid() ? at.row() : -1);
    e->accept();
  }

  void startDrag(Qt::DropActions) override { owner_->startRowDrag(); }
  // Drops from elsewhere go to the owner's handler; the list's own rows
  // are never dropped on it.
  void dragEnterEvent(QDragEnterEvent* e) override {
    owner_->takesDrop(e) ? e->acceptProposedAction() : e->ignore();
  }
  void dragMoveEvent(QDragMoveEvent* e) override {
    owner_->takesDrop(e) ? e->acceptProposedAction() : e->ignore();
  }
  void dropEvent(QDropEvent* e) override {
    if (!owner_->takesDrop(e) || !owner_->dropHandler_(e->mimeData())) {
      e->ignore();
      return;
    }
    AcceptAsCopy(e);
  }

 private:
  TXeListView* owner_;
  QPoint pressPos_;
  int deferredRow_ = -1;
  bool dragArmed_ = false;
};

}  // namespace vorlix
