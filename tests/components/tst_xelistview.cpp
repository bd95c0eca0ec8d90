#include <QHeaderView>
#include <QListView>
#include <QMimeData>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

#include "components/XeHeaderView.h"
#include "components/XeListView.h"

using namespace vorlix;

static void initIcons() { Q_INIT_RESOURCE(vorlix); }

namespace {

constexpr int kRole = Qt::UserRole + 7;

// Five columns like the link list; rows alternate folder and link images.
void fill(QStandardItemModel& m, int rows) {
  m.clear();
  m.setHorizontalHeaderLabels({"Description", "URL", "Date", "Type", "Path"});
  for (int r = 0; r < rows; ++r) {
    QList<QStandardItem*> items;
    for (int c = 0; c < 5; ++c) items << new QStandardItem(QStringLiteral("r%1c%2").arg(r).arg(c));
    items[0]->setData(r % 2 == 0 ? int(imgFolder) : int(imgLink), kRole);
    m.appendRow(items);
  }
}

struct Click {
  int column;
  TSortDirection direction;  // as seen inside OnColumnClick
  QList<int> images;         // every column's header image at that moment
};

}  // namespace

class TestXeListView : public QObject {
  Q_OBJECT

  QStandardItemModel model_;
  std::unique_ptr<TXeListView> list_;
  std::vector<Click> clicks_;

