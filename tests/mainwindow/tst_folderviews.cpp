// The tree and the list as a user drives them: clicks, double-clicks, the
// find box, column sorting and the view commands.
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include "components/ImageList.h"
#include "components/XeHeaderView.h"
#include "components/XeListView.h"
#include "components/XeStaticText.h"
#include "components/XeStatusBar.h"
#include "document/DocumentEdit.h"
#include "mainwindow/TreeLinksView.h"
#include "mainwindow/WindowParts.h"
#include "store/DosDate.h"
#include "store/ListRows.h"
#include "support/MainWindowFixture.h"
#include "support/Records.h"

using namespace vorlix;
using namespace vorlix::test;

namespace {

const QStringList kSample = {"Favorites\\News\\",
                             "Favorites\\News\\Local\\",
                             "Favorites\\News\\Local\\City|http://city.example",
                             "Favorites\\News\\Daily|http://daily.example",
                             "Favorites\\Tech\\",
                             "Favorites\\Tech\\Qt docs|https://doc.qt.io",
                             "Favorites\\Debian|https://debian.org",
                             "Favorites\\Abc news|https://abc.example"};

QPoint centreOf(TreeLinksView* tree, FolderNode* node) {
  return tree->visualRect(tree->folderModel()->indexFor(node)).center();
}

QPoint rowCentre(TXeListView* list, int row) {
  QAbstractItemView* v = list->activeView();
  return v->visualRect(v->model()->index(row, 0)).center();
}

}  // namespace

class TestFolderViews : public QObject {
  Q_OBJECT

 private slots:
  void clickTreeThenWalkTheList() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    QCOMPARE(f.captions(), QStringList({"News", "Tech", "Debian", "Abc news"}));
    FolderNode* root = w.view().tree().root();
    FolderNode* news = childNamed(root, "News");
    QVERIFY(news);
    QVERIFY(root->expanded && !news->expanded);

    QTest::mouseClick(part<TreeLinksView>(w, "TreeLinks")->viewport(), Qt::LeftButton, {},
                      centreOf(part<TreeLinksView>(w, "TreeLinks"), news));
    QCOMPARE(part<TXeStaticText>(w, "TPath")->text(), QStringLiteral(" Favorites\\News\\"));
    QCOMPARE(f.captions(), QStringList({"..", "Local", "Daily"}));
    QCOMPARE(w.view().tree().selected(), news);

