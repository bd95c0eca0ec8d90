// The window's controls over its FolderView: tree and list events go to the
// view, and the controls follow what the view shows. The find box, sorting
// and the view commands.
#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QToolButton>

#include "components/XeListView.h"
#include "components/XeStaticText.h"
#include "document/LinkDocument.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/RebuildProgressBar.h"
#include "mainwindow/TreeLinksView.h"

namespace vorlix {

namespace {

// What only the window's controls know, for the view.
class WindowControls : public FolderView::Controls {
 public:
  WindowControls(const TFMainXeVorlix& w, const TreeLinksView* tree, const QLineEdit* find,
                 const QAction* classic, const TXeListView* list)
      : w_(w), tree_(tree), find_(find), classic_(classic), list_(list) {}
  bool treeHasFocus() const override { return w_.keyboardFocusIn(tree_); }
  QString activeFind() const override {
    return w_.keyboardFocusIn(find_) ? find_->text() : QString();
  }
  bool classicStyle() const override { return classic_->isChecked(); }
  std::pair<int, bool> sortOrder() const override {
    if (!list_->isSorted()) return {-1, false};
    return {list_->sortColumn(), list_->SortDirection() == sdDescending};
  }

 private:
  const TFMainXeVorlix& w_;
  const TreeLinksView* tree_;
  const QLineEdit* find_;
  const QAction* classic_;
  const TXeListView* list_;
};

}  // namespace

void TFMainXeVorlix::connectViews() {
  progress_ = std::make_unique<MainRebuildProgress>(prgbar);
  controls_ =
      std::make_unique<WindowControls>(*this, TreeLinks, EditFind, ClassicStyle1, ListLinks);
  FolderView& v = *view_;
  v.setControls(controls_.get());
  v.setProgress(progress_.get());
  connect(&v, &FolderView::pathChanged, TPath,
          [this](const QString& text) { TPath->setText(text); });
  connect(&v, &FolderView::treeChanged, TreeLinks, &TreeLinksView::syncFromModel);
  connect(&v, &FolderView::rowFocused, ListLinks, &TXeListView::MoveFocusTo);
  connect(&v, &FolderView::commandStateChanged, this, &TFMainXeVorlix::UpdateCommandState);
  connect(&v, &FolderView::linkOpened, this,
          [this](const QString& url) { emit openLinkRequested(url, LinkOpening::FromList); });

  // Tree
  connect(TreeLinks, &TreeLinksView::currentNodeChanged, this, [this](FolderNode* node) {
    if (keyboardFocusIn(TreeLinks)) view_->changeFolder(node);
  });
  connect(TreeLinks, &TreeLinksView::focusEntered, &v, &FolderView::treeEntered);
  connect(TreeLinks, &TreeLinksView::mousePressed, &v,
          [&v](FolderNode* node, Qt::MouseButton) { v.treePressed(node); });
  TreeLinks->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(TreeLinks, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& p) { PopupTree->popup(TreeLinks->viewport()->mapToGlobal(p)); });

  // List
  connect(ListLinks, &TXeListView::OnSelectItem, &v, [&v](int row, bool) { v.rowSelected(row); });
  // Once per batch: Select All over 100,000 rows must not refresh per row.
  connect(ListLinks, &TXeListView::OnSelectionChanged, this, &TFMainXeVorlix::UpdateCommandState);
  connect(ListLinks, &TXeListView::OnEnter, this, &TFMainXeVorlix::ListLinksEnter);
  connect(ListLinks, &TXeListView::OnExit, this, &TFMainXeVorlix::UpdateCommandState);
  connect(ListLinks, &TXeListView::OnMouseDown, &v,
          [&v](Qt::MouseButton, int row) { v.rowPressed(row); });
  connect(ListLinks, &TXeListView::OnKeyUp, &v, &FolderView::followListInTree);
  connect(ListLinks, &TXeListView::OnDblClick, &v, [&v](int row) {
    if (row >= 0) v.openCurrentRow(true);
  });
  connect(ListLinks, &TXeListView::OnKeyDown, &v, [&v](int key, Qt::KeyboardModifiers) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter) v.openCurrentRow(false);
  });
  connect(ListLinks, &TXeListView::OnColumnClick, &v, [this](int column) {
    view_->sortByColumn(column, ListLinks->SortDirection() == sdDescending);
  });
  connect(ListLinks, &TXeListView::OnContextPopup, this,
          [this](const QPoint& global, int) { PopupList->popup(global); });

  // Find box: light blue while it has the focus.
  connect(EditFind, &QLineEdit::textChanged, &v, &FolderView::find);
  EditFind->installEventFilter(this);

  connect(ToolButton2, &QToolButton::clicked, this, &TFMainXeVorlix::ToolButton2Click);
  // The button and View > Preview are one switch: both invert the item's
  // checked state, then ask for the toggle.
  connect(ToolButton3, &QToolButton::clicked, Urlpreview1, &QAction::trigger);
}

bool TFMainXeVorlix::eventFilter(QObject* watched, QEvent* event) {
  if (watched == EditFind) {
    // Both colours: the palette's text colour may be light (a dark theme).
    if (event->type() == QEvent::FocusIn)
      EditFind->setStyleSheet(
          QStringLiteral("QLineEdit { background: rgb(196, 225, 255); color: black; }"));
    else if (event->type() == QEvent::FocusOut)
      EditFind->setStyleSheet(QString());
    // Esc leaves the find: the box empties and the list shows the folder.
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
      EditFind->clear();
      ListLinks->setFocus(Qt::OtherFocusReason);
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

bool TFMainXeVorlix::keyboardFocusIn(const QWidget* w) const {
  const QWidget* f = focusWidget();
  return f && (f == w || w->isAncestorOf(f));
}

void TFMainXeVorlix::ListLinksEnter() {
  // Entering the list puts the keyboard on its first row when none has it.
  if (ListLinks->currentRow() < 0 && !view_->rows().empty()) view_->focusRow(0);
  UpdateCommandState();
}

// --- view commands ---

void TFMainXeVorlix::SetViewMode(int mode, QAction* item) {
  view_->list().clearRows();
  ListLinks->setViewStyle(static_cast<TViewStyle>(mode));
  item->setChecked(true);
  QToolButton* buttons[] = {ToolButton6, ToolButton9, ToolButton10};
  buttons[mode]->setChecked(true);
  view_->rebuildList();
}

void TFMainXeVorlix::SetClassicStyle(bool classic) {
  (classic ? ClassicStyle1 : ExplorerStyle1)->setChecked(true);
  (classic ? ToolButton12 : ToolButton11)->setChecked(true);
  view_->rebuildList();
}

}  // namespace vorlix
