#include <QAction>
#include <QClipboard>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "components/XeListView.h"
#include "components/XeStatusBar.h"
#include "editing/AddItemDialog.h"
#include "editing/LinkExchange.h"
#include "editing/LinkMime.h"
#include "interchange/BookmarkFile.h"
#include "mainwindow/EditingHost.h"
#include "mainwindow/TreeLinksView.h"
#include "support/Files.h"
#include "support/MainWindowFixture.h"

using namespace vorlix;
using namespace vorlix::test;

namespace {

const QStringList kSample = {"Favorites\\A\\", "Favorites\\A\\x|http://x.example",
                             "Favorites\\News|http://news.example"};

QStringList names(const LinkList& list) {
  QStringList out;
  for (const LinkRecord& r : list) out << fromAnsi(r.fullName());
  return out;
}

// The enter, move and drop events of a real drag from another program,
// which offers to move or copy. True when the drop was taken; it must be
// taken as a copy, so the other program keeps what it offered.
bool dropAt(QWidget* viewport, const QPoint& p, const QMimeData* data) {
  const Qt::DropActions offered = Qt::MoveAction | Qt::CopyAction;
  QDragEnterEvent enter(p, offered, data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(viewport, &enter);
  if (!enter.isAccepted()) return false;
  QDragMoveEvent move(p, offered, data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(viewport, &move);
  QDropEvent drop(QPointF(p), offered, data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(viewport, &drop);
  return drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
}

// The import's and export's report on the status bar.
QString statusText(TFMainXeVorlix& w) {
  auto* label = w.XeStatusBar->findChild<QLabel*>(QStringLiteral("BookmarkFileStatus"));
  return label && label->isVisible() ? label->text() : QStringLiteral("(no label)");
}

QMimeData* foreignLinks(const QByteArray& mozUrl) {
  auto* data = new QMimeData;
  data->setData(kNetscapeUrlFormat, mozUrl);
  return data;
}

// Answers the Add Url dialog once it shows: notes its fields and clicks Ok.
QStringList answerAddDialog(TFMainXeVorlix& w, const std::function<void()>& open) {
  QStringList seen;
  QTimer poll;
  poll.setInterval(10);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (!w.FAddItem->isVisible()) return;
    poll.stop();
    seen << w.FAddItem->EditName->text() << w.FAddItem->EditDescription->text();
    w.FAddItem->BOk->click();
  });
  poll.start();
  open();
  // A drop opens the dialog once the drop itself has ended.
  for (int i = 0; i < 500 && seen.isEmpty(); ++i) QTest::qWait(10);
  return seen;
}

}  // namespace

class TestBrowserLinks : public QObject {
  Q_OBJECT

 private slots:
  void importReplacesTheDatabaseAsOneStep() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    const QString file = f.home.path(QStringLiteral("bookmarks.html"));
    writeFile(file,
              "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n"
              "<DT><H3>Dev</H3>\n<DL><p>\n<DT><A HREF=\"http://d/\">D \xE6\x97\xA5</A>\n"
              "</DL><p>\n<DT><A HREF=\"http://r/\">Root</A>\n</DL>\n");
    QVERIFY(w.FavoritesLinksfromNetscape1->isEnabled());
    markDirty(w);
    const QStringList old = names(w.links());
    // Added by default, in a new folder, keeping every record there was.
    f.prompts.answers = {Answer::No};  // do not save first
    f.desktop.openNames = {file};
    w.FavoritesLinksfromNetscape1->trigger();
    QCOMPARE(f.prompts.asked.back().preferred, std::optional(Answer::Yes));
    QVERIFY(f.prompts.lastText().contains(QStringLiteral("'Imported bookmarks'")));
    QCOMPARE(names(w.links()), old + QStringList({"Favorites\\Imported bookmarks\\",
                                                  "Favorites\\Imported bookmarks\\Dev\\",
                                                  "Favorites\\Imported bookmarks\\Dev\\D \u65E5",
                                                  "Favorites\\Imported bookmarks\\Root"}));
    // A second one gets a folder of its own.
    f.desktop.openNames = {file};
    f.prompts.answers = {Answer::No};
    w.FavoritesLinksfromNetscape1->trigger();
    QVERIFY(w.links().indexOf("Favorites\\Imported bookmarks (2)\\Root") >= 0);
    w.document().undo();
    w.document().undo();
    QCOMPARE(names(w.links()), old);

