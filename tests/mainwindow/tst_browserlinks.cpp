#include <QAction>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
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
#include "mainwindow/BrowserImport.h"
#include "mainwindow/EditingHost.h"
#include "mainwindow/SystemDesktop.h"
#include "mainwindow/TreeLinksView.h"
#include "mainwindow/WindowParts.h"
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
  auto* label =
      part<TXeStatusBar>(w, "XeStatusBar")->findChild<QLabel*>(QStringLiteral("StatusNotice"));
  return label && label->isVisible() ? label->text() : QStringLiteral("(no label)");
}

QMimeData* foreignLinks(const QByteArray& mozUrl) {
  auto* data = new QMimeData;
  data->setData(kNetscapeUrlFormat, mozUrl);
  return data;
}

// Clipboard data that counts how often a format's data is fetched.
class CountingMime : public QMimeData {
 public:
  explicit CountingMime(int& fetched) : fetched_(fetched) {}

 protected:
  QVariant retrieveData(const QString& format, QMetaType type) const override {
    if (format != QLatin1String(kOwnCopyFormat)) ++fetched_;
    return QMimeData::retrieveData(format, type);
  }

 private:
  int& fetched_;
};

// Answers the Add Url dialog once it shows: notes its fields and clicks Ok.
QStringList answerAddDialog(TFMainXeVorlix& w, const std::function<void()>& open) {
  QStringList seen;
  QTimer poll;
  poll.setInterval(10);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (!part<TFAddItem>(w, "FAddItem")->isVisible()) return;
    poll.stop();
    seen << part<TFAddItem>(w, "FAddItem")->EditName->text()
         << part<TFAddItem>(w, "FAddItem")->EditDescription->text();
    part<TFAddItem>(w, "FAddItem")->BOk->click();
  });
  poll.start();
  open();
  // A drop opens the dialog once the drop itself has ended.
  for (int i = 0; i < 500 && seen.isEmpty(); ++i) QTest::qWait(10);
  return seen;
}

