#include "components/XeListView.h"

#include <QDrag>
#include <QDropEvent>
#include <QHeaderView>
#include <QListView>
#include <QMimeData>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "components/ImageIndexDelegate.h"
#include "components/XeHeaderView.h"
#include "components/XeInnerView.h"

namespace vorlix {

namespace {

// Rows touched by a selection change, ascending, each once.
QList<int> rowsOf(const QItemSelection& selection) {
  QList<int> rows;
  for (const QItemSelectionRange& r : selection) {
    for (int row = r.top(); row <= r.bottom(); ++row) rows.append(row);
  }
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return rows;
}

// The selection stays in its colours while the list has no focus, so the
// user still sees which rows a menu command will act on.
void keepSelectionVisible(QWidget* w) {
  QPalette pal = w->palette();
  for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
    pal.setColor(QPalette::Inactive, role, pal.color(QPalette::Active, role));
  }
  w->setPalette(pal);
}

void setUpView(QAbstractItemView* v) {
  v->setSelectionMode(QAbstractItemView::ExtendedSelection);
  v->setSelectionBehavior(QAbstractItemView::SelectRows);
  // F2 edits a caption in place where the model lets it.
  v->setEditTriggers(QAbstractItemView::EditKeyPressed);
  v->setDragDropMode(QAbstractItemView::NoDragDrop);
  v->setTextElideMode(Qt::ElideRight);
  keepSelectionVisible(v);
}

}  // namespace