  // The main window's configuration.
  void makeList(int rows = 6) {
    fill(model_, rows);
    list_ = std::make_unique<TXeListView>();
    list_->setImageIndexRole(kRole);
    list_->setSmallImages(ImageList::smallImages());
    list_->setLargeImages(ImageList::largeImages());
    list_->setColumnImageIndexUp(imgSortUp);
    list_->setColumnImageIndexDown(imgSortDown);
    list_->setModel(&model_);
    for (int c = 0; c < 5; ++c) list_->setColumnWidth(c, 120);
    list_->resize(700, 300);
    clicks_.clear();
    connect(list_.get(), &TXeListView::OnColumnClick, this, [this](int column) {
      QList<int> images;
      for (int c = 0; c < 5; ++c) images << list_->ColumnImage(c);
      clicks_.push_back({column, list_->SortDirection(), images});
    });
  }
  void showAndPaint() {
    list_->show();
    QVERIFY(QTest::qWaitForWindowExposed(list_.get()));
    repaint();
  }
  void repaint() {
    list_->activeView()->viewport()->repaint();
    QCoreApplication::processEvents();
  }
  void clickHeader(int column) {
    XeHeaderView* h = list_->header();
    const QPoint p(h->sectionViewportPosition(column) + h->sectionSize(column) / 2,
                   h->height() / 2);
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, p);
  }
  QPoint rowPoint(QAbstractItemView* v, int row) {
    return v->visualRect(model_.index(row, 0)).center();
  }
  // Leftmost x, relative to the section, of dark caption pixels.
  int captionStart(int column) {
    XeHeaderView* h = list_->header();
    const QImage img = h->grab().toImage();
    const qreal dpr = img.devicePixelRatio();
    const int x0 = h->sectionViewportPosition(column);
    const int w = h->sectionSize(column);
    for (int x = x0; x < x0 + w; ++x) {
      for (int y = 0; y < h->height(); ++y) {
        if (qGray(img.pixel(int(x * dpr), int(y * dpr))) < 80) return x - x0;
      }
    }
    return -1;
  }

 private slots:
  void initTestCase() { initIcons(); }
  void cleanup() { list_.reset(); }

  void listViewLaysOutEveryRowWhenEnlarged() {
    makeList(300);
    list_->setViewStyle(vsList);
    list_->resize(300, 200);
    showAndPaint();
    // The window enlarged by dragging its corner: one resize after another.
    for (int step = 1; step <= 20; ++step) {
      list_->resize(300 + 45 * step, 200 + 25 * step);
      QCoreApplication::processEvents();
    }
    QTest::qWait(300);
    repaint();
    QListView* view = list_->iconView();
    // Every row has its place, and the last can be scrolled to and found.
    for (int row : {99, 150, 299})
      QVERIFY2(view->visualRect(model_.index(row, 0)).isValid(), qPrintable(QString::number(row)));
    view->scrollTo(model_.index(299, 0));
    QCoreApplication::processEvents();
    QCOMPARE(view->indexAt(view->visualRect(model_.index(299, 0)).center()).row(), 299);
  }

  void noArrowBeforeTheFirstClick() {
    makeList();
    showAndPaint();
    // The rows are in the owner's order: no column claims to sort them.
    for (int c = 0; c < 5; ++c) QCOMPARE(list_->ColumnImage(c), -1);
    QVERIFY(!list_->isSorted());
    QCOMPARE(list_->SortDirection(), sdAscending);
    QVERIFY(clicks_.empty());
  }

  void aNewColumnSortsAscendingTheSameColumnTurnsRound() {
    makeList();
    showAndPaint();
    clickHeader(1);  // URL
    clickHeader(2);  // Date: a new column starts ascending again
    clickHeader(2);
    clickHeader(2);
    QCOMPARE(clicks_.size(), size_t(4));
    QCOMPARE(clicks_[0].column, 1);
    QCOMPARE(clicks_[0].direction, sdAscending);
    QCOMPARE(clicks_[0].images, QList<int>({-1, imgSortDown, -1, -1, -1}));
    QCOMPARE(clicks_[1].column, 2);
    QCOMPARE(clicks_[1].direction, sdAscending);
    QCOMPARE(clicks_[1].images, QList<int>({-1, -1, imgSortDown, -1, -1}));
    QCOMPARE(clicks_[2].direction, sdDescending);
    QCOMPARE(clicks_[2].images, QList<int>({-1, -1, imgSortUp, -1, -1}));
    // Two clicks on one column bring it back to where it started.
    QCOMPARE(clicks_[3].direction, clicks_[1].direction);
    QCOMPARE(clicks_[3].images, clicks_[1].images);
    QVERIFY(list_->isSorted());
    QCOMPARE(list_->sortColumn(), 2);
  }

  void paintRestoresTheArrowOfTheSortColumn() {
    makeList();
    showAndPaint();
    clickHeader(3);
    clickHeader(3);
    list_->header()->setColumnImage(3, -1);  // something else dropped it
    repaint();
    QCOMPARE(list_->ColumnImage(3), int(imgSortUp));
    clickHeader(4);
    list_->header()->setColumnImage(4, -1);
    repaint();
    QCOMPARE(list_->ColumnImage(4), int(imgSortDown));
    QCOMPARE(list_->ColumnImage(3), -1);
  }

  void noArrowsNoEventWithoutBothImages_data() {
    QTest::addColumn<int>("up");
    QTest::addColumn<int>("down");
    QTest::addColumn<bool>("smallImages");
    QTest::newRow("up unset") << -1 << int(imgSortDown) << true;
    QTest::newRow("down unset") << int(imgSortUp) << -1 << true;
    QTest::newRow("no small image list") << int(imgSortUp) << int(imgSortDown) << false;
  }
  void noArrowsNoEventWithoutBothImages() {
    QFETCH(int, up);
    QFETCH(int, down);
    QFETCH(bool, smallImages);
    makeList();
    list_->setColumnImageIndexUp(up);
    list_->setColumnImageIndexDown(down);
    if (!smallImages) list_->setSmallImages(ImageList());
    QSignalSpy spy(list_.get(), &TXeListView::OnColumnClick);
    showAndPaint();
    clickHeader(1);
    clickHeader(1);
    clickHeader(2);
    repaint();
    QCOMPARE(spy.count(), 0);
    QCOMPARE(list_->SortDirection(), sdAscending);
    for (int c = 0; c < 5; ++c) QCOMPARE(list_->ColumnImage(c), -1);
    // Once both images are set, the next click behaves as the first one.
    if (!smallImages) list_->setSmallImages(ImageList::smallImages());
    list_->setColumnImageIndexUp(imgSortUp);
    list_->setColumnImageIndexDown(imgSortDown);
    clickHeader(2);
    QCOMPARE(clicks_.size(), size_t(1));
    QCOMPARE(clicks_[0].direction, sdAscending);
    QCOMPARE(clicks_[0].images, QList<int>({-1, -1, imgSortDown, -1, -1}));
  }

  void sortDirectionSetFromCodeChangesNoClick() {
    makeList();
    showAndPaint();
    clickHeader(0);
    list_->setSortDirection(sdDescending);
    repaint();
    QCOMPARE(list_->ColumnImage(0), int(imgSortDown));  // the arrow stays
    clickHeader(0);
    QCOMPARE(clicks_.back().direction, sdDescending);
    QCOMPARE(clicks_.back().images[0], int(imgSortUp));
    list_->setSortDirection(sdAscending);
    clickHeader(0);
    QCOMPARE(clicks_.back().direction, sdAscending);
    list_->setSortDirection(sdDescending);
    QCOMPARE(list_->ColumnImage(0), int(imgSortDown));
  }

  void captionIsLeftAlignedOnlyWhileItCarriesTheArrow() {
    makeList();
    list_->setColumnWidth(2, 160);
    list_->setColumnAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    showAndPaint();
    const int rightAligned = captionStart(2);
    QVERIFY2(rightAligned > 80, qPrintable(QString::number(rightAligned)));
    clickHeader(2);
    QCOMPARE(list_->header()->captionAlignment(2), Qt::AlignLeft | Qt::AlignVCenter);
    const int withArrow = captionStart(2);
    QVERIFY2(withArrow >= 0 && withArrow < 20, qPrintable(QString::number(withArrow)));
    clickHeader(3);
    QCOMPARE(captionStart(2), rightAligned);
    QCOMPARE(list_->header()->captionAlignment(2), Qt::AlignRight | Qt::AlignVCenter);
  }

  void viewModesShareModelAndSelection() {
    makeList(8);
    showAndPaint();
    QTableView* report = list_->reportView();
    QTest::mouseClick(report->viewport(), Qt::LeftButton, {}, rowPoint(report, 1));
    QTest::mouseClick(report->viewport(), Qt::LeftButton, Qt::ControlModifier, rowPoint(report, 3));
    QCOMPARE(list_->selectedRows(), QList<int>({1, 3}));

    for (TViewStyle style : {vsIcon, vsList}) {
      list_->setViewStyle(style);
      QCoreApplication::processEvents();
      QAbstractItemView* v = list_->activeView();
      QCOMPARE(v, static_cast<QAbstractItemView*>(list_->iconView()));
      QCOMPARE(v->model(), &model_);
      QCOMPARE(v->selectionModel(), list_->selectionModel());
      QVERIFY(v->selectionModel()->isSelected(model_.index(3, 0)));
      QCOMPARE(list_->currentRow(), 3);
    }
    // A row picked in the list mode is a whole row in the report.
    QListView* icons = list_->iconView();
    QTest::mouseClick(icons->viewport(), Qt::LeftButton, Qt::ControlModifier, rowPoint(icons, 6));
    list_->setViewStyle(vsReport);
    QCOMPARE(list_->selectedRows(), QList<int>({1, 3, 6}));
    QVERIFY(list_->selectionModel()->isSelected(model_.index(6, 4)));
    QCOMPARE(list_->header()->isVisible(), true);
  }

  void rowImagesComeFromTheRoleAndTheModesList() {
    makeList(2);
    showAndPaint();
    // Amber folder pixels against blue globe pixels in each row's icon.
    auto count = [&](QAbstractItemView* v, int row, bool amber) {
      const QImage img = v->viewport()->grab().toImage();
      const QRect r = v->visualRect(model_.index(row, 0));
      int n = 0;
      for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
          const QColor c = img.pixelColor(x, y);
          if (amber ? (c.red() > 200 && c.blue() < 120) : (c.blue() > c.red() + 60)) ++n;
        }
      }
      return n;
    };
    QTableView* report = list_->reportView();
    list_->clearSelection();
    repaint();
    QVERIFY(count(report, 0, true) > 40);
    QCOMPARE(count(report, 1, true), 0);
    QVERIFY(count(report, 1, false) > 40);
    QVERIFY(count(report, 0, true) < 256);  // small list: 16 x 16 at most

    list_->setViewStyle(vsIcon);
    QCoreApplication::processEvents();
    QVERIFY(count(list_->iconView(), 0, true) > 256);  // large list

    list_->setImageIndexRole(Qt::UserRole + 99);  // a role the model lacks
    list_->setViewStyle(vsReport);
    repaint();
    QCOMPARE(count(report, 0, true), 0);
  }

  void selectionFocusAndKeyboardMoves() {
    makeList(6);
    showAndPaint();
    QList<std::pair<int, bool>> events;
    connect(list_.get(), &TXeListView::OnSelectItem, this, [&](int row, bool on) {
      events.append({row, on});
    });
    QCOMPARE(list_->currentRow(), -1);
    list_->SendDownKeys(1);  // no focused row yet: the first press lands on row 0
    QCOMPARE(list_->currentRow(), 0);
    list_->SendDownKeys(3);
    QCOMPARE(list_->currentRow(), 3);
    QCOMPARE(list_->selectedRows(), QList<int>({3}));
    QCOMPARE(events.last(), std::make_pair(3, true));
    QVERIFY(events.contains(std::make_pair(0, false)));
    list_->SendDownKeys(10);  // stops at the last row
    QCOMPARE(list_->currentRow(), 5);
    list_->MoveFocusTo(-4);
    QCOMPARE(list_->currentRow(), 0);

    list_->selectAll();
    QCOMPARE(list_->selectedRows(), QList<int>({0, 1, 2, 3, 4, 5}));
    events.clear();
    QTableView* report = list_->reportView();
    QTest::mouseClick(report->viewport(), Qt::LeftButton, Qt::ControlModifier, rowPoint(report, 2));
    QCOMPARE(events.size(), 1);
    QCOMPARE(events.first(), std::make_pair(2, false));

    fill(model_, 3);  // a rebuild leaves no focused row
    QCOMPARE(list_->currentRow(), -1);
    list_->SendDownKeys(2);
    QCOMPARE(list_->currentRow(), 1);
    fill(model_, 0);
    list_->SendDownKeys(1);  // nothing to move to
    QCOMPARE(list_->currentRow(), -1);
  }

  void forwardsPointerKeyAndFocusEvents() {
    makeList(4);
    showAndPaint();
    QTableView* report = list_->reportView();
    QSignalSpy enter(list_.get(), &TXeListView::OnEnter);
    QSignalSpy down(list_.get(), &TXeListView::OnMouseDown);
    QSignalSpy dbl(list_.get(), &TXeListView::OnDblClick);
    QSignalSpy keyDown(list_.get(), &TXeListView::OnKeyDown);
    QSignalSpy keyUp(list_.get(), &TXeListView::OnKeyUp);
    QSignalSpy popup(list_.get(), &TXeListView::OnContextPopup);

    QTest::mouseClick(report->viewport(), Qt::LeftButton, {}, rowPoint(report, 2));
    QCOMPARE(down.count(), 1);
    QCOMPARE(down.last().at(1).toInt(), 2);
    QCOMPARE(list_->currentRow(), 2);  // selected before the owner hears of the press
    QTest::mouseClick(report->viewport(), Qt::LeftButton, {},
                      QPoint(10, report->viewport()->height() - 3));
    QCOMPARE(down.last().at(1).toInt(), -1);  // below the last row

    QTest::mouseDClick(report->viewport(), Qt::LeftButton, {}, rowPoint(report, 1));
    QCOMPARE(dbl.count(), 1);
    QCOMPARE(dbl.last().at(0).toInt(), 1);

    list_->activateWindow();
    list_->setFocus();
    QTRY_VERIFY(report->hasFocus());
    QVERIFY(list_->hasFocus());
    QSignalSpy exit(list_.get(), &TXeListView::OnExit);
    const int entered = enter.count();
    list_->clearFocus();
    QCOMPARE(exit.count(), 1);
    list_->setFocus(Qt::TabFocusReason);
    QCOMPARE(enter.count(), entered + 1);
    QTest::keyClick(report, Qt::Key_Return);
    QCOMPARE(keyDown.last().at(0).toInt(), int(Qt::Key_Return));
    QCOMPARE(keyUp.last().at(0).toInt(), int(Qt::Key_Return));

    QContextMenuEvent menu(QContextMenuEvent::Mouse, rowPoint(report, 3),
                           report->viewport()->mapToGlobal(rowPoint(report, 3)));
    QCoreApplication::sendEvent(report->viewport(), &menu);
    QCOMPARE(popup.count(), 1);
    QCOMPARE(popup.last().at(1).toInt(), 3);
  }

  void dragCarriesTheWholeSelectionAndDropsAreRefused() {
    makeList(6);
    showAndPaint();
    QList<int> dragged;
    int drags = 0;
    list_->setDragDataProvider([&](const QList<int>& rows) -> QMimeData* {
      dragged = rows;
      ++drags;
      return nullptr;  // cancels: no drag loop in a test
    });
    QTableView* report = list_->reportView();
    QWidget* vp = report->viewport();
    QTest::mouseClick(vp, Qt::LeftButton, {}, rowPoint(report, 1));
    QTest::mouseClick(vp, Qt::LeftButton, Qt::ControlModifier, rowPoint(report, 4));

    // Pressing on a selected row keeps the selection; moving starts the drag.
    const QPoint from = rowPoint(report, 4);
    QTest::mousePress(vp, Qt::LeftButton, {}, from);
    QCOMPARE(list_->selectedRows(), QList<int>({1, 4}));
    QMouseEvent move(QEvent::MouseMove, QPointF(from + QPoint(0, 25)),
                     vp->mapToGlobal(QPointF(from + QPoint(0, 25))), Qt::NoButton, Qt::LeftButton,
                     {});
    QCoreApplication::sendEvent(vp, &move);
    QTest::mouseRelease(vp, Qt::LeftButton, {}, from + QPoint(0, 25));
    QCOMPARE(drags, 1);
    QCOMPARE(dragged, QList<int>({1, 4}));
    QCOMPARE(list_->selectedRows(), QList<int>({1, 4}));

    // A press and release without a move picks that row alone.
    QTest::mouseClick(vp, Qt::LeftButton, {}, rowPoint(report, 1));
    QCOMPARE(list_->selectedRows(), QList<int>({1}));
    QCOMPARE(drags, 1);

    QVERIFY(!vp->acceptDrops());
    QVERIFY(!list_->iconView()->viewport()->acceptDrops());
  }

  void columnWidthsSurviveRebuilds() {
    makeList(3);
    const QList<int> widths = {300, 200, 70, 45, 300};
    for (int c = 0; c < 5; ++c) list_->setColumnWidth(c, widths[c]);
    showAndPaint();
    list_->header()->resizeSection(1, 123);  // as the user drags the divider
    fill(model_, 5);
    for (int c = 0; c < 5; ++c) QCOMPARE(list_->columnWidth(c), c == 1 ? 123 : widths[c]);
  }
};

QTEST_MAIN(TestXeListView)
#include "tst_xelistview.moc"