// A Firefox profile with the bookmarks of a real Firefox, under `home`.
void installFirefox(const QString& home) {
  writeFile(home + "/.mozilla/firefox/profiles.ini",
            "[Profile0]\nName=default-release\nIsRelative=1\nPath=p\nDefault=1\n");
  QDir().mkpath(home + "/.mozilla/firefox/p");
  QVERIFY(QFile::copy(QFINDTESTDATA("../interchange/data/firefox-places.sqlite"),
                      home + "/.mozilla/firefox/p/places.sqlite"));
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
    QVERIFY(part<QAction>(w, "FavoritesLinksfromNetscape1")->isEnabled());
    markDirty(w);
    const QStringList old = names(w.view().document().links());
    // Added by default, in a new folder, keeping every record there was.
    f.prompts.answers = {Answer::No};  // do not save first
    f.desktop.openNames = {file};
    part<QAction>(w, "FavoritesLinksfromNetscape1")->trigger();
    QCOMPARE(f.prompts.asked.back().preferred, std::optional(Answer::Yes));
    QVERIFY(f.prompts.lastText().contains(QStringLiteral("'Imported bookmarks'")));
    QCOMPARE(names(w.view().document().links()),
             old + QStringList({"Favorites\\Imported bookmarks\\",
                                "Favorites\\Imported bookmarks\\Dev\\",
                                "Favorites\\Imported bookmarks\\Dev\\D \u65E5",
                                "Favorites\\Imported bookmarks\\Root"}));
    // A second one gets a folder of its own.
    f.desktop.openNames = {file};
    f.prompts.answers = {Answer::No};
    part<QAction>(w, "FavoritesLinksfromNetscape1")->trigger();
    QVERIFY(w.view().document().links().indexOf("Favorites\\Imported bookmarks (2)\\Root") >= 0);
    w.view().document().undo();
    w.view().document().undo();
    QCOMPARE(names(w.view().document().links()), old);

    // Or replacing the content.
    f.prompts.answers = {Answer::No, Answer::No};  // do not save first; replace
    f.desktop.openNames = {file};
    const QString caption = w.windowTitle();
    part<QAction>(w, "FavoritesLinksfromNetscape1")->trigger();
    QCOMPARE(f.prompts.asked[f.prompts.asked.size() - 2].text,
             QStringLiteral("Save the new modification ?"));
    QCOMPARE(names(w.view().document().links()),
             QStringList({"Favorites\\Dev\\", "Favorites\\Dev\\D \u65E5", "Favorites\\Root"}));
    QCOMPARE(w.view().document().fileName(), f.dbPath());
    QCOMPARE(w.windowTitle(), caption);
    QVERIFY(w.view().document().isDirty());
    QCOMPARE(f.captions(), QStringList({"Dev", "Root"}));
    QCOMPARE(statusText(w), QStringLiteral("Imported 2 links and 1 folders."));
    // One step takes it all back.
    w.view().document().undo();
    QCOMPARE(names(w.view().document().links()),
             QStringList({"Favorites\\A\\", "Favorites\\A\\x", "Favorites\\News"}));

    // Cancel in the save question or the file dialog changes nothing; a
    // file that is no bookmark file is refused by name.
    f.prompts.answers = {Answer::Cancel};
    f.desktop.openNames = {file};
    part<QAction>(w, "FavoritesLinksfromNetscape1")->trigger();
    QCOMPARE(f.desktop.openNames.size(), size_t(1));
    const QString notes = f.home.path(QStringLiteral("notes.html"));
    writeFile(notes, "just text");
    markClean(w);
    f.desktop.openNames = {notes};
    const size_t steps = w.view().document().history().count();
    part<QAction>(w, "FavoritesLinksfromNetscape1")->trigger();
    QCOMPARE(f.prompts.lastText(), "'" + notes + "' is not a bookmark file.");
    QCOMPARE(w.view().document().history().count(), steps);
    QVERIFY(!w.view().document().isDirty());
  }

  void exportWritesTheWholeDatabase() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    QVERIFY(part<QAction>(w, "Export1")->isEnabled());
    const QString out = f.home.path(QStringLiteral("out/bookmarks"));
    f.desktop.saveNames = {out};
    part<QAction>(w, "Export1")->trigger();
    QCOMPARE(readFile(out + ".html"), FormatBookmarks(w.view().document().links()));
    QVERIFY(!w.view().document().isDirty());
    QCOMPARE(statusText(w), QStringLiteral("Exported 2 links to bookmarks.html."));
    // The notice has a place of its own beside the row count.
    const auto* count =
        part<TXeStatusBar>(w, "XeStatusBar")->findChild<QLabel*>(QStringLiteral("ListCount"));
    const auto* notice =
        part<TXeStatusBar>(w, "XeStatusBar")->findChild<QLabel*>(QStringLiteral("StatusNotice"));
    QVERIFY(count->isVisible());
    QVERIFY(!notice->geometry().intersects(count->geometry()));
    // A name typed without a suffix gets the suffix of the file it is.
    QCOMPARE(DefaultSuffixFor(QString::fromLatin1(kBookmarkFileFilter)), QStringLiteral("html"));
    QCOMPARE(DefaultSuffixFor(QStringLiteral("Link files (*.ldb);;All Files(*.*)")),
             QStringLiteral("ldb"));
  }

  void firstStartNamesTheBrowserFoundAndImportsItsDefaultProfile() {
    MainWindowFixture f;  // no browser yet: the question of the Favorites folder
    QCOMPARE(f.prompts.asked.front().text,
             QStringLiteral("Do you want to import favorites links from Internet Explorer ?"));
    installFirefox(f.home.path());
    f.prompts.answers = {Answer::Yes};
    f.w().FormShow({});
    QCOMPARE(f.prompts.asked[1].text,
             QStringLiteral("Do you want to import favorites links from Firefox ?"));
    // No folder is asked for: the roots come straight under Favorites.
    QVERIFY(f.desktop.folders.empty());
    QCOMPARE(names(f.w().view().document().links()).mid(0, 2),
             QStringList({"Favorites\\Bookmarks Menu\\", "Favorites\\Bookmarks Menu\\Debian"}));
    QCOMPARE(f.w().view().document().links().size(), size_t(10));
    QVERIFY(f.w().view().document().isDirty());
    QVERIFY(f.w().view().document().fileName().isEmpty());
    // What was skipped is told in one box.
    QVERIFY(
        f.prompts.lastText().contains("skipped 1 separators; skipped 1 keyword searches; "
                                      "skipped 2 tags"));
  }

  void importsChosenBrowsersAsOneStepAndRefreshes() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    installFirefox(f.home.path());
    writeFile(f.home.path("config/chromium/Default/Bookmarks"),
              readFile(QFINDTESTDATA("../interchange/data/chromium-Bookmarks.json")));
    auto* commands = w.findChild<BrowserImportCommands*>();
    QVERIFY(commands);
    QStringList offered;
    commands->setChooser([&](const std::vector<BrowserSource>& list, const BrowserSource* pick) {
      for (const BrowserSource& s : list)
        offered << s.browser + '|' + s.profile + '|' + QString::number(s.links) +
                       (&s == pick ? "|preferred" : "");
      return list;
    });
    QVERIFY(part<QMenu>(w, "Import1")->actions().contains(commands->browserAction));
    QCOMPARE(commands->browserAction->text(), "Bookmarks from an Installed Browser...");
    const size_t steps = w.view().document().history().count();
    commands->browserAction->trigger();
    QCOMPARE(offered, QStringList({"Firefox|default-release|6|preferred", "Chromium|Default|4"}));
    QCOMPARE(w.view().document().history().count(), steps + 1);
    QCOMPARE(w.view().document().links().size(), size_t(3 + 11 + 9));
    QVERIFY(names(w.view().document().links())
                .contains("Favorites\\Firefox (default-release)\\Bookmarks Toolbar\\"
                          "On the toolbar"));
    QVERIFY(names(w.view().document().links())
                .contains("Favorites\\Chromium (Default)\\Bookmarks bar\\"));

    // Again: nothing new, and the box says why.
    commands->browserAction->trigger();
    QCOMPARE(w.view().document().links().size(), size_t(3 + 11 + 9));
    QVERIFY(f.prompts.lastText().contains(
        "Imported 0 links and 0 folders; 6 links were already there"));
    w.view().document().undo();
    w.view().document().undo();
    QCOMPARE(names(w.view().document().links()),
             QStringList({"Favorites\\A\\", "Favorites\\A\\x", "Favorites\\News"}));
  }

  void sourceDialogReturnsTheCheckedSources() {
    MainWindowFixture f;
    std::vector<BrowserSource> sources(3);
    const char* names[] = {"Firefox", "Chromium", "Brave"};
    for (size_t i = 0; i < 3; ++i) {
      sources[i].browser = names[i];
      sources[i].profile = "Default";
      sources[i].links = qsizetype(i * 10);
    }
    QStringList shown;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      auto* list = dialog ? dialog->findChild<QListWidget*>("SourceList") : nullptr;
      if (!list) return;
      for (int i = 0; i < list->count(); ++i)
        shown << list->item(i)->text() + (list->item(i)->checkState() ? " [x]" : "");
      list->item(2)->setCheckState(Qt::Checked);
      dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    const std::vector<BrowserSource> chosen = ChooseSourcesInDialog(&f.w(), sources, &sources[1]);
    QCOMPARE(shown, QStringList({"Firefox - Default (0 links)", "Chromium - Default (10 links) [x]",
                                 "Brave - Default (20 links)"}));
    QCOMPARE(chosen.size(), size_t(2));
    QCOMPARE(chosen[0].browser, "Chromium");
    QCOMPARE(chosen[1].browser, "Brave");
  }

  void xbelExportAndImport() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    const QString out = f.home.path(QStringLiteral("out/links.xbel"));
    f.desktop.saveNames = {out};
    part<QAction>(w, "Export1")->trigger();
    QVERIFY(readFile(out).contains("<xbel version=\"1.0\">"));
    auto* commands = w.findChild<BrowserImportCommands*>();
    QCOMPARE(commands->xbelAction->text(), "Bookmarks from an XBEL File...");
    f.desktop.openNames = {out};
    commands->xbelAction->trigger();
    QCOMPARE(
        names(w.view().document().links()),
        QStringList({"Favorites\\A\\", "Favorites\\A\\x", "Favorites\\News", "Favorites\\links\\",
                     "Favorites\\links\\A\\", "Favorites\\links\\A\\x", "Favorites\\links\\News"}));
  }

  void copyGoesToTheSystemClipboardAndPastesAsOwnRecords() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    QGuiApplication::clipboard()->clear();
    part<TXeListView>(w, "ListLinks")->activeView()->setFocus();
    w.view().focusRow(1);  // News
    part<QAction>(w, "ECopy")->trigger();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data);
    QCOMPARE(LinksFromMime(*data), std::vector<ForeignLink>({{"http://news.example", "News"}}));
    QCOMPARE(data->text(), QStringLiteral("http://news.example\n"));
    // Pasting our own copy follows the paste rules: into A, then into the
    // root again, which is the folder it came from.
    part<TreeLinksView>(w, "TreeLinks")->setFocus();
    part<TreeLinksView>(w, "TreeLinks")
        ->setCurrentIndex(w.view().tree().indexFor(childNamed(w.view().tree().root(), "A")));
    part<TXeListView>(w, "ListLinks")->activeView()->setFocus();
    part<QAction>(w, "EPaste")->trigger();
    QVERIFY(names(w.view().document().links()).contains("Favorites\\A\\News"));
    QVERIFY(!part<TFAddItem>(w, "FAddItem")->isVisible());
  }

  void pasteOfForeignLinks() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    QGuiApplication::clipboard()->clear();
    QVERIFY(!part<QAction>(w, "EPaste")->isEnabled());
    QGuiApplication::clipboard()->setMimeData(
        foreignLinks("http://one/\nNews\nhttp://two/\nNe/ws\nhttps://three.org/\n"));
    QVERIFY(part<QAction>(w, "EPaste")->isEnabled());
    part<TXeListView>(w, "ListLinks")->activeView()->setFocus();
    const size_t steps = w.view().document().history().count();
    part<QAction>(w, "EPaste")->trigger();
    QCOMPARE(names(w.view().document().links()),
             QStringList({"Favorites\\A\\", "Favorites\\A\\x", "Favorites\\News",
                          "Favorites\\News (2)", "Favorites\\Ne/ws", "Favorites\\three.org"}));
    QCOMPARE(w.view().document().history().count(), steps + 1);
    QVERIFY(f.captions().contains("News (2)"));

    // One link: the Add Url dialog, filled in, adding to the current folder.
    QGuiApplication::clipboard()->setMimeData(foreignLinks("http://single/\nSingle"));
    const QStringList seen = answerAddDialog(w, [&] { part<QAction>(w, "EPaste")->trigger(); });
    QCOMPARE(seen, QStringList({"http://single/", "Single"}));
    QVERIFY(names(w.view().document().links()).contains("Favorites\\Single"));
  }

  void foreignDataIsDecodedOnlyOnPaste() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    int fetched = 0;
    auto* data = new CountingMime(fetched);
    data->setHtml(QStringLiteral("<p><a href=\"http://one/\">One</a> <a href=\"http://two/\">Two"
                                 "</a> <a href=\"") +
                  QString(1 << 16, QLatin1Char('x')));
    QGuiApplication::clipboard()->setMimeData(data);
    // A copy made in another program, and a drag passing over the window.
    QVERIFY(part<QAction>(w, "EPaste")->isEnabled());
    w.UpdateCommandState();
    QVERIFY(LinkExchange::offersLinks(*data));
    QCOMPARE(fetched, 0);
    part<TXeListView>(w, "ListLinks")->activeView()->setFocus();
    part<QAction>(w, "EPaste")->trigger();
    QVERIFY(fetched > 0);
    QVERIFY(names(w.view().document().links()).contains("Favorites\\Two"));
  }

  void dropsOfForeignLinksOnTreeAndList() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    std::unique_ptr<QMimeData> two(foreignLinks("http://1/\nOne\nhttp://2/\nTwo"));
    FolderNode* a = childNamed(w.view().tree().root(), "A");
    const QPoint onA =
        part<TreeLinksView>(w, "TreeLinks")->visualRect(w.view().tree().indexFor(a)).center();
    QVERIFY(dropAt(part<TreeLinksView>(w, "TreeLinks")->viewport(), onA, two.get()));
    two.reset();  // the data is gone once the drop has ended
    QTRY_VERIFY(names(w.view().document().links()).contains("Favorites\\A\\One"));
    QVERIFY(names(w.view().document().links()).contains("Favorites\\A\\Two"));

    // On the list: into the folder it shows, through the dialog for one.
    QWidget* listPort = part<TXeListView>(w, "ListLinks")->activeView()->viewport();
    std::unique_ptr<QMimeData> one(foreignLinks("http://3/\nThree"));
    QStringList seen = answerAddDialog(w, [&] { QVERIFY(dropAt(listPort, {5, 5}, one.get())); });
    QCOMPARE(seen, QStringList({"http://3/", "Three"}));
    QVERIFY(names(w.view().document().links()).contains("Favorites\\Three"));

    // One link on a tree folder: the dialog adds it to that folder.
    std::unique_ptr<QMimeData> four(foreignLinks("http://4/\nFour"));
    FolderNode* folderA = childNamed(w.view().tree().root(), "A");
    const QPoint atA =
        part<TreeLinksView>(w, "TreeLinks")->visualRect(w.view().tree().indexFor(folderA)).center();
    seen = answerAddDialog(w, [&] {
      QVERIFY(dropAt(part<TreeLinksView>(w, "TreeLinks")->viewport(), atA, four.get()));
    });
    QCOMPARE(seen, QStringList({"http://4/", "Four"}));
    QVERIFY(names(w.view().document().links()).contains("Favorites\\A\\Four"));

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
    part<TXeListView>(w, "ListLinks")->activeView()->setFocus();
    w.view().focusRow(1);
    std::unique_ptr<QMimeData> data(w.ListLinksStartDrag());
    LinkExchange::addLinksOf(*data, w.editor()->dragDrop.dragList().records);
    QCOMPARE(LinksFromMime(*data), std::vector<ForeignLink>({{"http://news.example", "News"}}));
    QCOMPARE(data->data(kUriListFormat), QByteArray("http://news.example\r\n"));
  }
};

QTEST_MAIN(TestBrowserLinks)
#include "tst_browserlinks.moc"
