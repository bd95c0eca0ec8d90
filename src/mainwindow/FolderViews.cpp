// The tree and list events: moving between folders, the find box, sorting
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
#include "store/Find.h"
#include "store/ListBuilder.h"
#include "store/Paths.h"
#include "store/RowSort.h"

namespace vorlix {

void TFMainXeVorlix::connectViews() {
  progress_ = std::make_unique<MainRebuildProgress>(prgbar);

  // Tree
  connect(TreeLinks, &TreeLinksView::currentNodeChanged, this, [this](FolderNode* node) {
    if (keyboardFocusIn(TreeLinks)) TreeLinksChange(node);
  });
  connect(TreeLinks, &TreeLinksView::focusEntered, this, &TFMainXeVorlix::TreeLinksEnter);
  connect(TreeLinks, &TreeLinksView::mousePressed, this, &TFMainXeVorlix::TreeLinksMouseDown);
  // The clicked folder must never outlive its node.
  connect(&tree_, &QAbstractItemModel::modelAboutToBeReset, this,
          [this] { clickedFolder_ = nullptr; });
  connect(&tree_, &QAbstractItemModel::rowsAboutToBeRemoved, this,
          [this](const QModelIndex& parent, int first, int last) {
            FolderNode* p = tree_.nodeFor(parent);
            for (FolderNode* n = clickedFolder_; n; n = n->parent)
              if (n->parent == p && n->row() >= first && n->row() <= last) {
                clickedFolder_ = nullptr;
                break;
              }
          });
  TreeLinks->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(TreeLinks, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& p) { PopupTree->popup(TreeLinks->viewport()->mapToGlobal(p)); });

  // List
  connect(ListLinks, &TXeListView::OnSelectItem, this,
          [this](int row, bool) { ListLinksSelectItem(row); });
  // Once per batch: Select All over 100,000 rows must not refresh per row.
  connect(ListLinks, &TXeListView::OnSelectionChanged, this, &TFMainXeVorlix::UpdateCommandState);
  connect(ListLinks, &TXeListView::OnEnter, this, &TFMainXeVorlix::ListLinksEnter);
  connect(ListLinks, &TXeListView::OnExit, this, &TFMainXeVorlix::UpdateCommandState);
  connect(ListLinks, &TXeListView::OnMouseDown, this,
          [this](Qt::MouseButton, int row) { ListLinksMouseDown(row); });
  connect(ListLinks, &TXeListView::OnKeyUp, this, &TFMainXeVorlix::ListLinksKeyUp);
  connect(ListLinks, &TXeListView::OnDblClick, this, [this](int row) {
    if (row >= 0) openCurrentRow(true);
  });
  connect(ListLinks, &TXeListView::OnKeyDown, this, [this](int key, Qt::KeyboardModifiers) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter) openCurrentRow(false);
  });
  connect(ListLinks, &TXeListView::OnColumnClick, this, &TFMainXeVorlix::ListLinksColumnClick);
  connect(ListLinks, &TXeListView::OnContextPopup, this,
          [this](const QPoint& global, int) { PopupList->popup(global); });

  // Find box: light blue while it has the focus.
  connect(EditFind, &QLineEdit::textChanged, this, &TFMainXeVorlix::EditFindChange);
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

bool TFMainXeVorlix::classicStyle() const { return ClassicStyle1->isChecked(); }

bool TFMainXeVorlix::flatMode() const {
  return classicStyle() || (keyboardFocusIn(EditFind) && EditFind->text().size() > 2);
}

void TFMainXeVorlix::setTPath() { TPath->setText(fromAnsi(pos_.tpathText())); }

void TFMainXeVorlix::RebuildList() {
  showRows(BuildRows(doc_.links(), pos_, flatMode(), progress_.get()));
}

void TFMainXeVorlix::showRows(ListRows&& rows) {
  // A sort the user chose holds for every listing until another is chosen.
  if (ListLinks->isSorted())
    rows.reorder(SortedRowOrder(rows.all(), ListLinks->sortColumn(),
                                ListLinks->SortDirection() == sdDescending));
  rows_.setRows(std::move(rows));
}

void TFMainXeVorlix::RebuildTree(bool rootSelectionMovesFolder) {
  vorlix::RebuildTree(tree_, doc_.links());
  if (rootSelectionMovesFolder && keyboardFocusIn(TreeLinks)) {
    TreeLinks->syncFromModel();
    // The root's selection moves the current folder; when it is already
    // there (every load), the list the caller has just rebuilt stays.
    FolderPosition moved = pos_;
    SelectTreeNode(moved, tree_.root());
    if (moved.currentPath != pos_.currentPath || moved.upMarker != pos_.upMarker ||
        moved.rootPath != pos_.rootPath)
      TreeLinksChange(tree_.root());
    return;
  }
  // The list keeps its folder, so the tree shows that folder rather than
  // the root the rebuild selected.
  if (FolderNode* node = FindNodeByPath(tree_, pos_.currentPath)) tree_.setSelected(node);
  TreeLinks->syncFromModel();
}

