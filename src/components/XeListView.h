#pragma once
// TXeListView: the link list control. One model and one selection model shown
// in three view modes (large icons, list, report), a sort column and
// direction kept for the owner and a sort arrow in the report header. The
// control sorts nothing itself: a header click chooses the column and
// direction (a new column ascending, the same column again the other way),
// moves the arrow and then raises OnColumnClick so the owner re-sorts with
// them in place. No arrow shows before the first click: the rows are in the
// owner's own order then.
#include <QList>
#include <QWidget>
#include <functional>

#include "components/ImageList.h"

class QAbstractItemModel;
class QAbstractItemView;
class QItemSelection;
class QItemSelectionModel;
class QListView;
class QMimeData;
class QModelIndex;
class QStackedWidget;
class QTableView;

namespace vorlix {

class XeHeaderView;
class ImageIndexDelegate;
template <class Base>
class XeInnerView;

enum TSortDirection { sdAscending = 0, sdDescending = 1 };
enum TViewStyle { vsIcon, vsList, vsReport };

class TXeListView : public QWidget {
  Q_OBJECT
 public:
  // The role that carries a row's image index unless setImageIndexRole says otherwise.
  static constexpr int kDefaultImageIndexRole = Qt::UserRole + 1;

  explicit TXeListView(QWidget* parent = nullptr);
  ~TXeListView() override;

  // --- model and presentation ------------------------------------------------
  // Not owned. Both views share it and one selection model made for it.
  void setModel(QAbstractItemModel* model);
  QAbstractItemModel* model() const { return model_; }
  QItemSelectionModel* selectionModel() const;
  // The role whose int value indexes the small (report, list) or large (icon)
  // image list for a row's column-0 image.
  void setImageIndexRole(int role);
  int imageIndexRole() const { return imageRole_; }
  // An empty ImageList means "no image list": no row images, no header arrows.
  void setSmallImages(const ImageList& images);
  const ImageList& SmallImages() const { return small_; }
  void setLargeImages(const ImageList& images);
  const ImageList& LargeImages() const { return large_; }
  void setViewStyle(TViewStyle style);
  TViewStyle viewStyle() const { return style_; }
  // Remembered per column and kept across model resets; the user's own
  // resizing updates it.
  void setColumnWidth(int column, int width);
  int columnWidth(int column) const;
  // The caption alignment a column has while it carries no arrow.
  void setColumnAlignment(int column, Qt::Alignment alignment);

  // --- sort direction and header arrow ---------------------------------------
  // Plain writes: none of them moves or repaints the arrow.
  TSortDirection SortDirection() const { return sortDirection_; }
  void setSortDirection(TSortDirection d) { sortDirection_ = d; }
  int ColumnImageIndexUp() const { return imageUp_; }
  void setColumnImageIndexUp(int index) { imageUp_ = index; }
  int ColumnImageIndexDown() const { return imageDown_; }
  void setColumnImageIndexDown(int index) { imageDown_ = index; }
  // The image the header of `column` shows, -1 for none.
  int ColumnImage(int column) const;
  // Whether the user has chosen a sort (a column click was taken), and its
  // column; the owner keeps the rows in that order across rebuilds.
  bool isSorted() const { return sorted_; }
  int sortColumn() const { return SortColumn; }
  // What a click on the header of `column` does; the header calls it.
  void ColClick(int column);

  // --- rows --------------------------------------------------------------------
  int rowCount() const;
  int currentRow() const;           // -1 when no row has the keyboard focus
  QList<int> selectedRows() const;  // ascending, each row once
  bool isRowSelected(int row) const;
  void selectAll();
  void clearSelection();
  // Keyboard focus and selection to `row` (clamped to the rows there are),
  // as the arrow keys leave them: that row alone selected, scrolled into view.
  void MoveFocusTo(int row);
  // Where `count` presses of the Down key would leave the focus: the first
  // press lands on row 0 when no row has the focus.
  void SendDownKeys(int count);
  // The row under `pos` (in this widget's coordinates), -1 for none.
  int rowAt(const QPoint& pos) const;
  // The view showing now, and the two views for whoever needs more of them.
  QAbstractItemView* activeView() const;
  QTableView* reportView() const;
  QListView* iconView() const;
  XeHeaderView* header() const { return header_; }

  // --- drag --------------------------------------------------------------------
  // Builds the data of a drag of `rows` (ascending); returning nullptr cancels
  // the drag. Without a provider the drag carries the row numbers.
  using DragDataProvider = std::function<QMimeData*(const QList<int>& rows)>;
  void setDragDataProvider(DragDataProvider provider) { dragProvider_ = std::move(provider); }
  // The MIME type of the default drag data: row numbers, one per line.
  static QString rowsMimeType();

  // --- drop --------------------------------------------------------------------
  // Drops of data from elsewhere: `accepts` says whether the list takes a
  // drag's data (asked on every move, so it should judge by the formats),
  // `dropped` receives it and says whether it took it; a drop it did not
  // take is refused. A drag of the list's own rows is never taken. Without
  // a handler every drop is refused.
  using DropAcceptor = std::function<bool(const QMimeData*)>;
  using DropHandler = std::function<bool(const QMimeData*)>;
  void setDropHandler(DropAcceptor accepts, DropHandler dropped);

 signals:
  void OnColumnClick(int column);
  // One per row whose selection changed; deselections come first.
  void OnSelectItem(int row, bool selected);
  // Once after each batch of OnSelectItem.
  void OnSelectionChanged();
  void OnEnter();                                            // keyboard focus came in
  void OnExit();                                             // keyboard focus went out
  void OnDblClick(int row);                                  // row -1: empty area
  void OnKeyDown(int key, Qt::KeyboardModifiers modifiers);  // before the view moves
  void OnKeyUp(int key, Qt::KeyboardModifiers modifiers);    // after it
  void OnMouseDown(Qt::MouseButton button, int row);         // after the view selected
  void OnContextPopup(const QPoint& globalPos, int row);
  void OnStartDrag(const QList<int>& rows);
  void OnEndDrag(Qt::DropAction action);

 private:
  template <class Base>
  friend class XeInnerView;

  void SetColumnImage(int column, int image, bool show);
  void afterPaint();
  void startRowDrag();
  bool takesDrop(const QDropEvent* e) const;
  void forwardSelection(const QItemSelection& selected, const QItemSelection& deselected);
  void applyColumnWidths();
  void rememberWidth(int column, int width);
  void updateFocusProxy();

  QAbstractItemModel* model_ = nullptr;
  QStackedWidget* stack_ = nullptr;
  XeInnerView<QTableView>* report_ = nullptr;
  XeInnerView<QListView>* icons_ = nullptr;
  XeHeaderView* header_ = nullptr;
  ImageIndexDelegate* smallDelegate_ = nullptr;
  ImageIndexDelegate* largeDelegate_ = nullptr;
  ImageList small_;
  ImageList large_;
  int imageRole_ = kDefaultImageIndexRole;
  TViewStyle style_ = vsReport;
  QList<int> widths_;
  bool applyingWidths_ = false;
  DragDataProvider dragProvider_;
  DropAcceptor dropAccepts_;
  DropHandler dropHandler_;

  TSortDirection sortDirection_ = sdAscending;
  int imageUp_ = -1;
  int imageDown_ = -1;
  int SortColumn = 0;
  bool sorted_ = false;
  // The direction the arrow shows; SortDirection may be written over.
  bool shownAscending_ = true;
};

}  // namespace vorlix