    // Or replacing the content.
    f.prompts.answers = {Answer::No, Answer::No};  // do not save first; replace
    f.desktop.openNames = {file};
    const QString caption = w.windowTitle();
    w.FavoritesLinksfromNetscape1->trigger();
    QCOMPARE(f.prompts.asked[f.prompts.asked.size() - 2].text,
             QStringLiteral("Save the new modification ?"));
    QCOMPARE(names(w.links()),
             QStringList({"Favorites\\Dev\\", "Favorites\\Dev\\D \u65E5", "Favorites\\Root"}));
    QCOMPARE(w.fileName(), f.dbPath());
    QCOMPARE(w.windowTitle(), caption);
    QVERIFY(w.dirty());
    QCOMPARE(f.captions(), QStringList({"Dev", "Root"}));
    QCOMPARE(statusText(w), QStringLiteral("Imported 2 links and 1 folders."));
    // One step takes it all back.
    w.document().undo();
    QCOMPARE(names(w.links()),
             QStringList({"Favorites\\A\\", "Favorites\\A\\x", "Favorites\\News"}));

    // Cancel in the save question or the file dialog changes nothing; a
    // file that is no bookmark file is refused by name.
    f.prompts.answers = {Answer::Cancel};
    f.desktop.openNames = {file};
    w.FavoritesLinksfromNetscape1->trigger();
    QCOMPARE(f.desktop.openNames.size(), size_t(1));
    const QString notes = f.home.path(QStringLiteral("notes.html"));
    writeFile(notes, "just text");
    markClean(w);
    f.desktop.openNames = {notes};
    const size_t steps = w.document().history().count();
    w.FavoritesLinksfromNetscape1->trigger();
    QCOMPARE(f.prompts.lastText(), "'" + notes + "' is not a bookmark file.");
    QCOMPARE(w.document().history().count(), steps);
    QVERIFY(!w.dirty());
  }