void TFMainXeVorlix::refreshAfterHistoryMove() {
  RebuildTree(false);
  // The folder shown may be gone (an undone New Folder): show the nearest
  // folder above it that still exists.
  FolderNode* node = FindNodeByPath(tree_, pos_.currentPath);
  if (node && FolderTreeModel::NodePath(node) != pos_.currentPath) SelectTreeNode(pos_, node);
  selectTreeNode(node);
  setTPath();
  if (keyboardFocusIn(EditFind) && EditFind->text().size() > 2)
    EditFindChange(EditFind->text());
  else
    RebuildList();
  UpdateCommandState();
}

void TFMainXeVorlix::selectTreeNode(FolderNode* node) {
  tree_.setSelected(node);
  TreeLinks->syncFromModel();
}

void TFMainXeVorlix::focusListRow(int row) {
  if (row < 0 || size_t(row) >= rows_.rows().size()) return;
  ListLinks->MoveFocusTo(row);
  currentListItem_ = row;
  UpdateCommandState();
}

// --- tree events ---

void TFMainXeVorlix::TreeLinksChange(FolderNode* node) {
  if (!SelectTreeNode(pos_, node)) return;
  setTPath();
  RebuildList();
}

void TFMainXeVorlix::TreeLinksEnter() {
  TreeFocused(pos_, tree_.selected());
  setTPath();
  RebuildList();
  UpdateCommandState();
}

void TFMainXeVorlix::TreeLinksMouseDown(FolderNode* node, Qt::MouseButton) {
  clickedFolder_ = node;
  if (node && node->label == kRootName) {
    ReturnToRoot(pos_);
    setTPath();
    RebuildList();
  }
}

// --- list events ---

void TFMainXeVorlix::ListLinksSelectItem(int row) {
  currentListItem_ = row;
  if (flatMode())
    if (const ListRow* r = rows_.rowAt(row)) TPath->setText(QLatin1Char(' ') + fromAnsi(r->path));
}

void TFMainXeVorlix::ListLinksEnter() {
  // Entering the list puts the keyboard on its first row when none has it.
  if (ListLinks->currentRow() < 0 && !rows_.rows().empty()) focusListRow(0);
  UpdateCommandState();
}

void TFMainXeVorlix::ListLinksMouseDown(int row) {
  if (row >= 0) currentListItem_ = row;
  followListInTree();
}

void TFMainXeVorlix::ListLinksKeyUp() { followListInTree(); }

void TFMainXeVorlix::followListInTree() {
  const ListRow* r = rows_.rowAt(currentListItem_);
  if (!r || !r->isFolder()) return;
  const AnsiString path =
      pos_.currentPath + (r->isUpRow() ? AnsiString() : AnsiString(r->caption) + "\\");
  selectTreeNode(FindNodeByPath(tree_, path));
}

void TFMainXeVorlix::openCurrentRow(bool doubleClick) {
  const ListRow* r = rows_.rowAt(currentListItem_);
  if (!r) return;
  if (!r->isFolder()) {
    emit openLinkRequested(fromAnsi(r->url), LinkOpening::FromList);
    return;
  }
  if (!r->isUpRow()) {
    const AnsiString caption(r->caption);
    EnterFolder(pos_, caption);
    setTPath();
    RebuildList();
    focusListRow(0);  // the ".." row
  } else {
    const AnsiString left = GoUp(pos_);
    setTPath();
    RebuildList();
    const int i = FindRowByCaptionPrefix(rows_.rows(), left);
    if (i >= 0) focusListRow(i);
  }
  if (doubleClick) {
    const ListRow* now = rows_.rowAt(currentListItem_);
    if (now && now->isFolder()) {
      const AnsiString path =
          pos_.currentPath + (now->isUpRow() ? AnsiString() : AnsiString(now->caption) + "\\");
      selectTreeNode(FindNodeByPath(tree_, path));
    }
  }
}

void TFMainXeVorlix::ListLinksColumnClick(int column) {
  rows_.sortRows(column, ListLinks->SortDirection() == sdDescending);
}

// --- find box ---

void TFMainXeVorlix::EditFindChange(const QString& text) {
  if (text.isEmpty()) {
    RebuildList();
    return;
  }
  if (text.size() <= 2) return;  // the list keeps what it shows
  const auto& hits = doc_.findIndex().find(toAnsi(text));
  showRows(BuildRows(doc_.links(), hits, pos_, flatMode(), progress_.get()));
}

// --- view commands ---

void TFMainXeVorlix::SetViewMode(int mode, QAction* item) {
  rows_.clearRows();
  ListLinks->setViewStyle(static_cast<TViewStyle>(mode));
  item->setChecked(true);
  QToolButton* buttons[] = {ToolButton6, ToolButton9, ToolButton10};
  buttons[mode]->setChecked(true);
  RebuildList();
}

void TFMainXeVorlix::SetClassicStyle(bool classic) {
  (classic ? ClassicStyle1 : ExplorerStyle1)->setChecked(true);
  (classic ? ToolButton12 : ToolButton11)->setChecked(true);
  RebuildList();
}

}  // namespace vorlix