TXeListView::TXeListView(QWidget* parent) : QWidget(parent) {
  stack_ = new QStackedWidget(this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(stack_);

  report_ = new XeInnerView<QTableView>(this);
  header_ = new XeHeaderView(report_);
  report_->setHorizontalHeader(header_);
  setUpView(report_);
  report_->setShowGrid(true);
  report_->setWordWrap(false);
  report_->setCornerButtonEnabled(false);
  report_->setTabKeyNavigation(false);
  report_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  report_->verticalHeader()->hide();
  report_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  report_->verticalHeader()->setDefaultSectionSize(qMax(fontMetrics().height() + 4, 18));
  header_->setStretchLastSection(false);
  connect(header_, &QHeaderView::sectionClicked, this, &TXeListView::ColClick);
  connect(header_, &QHeaderView::sectionResized, this,
          [this](int column, int, int width) { rememberWidth(column, width); });

  icons_ = new XeInnerView<QListView>(this);
  setUpView(icons_);
  icons_->setMovement(QListView::Static);
  icons_->setResizeMode(QListView::Adjust);
  // Uniform cells let a 100,000-row list lay out in one pass. Batched layout
  // is not used: a resize in the middle of its batches left every row past
  // the first batch without a place, and out of reach.
  icons_->setUniformItemSizes(true);
  icons_->setLayoutMode(QListView::SinglePass);
  icons_->setWrapping(true);

  smallDelegate_ = new ImageIndexDelegate(&small_, &imageRole_, this);
  largeDelegate_ = new ImageIndexDelegate(&large_, &imageRole_, this);
  report_->setItemDelegate(smallDelegate_);

  stack_->addWidget(report_);
  stack_->addWidget(icons_);
  setViewStyle(vsReport);
}

TXeListView::~TXeListView() {
  // The inner views report focus changes to this object; let them go while
  // it is still whole.
  delete stack_;
  stack_ = nullptr;
  report_ = nullptr;
  icons_ = nullptr;
  header_ = nullptr;
}

QString TXeListView::rowsMimeType() { return QStringLiteral("application/x-vorlix-list-rows"); }

// --- model and presentation ----------------------------------------------------

void TXeListView::setModel(QAbstractItemModel* model) {
  QItemSelectionModel* old = report_->selectionModel();
  if (old) disconnect(old, nullptr, this, nullptr);
  model_ = model;
  report_->setModel(model);
  // QAbstractItemView::setModel makes a selection model per view; the report's
  // is the shared one and the list view's own is dropped at once.
  QItemSelectionModel* shared = report_->selectionModel();
  icons_->setModel(model);
  if (QItemSelectionModel* own = icons_->selectionModel(); own && own != shared) {
    icons_->setSelectionModel(shared);
    own->deleteLater();
  }
  if (old && old != shared) old->deleteLater();
  if (shared) {
    connect(shared, &QItemSelectionModel::selectionChanged, this, &TXeListView::forwardSelection);
  }
  if (model) {
    connect(model, &QAbstractItemModel::modelReset, this, &TXeListView::applyColumnWidths);
    connect(model, &QAbstractItemModel::columnsInserted, this, &TXeListView::applyColumnWidths);
    connect(model, &QAbstractItemModel::layoutChanged, this, &TXeListView::applyColumnWidths);
  }
  applyColumnWidths();
}

QItemSelectionModel* TXeListView::selectionModel() const { return report_->selectionModel(); }

void TXeListView::setImageIndexRole(int role) {
  imageRole_ = role;
  activeView()->viewport()->update();
}

void TXeListView::setSmallImages(const ImageList& images) {
  small_ = images;
  header_->setImages(images);
  if (images.isEmpty()) {
    // Without the list the header can show no arrow at all.
    for (int c = 0; c < header_->count(); ++c) header_->setColumnImage(c, -1);
  }
  setViewStyle(style_);
}

void TXeListView::setLargeImages(const ImageList& images) {
  large_ = images;
  setViewStyle(style_);
}

void TXeListView::setViewStyle(TViewStyle style) {
  const bool hadFocus = activeView()->hasFocus();
  style_ = style;
  if (style == vsReport) {
    smallDelegate_->setFixedItemSize(QSize());  // the report sizes its own rows
    stack_->setCurrentWidget(report_);
  } else {
    const bool large = style == vsIcon;
    const ImageList& images = large ? large_ : small_;
    const int icon = images.isEmpty() ? (large ? 32 : 16) : images.size();
    icons_->setItemDelegate(large ? largeDelegate_ : smallDelegate_);
    icons_->setViewMode(large ? QListView::IconMode : QListView::ListMode);
    icons_->setFlow(large ? QListView::LeftToRight : QListView::TopToBottom);
    icons_->setWrapping(true);
    icons_->setWordWrap(large);
    icons_->setIconSize(QSize(icon, icon));
    const int line = fontMetrics().height();
    // Fixed cells: the width of the widest caption would cost a pass over
    // every row, and captions that do not fit are elided.
    const QSize cell =
        large ? QSize(icon + 72, icon + 2 * line + 12) : QSize(240, qMax(line, icon) + 4);
    icons_->setGridSize(cell);
    icons_->setSpacing(large ? 4 : 0);
    (large ? largeDelegate_ : smallDelegate_)->setFixedItemSize(large ? cell - QSize(8, 4) : cell);
    icons_->setModelColumn(0);
    stack_->setCurrentWidget(icons_);
  }
  updateFocusProxy();
  if (hadFocus) activeView()->setFocus();
  if (selectionModel() && selectionModel()->currentIndex().isValid()) {
    activeView()->scrollTo(selectionModel()->currentIndex());
  }
}

void TXeListView::updateFocusProxy() { setFocusProxy(activeView()); }

void TXeListView::setColumnWidth(int column, int width) {
  if (column < 0) return;
  if (widths_.size() <= column) widths_.resize(column + 1, -1);
  widths_[column] = width;
  applyColumnWidths();
}

int TXeListView::columnWidth(int column) const {
  if (column >= 0 && column < header_->count()) return header_->sectionSize(column);
  return column >= 0 && column < widths_.size() ? widths_.at(column) : -1;
}

void TXeListView::setColumnAlignment(int column, Qt::Alignment alignment) {
  header_->setColumnAlignment(column, alignment);
}

void TXeListView::applyColumnWidths() {
  applyingWidths_ = true;
  for (int c = 0; c < widths_.size() && c < header_->count(); ++c) {
    if (widths_.at(c) >= 0) header_->resizeSection(c, widths_.at(c));
  }
  applyingWidths_ = false;
}

void TXeListView::rememberWidth(int column, int width) {
  if (applyingWidths_ || column < 0) return;
  if (widths_.size() <= column) widths_.resize(column + 1, -1);
  widths_[column] = width;
}

QAbstractItemView* TXeListView::activeView() const {
  return style_ == vsReport ? static_cast<QAbstractItemView*>(report_) : icons_;
}
QTableView* TXeListView::reportView() const { return report_; }
QListView* TXeListView::iconView() const { return icons_; }

// --- sort direction and header arrow ---------------------------------------------

int TXeListView::ColumnImage(int column) const { return header_->columnImage(column); }

void TXeListView::SetColumnImage(int column, int image, bool show) {
  if (small_.isEmpty() || image < 0) return;
  header_->setColumnImage(column, show ? image : -1);
}

void TXeListView::ColClick(int column) {
  if (small_.isEmpty() || imageUp_ < 0 || imageDown_ < 0) return;
  // A new column starts ascending; the sorted column again turns round.
  const bool ascending = !sorted_ || column != SortColumn || !shownAscending_;
  if (sorted_) SetColumnImage(SortColumn, imageDown_, false);
  SortColumn = column;
  sorted_ = true;
  shownAscending_ = ascending;
  sortDirection_ = ascending ? sdAscending : sdDescending;
  SetColumnImage(SortColumn, ascending ? imageDown_ : imageUp_, true);
  emit OnColumnClick(column);
}

void TXeListView::afterPaint() {
  // Whatever repainted the list, the sorted column shows the arrow of its
  // direction; before any sort no column shows one.
  if (!sorted_ || small_.isEmpty() || imageUp_ < 0 || imageDown_ < 0) return;
  SetColumnImage(SortColumn, shownAscending_ ? imageDown_ : imageUp_, true);
}

// --- rows ------------------------------------------------------------------------

int TXeListView::rowCount() const { return model_ ? model_->rowCount() : 0; }

int TXeListView::currentRow() const {
  const QItemSelectionModel* sm = selectionModel();
  return sm && sm->currentIndex().isValid() ? sm->currentIndex().row() : -1;
}

QList<int> TXeListView::selectedRows() const {
  const QItemSelectionModel* sm = selectionModel();
  return sm ? rowsOf(sm->selection()) : QList<int>();
}

bool TXeListView::isRowSelected(int row) const {
  const QItemSelectionModel* sm = selectionModel();
  if (!sm || !model_ || row < 0 || row >= model_->rowCount()) return false;
  return sm->isSelected(model_->index(row, 0));
}

void TXeListView::selectAll() {
  QItemSelectionModel* sm = selectionModel();
  const int rows = rowCount();
  if (!sm || rows == 0) return;
  const int lastColumn = qMax(0, model_->columnCount() - 1);
  sm->select(QItemSelection(model_->index(0, 0), model_->index(rows - 1, lastColumn)),
             QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void TXeListView::clearSelection() {
  if (QItemSelectionModel* sm = selectionModel()) sm->clearSelection();
}

void TXeListView::MoveFocusTo(int row) {
  QItemSelectionModel* sm = selectionModel();
  const int rows = rowCount();
  if (!sm || rows == 0) return;
  const QModelIndex idx = model_->index(qBound(0, row, rows - 1), 0);
  sm->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  activeView()->scrollTo(idx);
}

void TXeListView::SendDownKeys(int count) {
  if (count <= 0 || rowCount() == 0) return;
  const int from = currentRow();
  MoveFocusTo(from < 0 ? count - 1 : from + count);
}

int TXeListView::rowAt(const QPoint& pos) const {
  QAbstractItemView* v = activeView();
  const QModelIndex idx = v->indexAt(v->viewport()->mapFrom(this, pos));
  return idx.isValid() ? idx.row() : -1;
}

void TXeListView::forwardSelection(const QItemSelection& selected,
                                   const QItemSelection& deselected) {
  const QList<int> off = rowsOf(deselected);
  const QList<int> on = rowsOf(selected);
  for (int row : off) {
    // A row that is still selected lost only some of its cells.
    if (!isRowSelected(row)) emit OnSelectItem(row, false);
  }
  for (int row : on) emit OnSelectItem(row, true);
  if (!off.isEmpty() || !on.isEmpty()) emit OnSelectionChanged();
}

// --- drop ------------------------------------------------------------------------

void TXeListView::setDropHandler(DropAcceptor accepts, DropHandler dropped) {
  dropAccepts_ = std::move(accepts);
  dropHandler_ = std::move(dropped);
  const bool on = bool(dropAccepts_) && bool(dropHandler_);
  for (QAbstractItemView* v :
       {static_cast<QAbstractItemView*>(report_), static_cast<QAbstractItemView*>(icons_)}) {
    v->setAcceptDrops(on);
    v->viewport()->setAcceptDrops(on);
  }
}

bool TXeListView::takesDrop(const QDropEvent* e) const {
  return dropAccepts_ && dropHandler_ && e->source() != this && dropAccepts_(e->mimeData());
}

// --- drag ------------------------------------------------------------------------

void TXeListView::startRowDrag() {
  const QList<int> rows = selectedRows();
  if (rows.isEmpty()) return;
  emit OnStartDrag(rows);
  QMimeData* data = nullptr;
  if (dragProvider_) {
    data = dragProvider_(rows);
  } else {
    data = new QMimeData;
    QByteArray text;
    for (int r : rows) text += QByteArray::number(r) + '\n';
    data->setData(rowsMimeType(), text);
  }
  if (!data) return;
  // The drag's source is this control, so a drop target can tell a drag
  // from the link list by QDropEvent::source().
  auto* drag = new QDrag(this);
  drag->setMimeData(data);
  // The first dragged row's own image follows the pointer.
  const QPixmap pm =
      small_.pixmap(model_->index(rows.first(), 0).data(imageRole_).toInt(), devicePixelRatioF());
  if (!pm.isNull()) drag->setPixmap(pm);
  const Qt::DropAction action = drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
  emit OnEndDrag(action);
}

}  // namespace vorlix