  void exportWritesTheWholeDatabase() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    QVERIFY(w.Export1->isEnabled());
    const QString out = f.home.path(QStringLiteral("out/bookmarks"));
    f.desktop.saveNames = {out};
    w.Export1->trigger();
    QCOMPARE(readFile(out + ".html"), FormatBookmarks(w.links()));
    QVERIFY(!w.dirty());
    QCOMPARE(statusText(w), QStringLiteral("Exported 2 links to bookmarks.html."));
  }

  void copyGoesToTheSystemClipboardAndPastesAsOwnRecords() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    QGuiApplication::clipboard()->clear();
    w.ListLinks->activeView()->setFocus();
    w.focusListRow(1);  // News
    w.ECopy->trigger();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data);
    QCOMPARE(LinksFromMime(*data), std::vector<ForeignLink>({{"http://news.example", "News"}}));
    QCOMPARE(data->text(), QStringLiteral("http://news.example\n"));
    // Pasting our own copy follows the paste rules: into A, then into the
    // root again, which is the folder it came from.
    w.TreeLinks->setFocus();
    w.TreeLinks->setCurrentIndex(w.treeModel().indexFor(childNamed(w.treeModel().root(), "A")));
    w.ListLinks->activeView()->setFocus();
    w.EPaste->trigger();
    QVERIFY(names(w.links()).contains("Favorites\\A\\News"));
    QVERIFY(!w.FAddItem->isVisible());
  }

  void pasteOfForeignLinks() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    QGuiApplication::clipboard()->clear();
    QVERIFY(!w.EPaste->isEnabled());
    QGuiApplication::clipboard()->setMimeData(
        foreignLinks("http://one/\nNews\nhttp://two/\nNe/ws\nhttps://three.org/\n"));
    QVERIFY(w.EPaste->isEnabled());
    w.ListLinks->activeView()->setFocus();
    const size_t steps = w.document().history().count();
    w.EPaste->trigger();
    QCOMPARE(names(w.links()),
             QStringList({"Favorites\\A\\", "Favorites\\A\\x", "Favorites\\News",
                          "Favorites\\News (2)", "Favorites\\Ne/ws", "Favorites\\three.org"}));
    QCOMPARE(w.document().history().count(), steps + 1);
    QVERIFY(f.captions().contains("News (2)"));

    // One link: the Add Url dialog, filled in, adding to the current folder.
    QGuiApplication::clipboard()->setMimeData(foreignLinks("http://single/\nSingle"));
    const QStringList seen = answerAddDialog(w, [&] { w.EPaste->trigger(); });
    QCOMPARE(seen, QStringList({"http://single/", "Single"}));
    QVERIFY(names(w.links()).contains("Favorites\\Single"));
  }

  void dropsOfForeignLinksOnTreeAndList() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    std::unique_ptr<QMimeData> two(foreignLinks("http://1/\nOne\nhttp://2/\nTwo"));
    FolderNode* a = childNamed(w.treeModel().root(), "A");
    const QPoint onA = w.TreeLinks->visualRect(w.treeModel().indexFor(a)).center();
    QVERIFY(dropAt(w.TreeLinks->viewport(), onA, two.get()));
    two.reset();  // the data is gone once the drop has ended
    QTRY_VERIFY(names(w.links()).contains("Favorites\\A\\One"));
    QVERIFY(names(w.links()).contains("Favorites\\A\\Two"));

    // On the list: into the folder it shows, through the dialog for one.
    QWidget* listPort = w.ListLinks->activeView()->viewport();
    std::unique_ptr<QMimeData> one(foreignLinks("http://3/\nThree"));
    QStringList seen = answerAddDialog(w, [&] { QVERIFY(dropAt(listPort, {5, 5}, one.get())); });
    QCOMPARE(seen, QStringList({"http://3/", "Three"}));
    QVERIFY(names(w.links()).contains("Favorites\\Three"));

    // One link on a tree folder: the dialog adds it to that folder.
    std::unique_ptr<QMimeData> four(foreignLinks("http://4/\nFour"));
    FolderNode* folderA = childNamed(w.treeModel().root(), "A");
    const QPoint atA = w.TreeLinks->visualRect(w.treeModel().indexFor(folderA)).center();
    seen = answerAddDialog(w, [&] { QVERIFY(dropAt(w.TreeLinks->viewport(), atA, four.get())); });
    QCOMPARE(seen, QStringList({"http://4/", "Four"}));
    QVERIFY(names(w.links()).contains("Favorites\\A\\Four"));

    // The list still refuses its own rows, and plain text that is no link.
    std::unique_ptr<QMimeData> rows(w.ListLinksStartDrag());
    QVERIFY(!dropAt(listPort, {5, 5}, rows.get()));
    QMimeData prose;
    prose.setText(QStringLiteral("hello"));
    QVERIFY(!dropAt(listPort, {5, 5}, &prose));
  }

  void draggedRowsCarryTheirLinks() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    w.ListLinks->activeView()->setFocus();
    w.focusListRow(1);
    std::unique_ptr<QMimeData> data(w.ListLinksStartDrag());
    LinkExchange::addLinksOf(*data, w.editor()->dragDrop.dragList().records);
    QCOMPARE(LinksFromMime(*data), std::vector<ForeignLink>({{"http://news.example", "News"}}));
    QCOMPARE(data->data(kUriListFormat), QByteArray("http://news.example\r\n"));
  }
};

QTEST_MAIN(TestBrowserLinks)
#include "tst_browserlinks.moc"
