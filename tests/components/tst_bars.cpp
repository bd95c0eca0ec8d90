#include <QItemSelectionModel>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QProgressBar>
#include <QStandardItemModel>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "components/AboutBox.h"
#include "components/WidgetPrompts.h"
#include "components/XeListView.h"
#include "components/XeStaticText.h"
#include "components/XeStatusBar.h"

using namespace vorlix;

static void initIcons() { Q_INIT_RESOURCE(vorlix); }

class TestBars : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { initIcons(); }

  void progressBarFollowsTheFirstPanel() {
    TXeStatusBar bar;
    bar.setPanelWidths({201, 50});
    bar.resize(600, 22);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    QCOMPARE(bar.panelRect(0), QRect(0, 0, 201, 22));
    QCOMPARE(bar.panelRect(1), QRect(201, 0, 399, 22));  // the last one takes the rest
    QVERIFY(bar.panelRect(2).isEmpty());

    auto* prgbar = new QProgressBar;
    bar.placeOverPanel(prgbar, 0);
    QCOMPARE(prgbar->parentWidget(), &bar);
    QVERIFY(bar.panelRect(0).contains(prgbar->geometry()));
    QVERIFY(prgbar->width() > 190);

    bar.setPanelWidths({320, 50});
    QVERIFY(prgbar->width() > 310);
    QVERIFY(bar.panelRect(0).contains(prgbar->geometry()));
    bar.resize(500, 30);
    QCoreApplication::processEvents();
    QVERIFY(bar.panelRect(0).contains(prgbar->geometry()));
    QVERIFY(prgbar->height() > 20);  // stretches with the panel's height

    bar.placeOverPanel(prgbar, 1);  // moved, not placed twice
    QVERIFY(bar.panelRect(1).contains(prgbar->geometry()));
    QVERIFY(bar.currentMessage().isEmpty());  // the panels carry no text

    delete prgbar;  // a deleted child is simply forgotten
    bar.resize(400, 30);
    QCoreApplication::processEvents();
  }

  void aNoticeHasAPanelOfItsOwnAndGoesAway() {
    TXeStatusBar bar;
    bar.setPanelWidths({201, 90, 50});
    bar.setNoticePanel(2);
    bar.resize(600, 22);
    bar.show();
    auto* count = new QLabel(QStringLiteral("12 items"));
    bar.placeOverPanel(count, 1);
    bar.showNotice(QStringLiteral("Exported 14 links to b.html."), 50);
    const auto* label = bar.findChild<QLabel*>(QStringLiteral("StatusNotice"));
    QVERIFY(label && label->isVisible());
    QCOMPARE(label->text(), QStringLiteral("Exported 14 links to b.html."));
    QVERIFY(!label->geometry().intersects(count->geometry()));
    QVERIFY(bar.panelRect(2).contains(label->geometry()));
    QTRY_VERIFY(bar.notice().isEmpty());
    QCOMPARE(count->text(), QStringLiteral("12 items"));
  }

  void staticTextIsPlainAndKeepsClearOfItsChildren() {
    TXeStaticText path(" Favorites\\<b>News</b>\\");
    QCOMPARE(path.textFormat(), Qt::PlainText);
    QCOMPARE(path.height(), TXeStaticText::kHeaderHeight);
    path.resize(400, TXeStaticText::kHeaderHeight);
    path.show();
    QVERIFY(QTest::qWaitForWindowExposed(&path));

    QToolButton* preview = path.addEndButton(QIcon(), "Show/Hide preview browser", Qt::AlignRight);
    QCOMPARE(preview->toolTip(), QString("Show/Hide preview browser"));
    QWidget* bar = preview->parentWidget();
    QCOMPARE(bar->parentWidget(), &path);
    QCOMPARE(bar->geometry().right(), path.width() - 1);
    QCOMPARE(bar->height(), path.height());
    QCOMPARE(path.contentsMargins().right(), bar->width());

    // The folder header moved in at the left end, as when the pane is hidden.
    TXeStaticText folders("Folders");
    folders.setFixedWidth(60);
    path.attach(&folders, Qt::AlignLeft, 60);
    QCOMPARE(folders.geometry(), QRect(0, 0, 60, path.height()));
    QCOMPARE(path.contentsMargins().left(), 60);

    path.resize(300, TXeStaticText::kHeaderHeight);
    QCoreApplication::processEvents();
    QCOMPARE(bar->geometry().right(), 299);
    QCOMPARE(folders.x(), 0);

    // Taken back out, the text gets its room back.
    folders.setParent(nullptr);
    QCOMPARE(path.contentsMargins().left(), 0);
    QCOMPARE(path.contentsMargins().right(), bar->width());
    path.detach(bar);
    QCOMPARE(path.contentsMargins().right(), 0);
  }

  // With VORLIX_SNAPSHOT_DIR set, saves pictures of the widgets there, for a
  // look by eye.
  void widgetSnapshots() {
    const QString dir = qEnvironmentVariable("VORLIX_SNAPSHOT_DIR");
    if (dir.isEmpty()) QSKIP("VORLIX_SNAPSHOT_DIR not set");
    QStandardItemModel model;
    model.setHorizontalHeaderLabels({"Description", "URL", "Date", "Type", "Path"});
    const QStringList names = {"..",     "News",
                               "Travel", "Qt documentation",
                               "Debian", "A long description that does not fit",
                               "Weather"};
    for (int r = 0; r < names.size(); ++r) {
      const bool folder = r < 3;
      QList<QStandardItem*> row;
      row << new QStandardItem(names[r])
          << new QStandardItem(folder ? "" : "https://example.org/" + names[r].toLower())
          << new QStandardItem(r == 0 ? "" : "12/03/2024")
          << new QStandardItem(folder ? "Folder" : "Url") << new QStandardItem("Favorites\\");
      row[0]->setData(folder ? int(imgFolder) : int(imgLink), TXeListView::kDefaultImageIndexRole);
      model.appendRow(row);
    }
    QWidget w;
    auto* lay = new QVBoxLayout(&w);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    auto* header = new TXeStaticText(" Favorites\\News\\");
    header->addEndButton(ImageList::commandIcon("preview"), "Show/Hide preview browser",
                         Qt::AlignRight);
    auto* folders = new TXeStaticText("Folders");
    folders->addEndButton(ImageList::paneToggleImages().icon(imgPaneHidden), "", Qt::AlignRight);
    header->attach(folders, Qt::AlignLeft, 80);
    auto* list = new TXeListView;
    list->setSmallImages(ImageList::smallImages());
    list->setLargeImages(ImageList::largeImages());
    list->setColumnImageIndexUp(imgSortUp);
    list->setColumnImageIndexDown(imgSortDown);
    list->setModel(&model);
    const QList<int> widths = {200, 170, 70, 45, 120};
    for (int c = 0; c < 5; ++c) list->setColumnWidth(c, widths[c]);
    list->setColumnAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    auto* status = new TXeStatusBar;
    status->setPanelWidths({201, 50});
    auto* prgbar = new QProgressBar;
    prgbar->setValue(40);
    status->placeOverPanel(prgbar, 0);
    lay->addWidget(header);
    lay->addWidget(list);
    lay->addWidget(status);
    w.resize(640, 260);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    list->MoveFocusTo(3);
    list->selectionModel()->select(model.index(5, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    list->ColClick(2);
    QCoreApplication::processEvents();
    QVERIFY(w.grab().save(dir + "/report.png"));
    list->setViewStyle(vsIcon);
    QCoreApplication::processEvents();
    QVERIFY(w.grab().save(dir + "/icons-view.png"));
    list->setViewStyle(vsList);
    QCoreApplication::processEvents();
    QVERIFY(w.grab().save(dir + "/list-view.png"));

    TFAbout about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QVERIFY(about.grab().save(dir + "/about.png"));
    about.hide();

    QMessageBox box;
    box.setWindowTitle("Vorlix");
    WidgetPrompts::setUpBox(box, MsgType::Warning, Buttons::YesNoNoToAllYesToAll,
                            "The Folder already contains a folder named 'News'.");
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QVERIFY(box.grab().save(dir + "/message.png"));
  }
};

QTEST_MAIN(TestBars)
#include "tst_bars.moc"