    // Double-click the folder row Local: enter it, the tree follows.
    QAbstractItemView* view = part<TXeListView>(w, "ListLinks")->activeView();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      rowCentre(part<TXeListView>(w, "ListLinks"), 1));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {},
                       rowCentre(part<TXeListView>(w, "ListLinks"), 1));
    QCOMPARE(part<TXeStaticText>(w, "TPath")->text(), QStringLiteral(" Favorites\\News\\Local\\"));
    QCOMPARE(f.captions(), QStringList({"..", "City"}));
    QCOMPARE(part<TXeListView>(w, "ListLinks")->currentRow(), 0);  // the ".." row has the focus
    QCOMPARE(FolderTreeModel::NodePath(w.view().tree().selected()),
             AnsiString("Favorites\\News\\Local\\"));

    // Double-click "..": back in News with the folder just left focused.
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {},
                       rowCentre(part<TXeListView>(w, "ListLinks"), 0));
    QCOMPARE(part<TXeStaticText>(w, "TPath")->text(), QStringLiteral(" Favorites\\News\\"));
    QCOMPARE(f.captions(), QStringList({"..", "Local", "Daily"}));
    QCOMPARE(part<TXeListView>(w, "ListLinks")->currentRow(), 1);
    QCOMPARE(FolderTreeModel::NodePath(w.view().tree().selected()),
             AnsiString("Favorites\\News\\Local\\"));

    // Up again, then a click on the root always shows the root.
    w.view().focusRow(0);
    w.view().openCurrentRow(false);
    QCOMPARE(w.view().position().currentPath, AnsiString("Favorites\\"));
    QCOMPARE(f.captions().value(part<TXeListView>(w, "ListLinks")->currentRow()),
             QStringLiteral("News"));
    QTest::mouseClick(part<TreeLinksView>(w, "TreeLinks")->viewport(), Qt::LeftButton, {},
                      centreOf(part<TreeLinksView>(w, "TreeLinks"), root));
    QCOMPARE(part<TXeStaticText>(w, "TPath")->text(), QStringLiteral(" Favorites\\"));
    QCOMPARE(f.captions().size(), 4);
  }

  void openingALinkUsesTheBrowser() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    part<QToolButton>(w, "ToolButton3")
        ->click();         // the preview pane off: the list's links go to the browser
    w.view().focusRow(2);  // Debian
    w.view().openCurrentRow(false);
    QCOMPARE(f.desktop.openedUrls, QStringList({"https://debian.org"}));
    QVERIFY(part<TXeStatusBar>(w, "XeStatusBar")->currentMessage().isEmpty());
  }

  void aLinkNoProgramOpensSaysSoInTheStatusBar() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    f.desktop.urlsOpen = false;
    part<QToolButton>(w, "ToolButton3")->click();  // the preview pane off: links go to the browser
    const size_t asked = f.prompts.asked.size();
    QAbstractItemView* view = part<TXeListView>(w, "ListLinks")->activeView();
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {},
                       rowCentre(part<TXeListView>(w, "ListLinks"), 2));
    QCOMPARE(f.desktop.openedUrls, QStringList({"https://debian.org"}));
    QCOMPARE(part<TXeStatusBar>(w, "XeStatusBar")->currentMessage(),
             QStringLiteral("No program could open https://debian.org"));
    QCOMPARE(f.prompts.asked.size(), asked);  // no message box
    // The line spans the bar: the panels' controls step aside until it goes.
    QVERIFY(!part<QProgressBar>(w, "prgbar")->isVisible());
    part<TXeStatusBar>(w, "XeStatusBar")->clearMessage();
    QVERIFY(part<QProgressBar>(w, "prgbar")->isVisible());

    // A URL that is never handed to a program gets the same line.
    appendRecord(w, LinkRecord::make("Favorites\\Dash", "-v", 0x58E96000u, kKindUrl));
    w.view().rebuildList();
    w.view().focusRow(int(f.captions().indexOf("Dash")));
    w.view().openCurrentRow(false);
    QCOMPARE(f.desktop.openedUrls.size(), 1);
    QCOMPARE(part<TXeStatusBar>(w, "XeStatusBar")->currentMessage(),
             QStringLiteral("No program could open -v"));
  }

  void findBoxFiltersBelowTheCurrentFolder() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    part<QLineEdit>(w, "EditFind")->setFocus();
    QCoreApplication::processEvents();
    QTest::keyClicks(part<QLineEdit>(w, "EditFind"), "ne");
    QCOMPARE(f.captions(), QStringList({"News", "Tech", "Debian", "Abc news"}));  // unchanged
    QTest::keyClicks(part<QLineEdit>(w, "EditFind"), "w");                        // "new": Abc news
    QCOMPARE(f.captions(), QStringList({"Abc news"}));
    QVERIFY(part<QLineEdit>(w, "EditFind")->styleSheet().contains("196, 225, 255"));
    part<QLineEdit>(w, "EditFind")->setText("EXAMPLE");  // URLs, any letter case, every folder
    QCOMPARE(f.captions(), QStringList({"City", "Daily", "Abc news"}));
    QCOMPARE(w.view().list().rows()[0].path, AnsiString("Favorites\\News\\Local\\"));
    QTest::keyClick(part<QLineEdit>(w, "EditFind"), Qt::Key_Backspace);
    part<QLineEdit>(w, "EditFind")->setText("EX");  // two characters keep the results
    QCOMPARE(f.captions().size(), 3);
    part<QLineEdit>(w, "EditFind")->clear();
    QCOMPARE(f.captions(), QStringList({"News", "Tech", "Debian", "Abc news"}));
    part<TXeListView>(w, "ListLinks")->activeView()->setFocus();
    QCoreApplication::processEvents();
    QVERIFY(part<QLineEdit>(w, "EditFind")->styleSheet().isEmpty());

    // Esc empties the box and goes back to the folder, in the list.
    part<QLineEdit>(w, "EditFind")->setFocus();
    QCoreApplication::processEvents();
    QTest::keyClicks(part<QLineEdit>(w, "EditFind"), "exam");
    QCOMPARE(f.captions(), QStringList({"City", "Daily", "Abc news"}));
    QTest::keyClick(part<QLineEdit>(w, "EditFind"), Qt::Key_Escape);
    QVERIFY(part<QLineEdit>(w, "EditFind")->text().isEmpty());
    QVERIFY(w.keyboardFocusIn(part<TXeListView>(w, "ListLinks")));
    QCOMPARE(f.captions(), QStringList({"News", "Tech", "Debian", "Abc news"}));
  }

  void f2RenamesInTheListAsInTheTree() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    const auto renameRow = [&](int row, const QString& text) {
      part<TXeListView>(w, "ListLinks")->activeView()->setFocus();
      QCoreApplication::processEvents();
      w.view().focusRow(row);
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
      auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
      QVERIFY(editor);
      // The editor's keys edit its text: Backspace neither goes up nor
      // deletes, and Ctrl+A selects the text, not the rows.
      QTest::keyClick(editor, Qt::Key_End);
      QTest::keyClick(editor, Qt::Key_Backspace);
      QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
      QTest::keyClicks(editor, text);
      QTest::keyClick(editor, Qt::Key_Return);
      QCoreApplication::processEvents();
    };
    renameRow(0, "Press");  // the folder News, with everything in it
    QTRY_VERIFY(describe(w.view().document().links())
                    .contains("Favorites\\Press\\Daily|http://daily.example|Url"));
    QCOMPARE(w.view().position().currentPath, AnsiString("Favorites\\"));
    QVERIFY(childNamed(w.view().tree().root(), "Press"));
    const int debian = int(f.captions().indexOf("Debian"));
    renameRow(debian, "Debian GNU");  // a link's description; its URL stays
    QTRY_VERIFY(describe(w.view().document().links())
                    .contains("Favorites\\Debian GNU|https://debian.org|Url"));
    QVERIFY(f.captions().contains("Debian GNU"));
    QCOMPARE(w.view().document().links().size(), size_t(8));
    // Undo takes the rename back as one step.
    w.view().document().undo();
    QVERIFY(
        describe(w.view().document().links()).contains("Favorites\\Debian|https://debian.org|Url"));
  }

  void statusBarCountsRowsOrHits() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    auto* count = part<TXeStatusBar>(w, "XeStatusBar")->findChild<QLabel*>("ListCount");
    QVERIFY(count);
    QVERIFY(
        part<TXeStatusBar>(w, "XeStatusBar")->panelRect(1).contains(count->geometry().center()));
    QCOMPARE(count->text(), QString("4 items"));
    QVERIFY(!count->accessibleName().isEmpty());

    // ".." is not counted; an empty folder lists nothing.
    QTest::mouseClick(
        part<TreeLinksView>(w, "TreeLinks")->viewport(), Qt::LeftButton, {},
        centreOf(part<TreeLinksView>(w, "TreeLinks"), childNamed(w.view().tree().root(), "News")));
    QCOMPARE(f.captions(), QStringList({"..", "Local", "Daily"}));
    QCOMPARE(count->text(), QString("2 items"));

    part<QLineEdit>(w, "EditFind")->setFocus();
    QCoreApplication::processEvents();
    part<QLineEdit>(w, "EditFind")->setText("exam");
    QCOMPARE(f.captions(), QStringList({"City", "Daily"}));
    QCOMPARE(count->text(), QString("2 hits"));
    part<QLineEdit>(w, "EditFind")->setText("city");
    QCOMPARE(count->text(), QString("1 hit"));
    part<QLineEdit>(w, "EditFind")->setText("ci");  // the hits stay listed
    QCOMPARE(count->text(), QString("1 hit"));
    part<QLineEdit>(w, "EditFind")->setText("zzz");
    QCOMPARE(count->text(), QString("0 hits"));
    // A rebuild that is no find's counts rows again (flat, as the box has
    // the focus).
    part<QToolButton>(w, "BRefresh")->click();
    QCOMPARE(f.captions(), QStringList({"City", "Daily"}));
    QCOMPARE(count->text(), QString("2 items"));
    part<QLineEdit>(w, "EditFind")->clear();
    QCOMPARE(count->text(), QString("2 items"));

    // A deleted row leaves the count.
    part<TXeListView>(w, "ListLinks")->activeView()->setFocus();
    w.view().focusRow(2);  // Daily
    f.prompts.answers = {Answer::Yes};
    part<QAction>(w, "ECut")->trigger();
    QCOMPARE(count->text(), QString("1 item"));
  }

  void findIsLimitedToTheCurrentFolder() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    QTest::mouseClick(
        part<TreeLinksView>(w, "TreeLinks")->viewport(), Qt::LeftButton, {},
        centreOf(part<TreeLinksView>(w, "TreeLinks"), childNamed(w.view().tree().root(), "News")));
    part<QLineEdit>(w, "EditFind")->setFocus();
    QCoreApplication::processEvents();
    part<QLineEdit>(w, "EditFind")->setText("example");
    QCOMPARE(f.captions(), QStringList({"City", "Daily"}));
  }

  void headerClicksSortLinksWithFoldersOnTop() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    // Give the two root links different dates.
    DocumentEdit edit(w.view().document(), QStringLiteral("Dates"));
    for (size_t i = 0; i < w.view().document().links().size(); ++i) {
      LinkRecord r = w.view().document().links()[i];
      if (r.fullName() == "Favorites\\Debian")
        r.setDateStamp(toDosDateTime(QDateTime(QDate(2020, 1, 1), QTime(1, 0))));
      if (r.fullName() == "Favorites\\Abc news")
        r.setDateStamp(toDosDateTime(QDateTime(QDate(2021, 1, 1), QTime(1, 0))));
      edit.links().replace(i, r);
    }
    edit.commit();
    w.view().rebuildList();
    // In the database's order no column carries an arrow.
    for (int c = 0; c < kListColumnCount; ++c)
      QCOMPARE(part<TXeListView>(w, "ListLinks")->ColumnImage(c), -1);
    QHeaderView* header = part<TXeListView>(w, "ListLinks")->reportView()->horizontalHeader();
    const auto click = [&](int column) {
      const int x = header->sectionViewportPosition(column) + 5;
      QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, 5));
    };
    click(2);  // the first click sorts ascending
    QCOMPARE(part<TXeListView>(w, "ListLinks")->SortDirection(), sdAscending);
    QCOMPARE(f.captions(), QStringList({"News", "Tech", "Debian", "Abc news"}));
    click(2);
    QCOMPARE(f.captions(), QStringList({"News", "Tech", "Abc news", "Debian"}));

    // The chosen sort holds across rebuilds: a folder change and back, an
    // edit, a find; folder rows and ".." stay first.
    click(1);  // URL, ascending: abc.example before debian.org
    QCOMPARE(f.captions(), QStringList({"News", "Tech", "Abc news", "Debian"}));
    QTest::mouseClick(
        part<TreeLinksView>(w, "TreeLinks")->viewport(), Qt::LeftButton, {},
        centreOf(part<TreeLinksView>(w, "TreeLinks"), childNamed(w.view().tree().root(), "News")));
    QCOMPARE(f.captions(), QStringList({"..", "Local", "Daily"}));
    QTest::mouseClick(part<TreeLinksView>(w, "TreeLinks")->viewport(), Qt::LeftButton, {},
                      centreOf(part<TreeLinksView>(w, "TreeLinks"), w.view().tree().root()));
    QCOMPARE(f.captions(), QStringList({"News", "Tech", "Abc news", "Debian"}));
    appendRecord(w, LinkRecord::make("Favorites\\Zed", "http://b.example", 0, kKindUrl));
    w.view().rebuildList();
    QCOMPARE(f.captions(), QStringList({"News", "Tech", "Zed", "Abc news", "Debian"}));
    QCOMPARE(part<TXeListView>(w, "ListLinks")->ColumnImage(1), int(imgSortDown));
    part<QLineEdit>(w, "EditFind")->setFocus();
    QCoreApplication::processEvents();
    part<QLineEdit>(w, "EditFind")->setText("example");
    QCOMPARE(f.captions(), QStringList({"Zed", "City", "Daily", "Abc news"}));
  }

  void classicStyleAndViewModes() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    part<QToolButton>(w, "ToolButton12")->click();
    QVERIFY(part<QAction>(w, "ClassicStyle1")->isChecked());
    QCOMPARE(f.captions(), QStringList({"City", "Daily", "Qt docs", "Debian", "Abc news"}));
    part<QAction>(w, "ExplorerStyle1")->trigger();
    QVERIFY(part<QToolButton>(w, "ToolButton11")->isChecked());
    QCOMPARE(f.captions().size(), 4);

    part<QAction>(w, "LargeIcons1")->trigger();
    QCOMPARE(part<TXeListView>(w, "ListLinks")->viewStyle(), vsIcon);
    QVERIFY(part<QToolButton>(w, "ToolButton6")->isChecked());
    QCOMPARE(f.captions().size(), 4);
    part<QToolButton>(w, "ToolButton10")->click();
    QCOMPARE(part<TXeListView>(w, "ListLinks")->viewStyle(), vsReport);
    QVERIFY(part<QAction>(w, "Details1")->isChecked());
  }

  void treeFollowsTheListWithoutMovingTheFolder() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    QAbstractItemView* view = part<TXeListView>(w, "ListLinks")->activeView();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      rowCentre(part<TXeListView>(w, "ListLinks"), 1));  // Tech
    QCOMPARE(FolderTreeModel::NodePath(w.view().tree().selected()),
             AnsiString("Favorites\\Tech\\"));
    QCOMPARE(w.view().position().currentPath, AnsiString("Favorites\\"));
    QCOMPARE(f.captions().size(), 4);
  }

  // With VORLIX_SNAPSHOT_DIR set, saves pictures of the window to look at.
  void snapshots() {
    const QString dir = qEnvironmentVariable("VORLIX_SNAPSHOT_DIR");
    if (dir.isEmpty()) QSKIP("VORLIX_SNAPSHOT_DIR not set");
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    QTest::mouseClick(
        part<TreeLinksView>(w, "TreeLinks")->viewport(), Qt::LeftButton, {},
        centreOf(part<TreeLinksView>(w, "TreeLinks"), childNamed(w.view().tree().root(), "News")));
    w.grab().save(dir + "/window-news.png");
    part<QToolButton>(w, "ToolButton2")->click();
    part<QAction>(w, "ClassicStyle1")->trigger();
    QCoreApplication::processEvents();
    w.grab().save(dir + "/window-classic-hidden-tree.png");
    part<QToolButton>(w, "ToolButton2")->click();
    part<QAction>(w, "ExplorerStyle1")->trigger();
    part<QAction>(w, "LargeIcons1")->trigger();
    QCoreApplication::processEvents();
    w.grab().save(dir + "/window-icons.png");
  }
};

QTEST_MAIN(TestFolderViews)
#include "tst_folderviews.moc"
