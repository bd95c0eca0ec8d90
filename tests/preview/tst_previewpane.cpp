// The preview pane in a real main window: links from the list, the address
// bar, the switch with its splitter and panel heights, floating and docking
// back. Pages come from a small HTTP server on 127.0.0.1 made here.
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QThread>
#include <QToolButton>
#include <QUrl>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <memory>

#include <QWidget>
#include "components/ImageList.h"
#include "components/PanelSplitter.h"
#include "components/XeListView.h"
#include "components/XeStatusBar.h"
#include "mainwindow/StartUp.h"
#include "mainwindow/WindowParts.h"
#include "preview/PreviewAddress.h"
#include "preview/PreviewDock.h"
#include "preview/PreviewSwitch.h"
#include "preview/TFBrowser.h"
#include "support/Files.h"
#include "support/MainWindowFixture.h"

using namespace vorlix;
using namespace vorlix::test;

namespace {

// Generous: the engine starts its processes on a busy machine.
constexpr int kLoadTimeout = 30000;

// Answers every GET with the body set for its path, else a page titled
// "T:" + its path, and counts the requests per path.
class PageServer : public QTcpServer {
 public:
  PageServer() {
    listen(QHostAddress::LocalHost);
    connect(this, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* s = nextPendingConnection()) {
        connect(s, &QTcpSocket::readyRead, s, [this, s] { answer(s); });
        connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
      }
    });
  }
  QString url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(path);
  }
  QString hostPort() const { return QStringLiteral("127.0.0.1:%1").arg(serverPort()); }
  QHash<QString, int> hits;
  QHash<QString, QByteArray> bodies;

 private:
  void answer(QTcpSocket* s) {
    QByteArray& in = pending_[s];
    in += s->readAll();
    if (!in.contains("\r\n\r\n")) return;
    const QList<QByteArray> first = in.left(in.indexOf("\r\n")).split(' ');
    pending_.remove(s);
    const QString path = QString::fromLatin1(first.value(1));
    ++hits[path];
    // "/go" moves on to "/went" by itself, as a page's own link or redirect does.
    const QByteArray script =
        path == QLatin1String("/go") ? "<script>location.replace('/went')</script>" : "";
    const QByteArray body =
        bodies.value(path, "<html><head><title>T:" + path.toLatin1() + "</title>" + script +
                               "</head><body>page</body></html>");
    s->write(
        "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\n"
        "Cache-Control: no-store\r\n"
        "Content-Length: " +
        QByteArray::number(body.size()) + "\r\n\r\n" + body);
    s->disconnectFromHost();
  }
  QHash<QTcpSocket*, QByteArray> pending_;
};

QPoint rowCentre(TXeListView* list, int row) {
  QAbstractItemView* v = list->activeView();
  return v->visualRect(v->model()->index(row, 0)).center();
}

void typeAddress(TFBrowser* pane, const QString& text) {
  pane->ComboAddress->setEditText(text);
  QTest::keyClick(pane->ComboAddress, Qt::Key_Return);
}

QStringList history(TFBrowser* pane) {
  QStringList out;
  for (int i = 0; i < pane->ComboAddress->count(); ++i) out << pane->ComboAddress->itemText(i);
  return out;
}

// A mouse event at a global position, sent straight to `w`.
void sendMouse(QWidget* w, QEvent::Type type, const QPoint& global) {
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent e(type, QPointF(w->mapFromGlobal(global)), QPointF(global), Qt::LeftButton, held,
                Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

void drag(QWidget* grip, const QPoint& from, const QPoint& to) {
  sendMouse(grip, QEvent::MouseButtonPress, from);
  sendMouse(grip, QEvent::MouseMove, from + QPoint(10, 10));
  sendMouse(grip, QEvent::MouseMove, to);
  sendMouse(grip, QEvent::MouseButtonRelease, to);
}

// Processes whose command line holds `marker`, other than this one.
QList<qint64> processesWith(const QByteArray& marker) {
  QList<qint64> out;
  for (const QString& e : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
    bool ok = false;
    const qint64 pid = e.toLongLong(&ok);
    if (!ok || pid == QCoreApplication::applicationPid()) continue;
    QFile cmd(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (cmd.open(QIODevice::ReadOnly) && cmd.readAll().contains(marker)) out << pid;
  }
  return out;
}

QByteArray g_marker;  // names this run's engine processes

const QString kLinkRow = QStringLiteral("Favorites\\Page|%1");

}  // namespace

class TestPreviewPane : public QObject {
  Q_OBJECT

 private slots:
  void addressRules() {
    QCOMPARE(CompleteAddress("example.com/x"), QStringLiteral("http://example.com/x"));
    QCOMPARE(CompleteAddress("localhost:8080/x"), QStringLiteral("http://localhost:8080/x"));
    QCOMPARE(CompleteAddress("localhost:8080"), QStringLiteral("http://localhost:8080"));
    QCOMPARE(CompleteAddress("127.0.0.1:80"), QStringLiteral("http://127.0.0.1:80"));
    QCOMPARE(CompleteAddress(""), QStringLiteral("http://"));
    for (const char* kept : {"https://x.example", "HTTP://X.EXAMPLE/", "Http://x", "http://x",
                             "file:///home/u/a.html", "about:blank", "mailto:a@b.example"})
      QCOMPARE(CompleteAddress(kept), QString::fromLatin1(kept));
    // Half the list height, halves to the even neighbour.
    QCOMPARE(PreviewSwitch::halfHeight(351), 176);
    QCOMPARE(PreviewSwitch::halfHeight(349), 174);
    QCOMPARE(PreviewSwitch::halfHeight(350), 175);
    QCOMPARE(PreviewSwitch::halfHeight(0), 0);
    // What the engine would run as a script, however it is spelt.
    for (const char* script : {"javascript:alert(1)", "JavaScript:x", " \x01javascript:x",
                               "java\tscr\nipt:x", "\njavascript:x"})
      QVERIFY2(IsScriptAddress(QString::fromLatin1(script)), script);
    for (const char* other :
         {"http://a/javascript:x", "javascript", "java script:x", "about:blank"})
      QVERIFY2(!IsScriptAddress(QString::fromLatin1(other)), other);
  }

  void scriptLinksNeverRunInThePane() {
    PageServer server;
    MainWindowFixture f;
    f.prompts.asked.clear();  // the start's own questions
    TFMainXeVorlix& w = f.w();
    auto* pane = part<QWidget>(w, "Panel10")->findChild<TFBrowser*>();
    pane->showLink(server.url("/shown"));
    QTRY_COMPARE_WITH_TIMEOUT(pane->caption(), QStringLiteral("T:/shown"), kLoadTimeout);
    pane->showLink(QStringLiteral("javascript:document.title='ran'"));
    QCOMPARE(part<TXeStatusBar>(w, "XeStatusBar")->currentMessage(),
             QStringLiteral("javascript: links are not run in the preview pane."));
    QCOMPARE(history(pane), QStringList{server.url("/shown")});
    // Given the time it would take to run, the page is as it was.
    QTest::qWait(500);
    QCOMPARE(pane->webView()->title(), QStringLiteral("T:/shown"));
    QVERIFY(f.prompts.asked.empty());
  }

  void otherSchemesAskOnceNamingTheProgram() {
    PageServer server;
    server.bodies["/mail"] =
        "<html><head><title>mail</title></head><body style='margin:0'>"
        "<a href='mailto:a@b.example' style='display:block;width:100vw;height:100vh'>m</a>"
        "</body></html>";
    MainWindowFixture f;
    writeFile(f.home.path("config/mimeapps.list"),
              "[Default Applications]\nx-scheme-handler/mailto=mail.desktop\n");
    writeFile(f.home.path("data/applications/mail.desktop"),
              "[Desktop Entry]\nType=Application\nName=Test Mail\nExec=testmail %u\n");
    f.prompts.asked.clear();  // the start's own questions
    TFMainXeVorlix& w = f.w();
    auto* pane = part<QWidget>(w, "Panel10")->findChild<TFBrowser*>();
    pane->showLink(server.url("/mail"));
    QTRY_COMPARE_WITH_TIMEOUT(pane->caption(), QStringLiteral("mail"), kLoadTimeout);

    // A click on the page's mailto: link: a question, answered No.
    f.prompts.answers = {Answer::No};
    QWidget* surface = pane->webView()->focusProxy();
    QTRY_VERIFY_WITH_TIMEOUT(surface && surface->isVisible(), kLoadTimeout);
    const QPoint middle = surface->rect().center();
    QTest::mouseClick(surface, Qt::LeftButton, {}, middle);
    QTRY_COMPARE_WITH_TIMEOUT(f.prompts.asked.size(), size_t(1), kLoadTimeout);
    QCOMPARE(f.prompts.asked[0].type, MsgType::Confirmation);
    QCOMPARE(f.prompts.asked[0].text,
             QStringLiteral("The preview pane does not show mailto: links.\n"
                            "Open mailto:a@b.example with Test Mail ?"));
    // Asked once: the next click follows that answer.
    QTest::mouseClick(surface, Qt::LeftButton, {}, middle);
    QTRY_COMPARE_WITH_TIMEOUT(part<TXeStatusBar>(w, "XeStatusBar")->currentMessage(),
                              QStringLiteral("mailto: links are not opened from the preview pane."),
                              kLoadTimeout);
    QCOMPARE(f.prompts.asked.size(), size_t(1));
    QVERIFY(f.desktop.openedUrls.isEmpty());
    QCOMPARE(pane->webView()->url(), QUrl(server.url("/mail")));

    // A stored link of a scheme no program is named for, answered Yes.
    f.prompts.answers = {Answer::Yes};
    pane->showLink(QStringLiteral("x-unknown:thing"));
    QCOMPARE(f.prompts.lastText(),
             QStringLiteral("The preview pane does not show x-unknown: links.\n"
                            "Open x-unknown:thing with the desktop's default program ?"));
    QCOMPARE(f.desktop.openedUrls, QStringList{"x-unknown:thing"});
  }

  void scriptDialogsAreLimitedToOnePerPage() {
    PageServer server;
    server.bodies["/loop"] =
        "<html><head><script>"
        "for (var i = 0; i < 50; i++) alert('a' + i);"
        "var c = confirm('c'); var p = prompt('p', 'd');"
        "document.title = 'done:' + c + ':' + p;"
        "</script></head><body></body></html>";
    MainWindowFixture f;
    f.prompts.asked.clear();  // the start's own questions
    auto* pane = part<QWidget>(f.w(), "Panel10")->findChild<TFBrowser*>();
    pane->showLink(server.url("/loop"));
    QTRY_COMPARE_WITH_TIMEOUT(pane->caption(), QStringLiteral("done:false:null"), kLoadTimeout);
    QCOMPARE(f.prompts.asked.size(), size_t(1));
    QCOMPARE(f.prompts.asked[0].type, MsgType::Information);
    QCOMPARE(f.prompts.asked[0].text, QStringLiteral("127.0.0.1 says:\n\na0"));
    QVERIFY(f.prompts.inputCaptions.isEmpty());
    QCOMPARE(part<TXeStatusBar>(f.w(), "XeStatusBar")->currentMessage(),
             QStringLiteral("This page may not open more dialogs."));
    // Opened again by the user, it may show one again.
    pane->reloadAddress();
    QTRY_COMPARE_WITH_TIMEOUT(f.prompts.asked.size(), size_t(2), kLoadTimeout);
  }

  void theSwitchAndItsSplitter() {
    MainWindowFixture f;
    TFMainXeVorlix& w = f.w();
    auto* sw = w.findChild<PreviewSwitch*>();
    QVERIFY(sw);
    // Switched on at start: panel, splitter and image 3; no engine yet.
    QVERIFY(part<QAction>(w, "Urlpreview1")->isCheckable() &&
            part<QAction>(w, "Urlpreview1")->isChecked());
    QVERIFY(part<QWidget>(w, "Panel10")->isVisible() &&
            part<TPanelSplitter>(w, "Splitter2")->isVisible());
    QCOMPARE(part<QToolButton>(w, "ToolButton3")->property("imageIndex").toInt(),
             int(imgPreviewShown));
    auto* pane = part<QWidget>(w, "Panel10")->findChild<TFBrowser*>();
    QVERIFY(pane && pane->isVisible());
    QVERIFY(!pane->webView());
    QCOMPARE(pane->caption(), QStringLiteral("about:blank"));
    // It opens at half the list's height, not at the design's 107 pixels.
    QTRY_VERIFY(2 * part<QWidget>(w, "Panel10")->height() >=
                part<TXeListView>(w, "ListLinks")->height());

    // The address box's editing keys act on its text: Ctrl+A selects the
    // old address, not the list's rows, so typing replaces it.
    pane->ComboAddress->setEditText(QStringLiteral("http://old.example/"));
    pane->ComboAddress->setFocus();
    QCoreApplication::processEvents();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QVERIFY(part<TXeListView>(w, "ListLinks")->selectedRows().isEmpty());
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("new"));
    QCOMPARE(pane->ComboAddress->currentText(), QStringLiteral("new"));

    // Off through the Options dialog: the splitter stays, the height too.
    const int height = part<QWidget>(w, "Panel10")->height();
    part<QAction>(w, "Urlpreview1")->setChecked(false);
    sw->ApplyPreviewVisibility();
    QVERIFY(!part<QWidget>(w, "Panel10")->isVisible());
    QVERIFY(part<TPanelSplitter>(w, "Splitter2")->isVisible());
    QCOMPARE(part<QToolButton>(w, "ToolButton3")->property("imageIndex").toInt(),
             int(imgPreviewHidden));
    sw->ApplyPreviewVisibility();
    QVERIFY(part<TPanelSplitter>(w, "Splitter2")->isVisible());
    part<QAction>(w, "Urlpreview1")->setChecked(true);
    sw->ApplyPreviewVisibility();
    QVERIFY(part<QWidget>(w, "Panel10")->isVisible() &&
            part<TPanelSplitter>(w, "Splitter2")->isVisible());
    QCOMPARE(part<QWidget>(w, "Panel10")->maximumHeight(), height);

    // The button hides both and shows both; a shown panel takes half the
    // list's height as it was.
    const int before = part<TXeListView>(w, "ListLinks")->height();
    QTest::mouseClick(part<QToolButton>(w, "ToolButton3"), Qt::LeftButton);
    QVERIFY(!part<QAction>(w, "Urlpreview1")->isChecked());
    QVERIFY(!part<QWidget>(w, "Panel10")->isVisible() &&
            !part<TPanelSplitter>(w, "Splitter2")->isVisible());
    QCOMPARE(part<QToolButton>(w, "ToolButton3")->property("imageIndex").toInt(),
             int(imgPreviewHidden));
    QTRY_VERIFY(part<TXeListView>(w, "ListLinks")->height() > before);  // the list took the room
    const int listHeight = part<TXeListView>(w, "ListLinks")->height();
    part<QAction>(w, "Urlpreview1")->trigger();  // View > Preview is the same switch
    QVERIFY(part<QAction>(w, "Urlpreview1")->isChecked());
    QVERIFY(part<QWidget>(w, "Panel10")->isVisible() &&
            part<TPanelSplitter>(w, "Splitter2")->isVisible());
    QCOMPARE(part<QToolButton>(w, "ToolButton3")->property("imageIndex").toInt(),
             int(imgPreviewShown));
    QCOMPARE(part<QWidget>(w, "Panel10")->maximumHeight(), PreviewSwitch::halfHeight(listHeight));
    QTRY_COMPARE(part<QWidget>(w, "Panel10")->height(), PreviewSwitch::halfHeight(listHeight));
  }

  void snapshots() {
    const QString dir = qEnvironmentVariable("VORLIX_SNAPSHOT_DIR");
    if (dir.isEmpty()) QSKIP("VORLIX_SNAPSHOT_DIR not set");
    MainWindowFixture f({kLinkRow.arg("http://127.0.0.1:1/x")});
    QTest::qWait(100);
    f.w().grab().save(dir + "/main-preview.png");
  }

  void switchedOffLinksGoToTheBrowser() {
    MainWindowFixture f({kLinkRow.arg("http://127.0.0.1:1/off")});
    TFMainXeVorlix& w = f.w();
    QTest::mouseClick(part<QToolButton>(w, "ToolButton3"), Qt::LeftButton);  // off
    QAbstractItemView* view = part<TXeListView>(w, "ListLinks")->activeView();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      rowCentre(part<TXeListView>(w, "ListLinks"), 0));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {},
                       rowCentre(part<TXeListView>(w, "ListLinks"), 0));
    QCOMPARE(f.desktop.openedUrls, QStringList({"http://127.0.0.1:1/off"}));
    auto* pane = part<QWidget>(w, "Panel10")->findChild<TFBrowser*>();
    QVERIFY(!pane->webView());  // the engine never started
    QVERIFY(history(pane).isEmpty());
    // Switched on again, the browser commands still go to the browser.
    QTest::mouseClick(part<QToolButton>(w, "ToolButton3"), Qt::LeftButton);
    part<QAction>(w, "OpenNew")->trigger();
    QCOMPARE(f.desktop.openedUrls.size(), 2);
    QVERIFY(!pane->webView());
  }

  void refusedAddressIsReported() {
    MainWindowFixture f;
    auto* pane = part<QWidget>(f.w(), "Panel10")->findChild<TFBrowser*>();
    const size_t asked = f.prompts.asked.size();
    typeAddress(pane, QStringLiteral("http://exa mple.com/"));
    QCOMPARE(f.prompts.asked.size(), asked + 1);
    QCOMPARE(f.prompts.asked.back().type, MsgType::Error);
    QVERIFY(!f.prompts.asked.back().text.isEmpty());
    QCOMPARE(pane->caption(), QStringLiteral("about:blank"));  // as it was
    QVERIFY(!pane->webView());
  }

  void linksAndAddressesLoadInThePane() {
    PageServer server;
    QVERIFY(server.isListening());
    const QString link = server.url("/a");
    MainWindowFixture f({kLinkRow.arg(link)});
    TFMainXeVorlix& w = f.w();
    auto* pane = part<QWidget>(w, "Panel10")->findChild<TFBrowser*>();
    QAbstractItemView* view = part<TXeListView>(w, "ListLinks")->activeView();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      rowCentre(part<TXeListView>(w, "ListLinks"), 0));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {},
                       rowCentre(part<TXeListView>(w, "ListLinks"), 0));
    QVERIFY(f.desktop.openedUrls.isEmpty());
    QCOMPARE(pane->caption(), link);  // the URL first, then the title
    QCOMPARE(pane->ComboAddress->currentText(), link);
    QTRY_COMPARE_WITH_TIMEOUT(pane->caption(), QStringLiteral("T:/a"), kLoadTimeout);
    QCOMPARE(server.hits.value("/a"), 1);
    QVERIFY(!processesWith(g_marker).isEmpty());  // the engine runs now

    // The engine's profile keeps nothing and lets no page read local files.
    QVERIFY(pane->profile()->isOffTheRecord());
    QVERIFY(!pane->profile()->settings()->testAttribute(
        QWebEngineSettings::LocalContentCanAccessFileUrls));

    // Enter on the same row: a second history entry.
    part<TXeListView>(w, "ListLinks")->setFocus();
    QTest::keyClick(view, Qt::Key_Return);
    QCOMPARE(history(pane), QStringList({link, link}));
    QTRY_COMPARE_WITH_TIMEOUT(server.hits.value("/a"), 2, kLoadTimeout);
    // Each page finishes before the next is asked for; the engine may drop
    // a load that a newer one overtakes.
    QTRY_COMPARE_WITH_TIMEOUT(pane->caption(), QStringLiteral("T:/a"), kLoadTimeout);
    QVERIFY(f.desktop.openedUrls.isEmpty());

    // Typed without a scheme: "http://" is put in front; no history entry.
    typeAddress(pane, server.hostPort() + "/typed");
    QCOMPARE(pane->ComboAddress->currentText(), server.url("/typed"));
    QCOMPARE(pane->caption(), server.url("/typed"));
    QTRY_COMPARE_WITH_TIMEOUT(pane->caption(), QStringLiteral("T:/typed"), kLoadTimeout);
    QCOMPARE(history(pane).size(), 2);

    // A scheme in capitals is kept and loads; Go does what Enter does.
    const QString upper = "HTTP://" + server.hostPort() + "/upper";
    pane->ComboAddress->setEditText(upper);
    QTest::mouseClick(pane->BAddress, Qt::LeftButton);
    QCOMPARE(pane->ComboAddress->currentText(), upper);
    QCOMPARE(pane->caption(), upper);
    QTRY_COMPARE_WITH_TIMEOUT(pane->caption(), QStringLiteral("T:/upper"), kLoadTimeout);

    // A secure address is kept as typed; its failure is the engine's page.
    typeAddress(pane, QStringLiteral("https://127.0.0.1:1/secure"));
    QCOMPARE(pane->ComboAddress->currentText(), QStringLiteral("https://127.0.0.1:1/secure"));
    QCOMPARE(pane->caption(), QStringLiteral("https://127.0.0.1:1/secure"));
    QTRY_VERIFY_WITH_TIMEOUT(pane->webView()->url().scheme() == QLatin1String("https"),
                             kLoadTimeout);
    QVERIFY(f.prompts.asked.empty());

    // Where the page goes by itself, the address follows.
    pane->showLink(server.url("/go"));
    QTRY_COMPARE_WITH_TIMEOUT(pane->ComboAddress->currentText(), server.url("/went"), kLoadTimeout);
    QTRY_COMPARE_WITH_TIMEOUT(pane->caption(), QStringLiteral("T:/went"), kLoadTimeout);
  }

  void pagesCannotReadLocalFiles() {
    MainWindowFixture f;
    auto* pane = part<QWidget>(f.w(), "Panel10")->findChild<TFBrowser*>();
    QFile secret(f.home.path("secret.txt"));
    QVERIFY(secret.open(QIODevice::WriteOnly));
    secret.write("secret");
    secret.close();
    QFile page(f.home.path("page.html"));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.write(
        "<html><head><title>wait</title><script>"
        "var x = new XMLHttpRequest();"
        "try { x.open('GET', 'secret.txt', false); x.send();"
        "  document.title = 'read:' + x.responseText; }"
        "catch (e) { document.title = 'blocked'; }"
        "</script></head><body></body></html>");
    page.close();
    // A file address is taken as it is.
    const QString address = QUrl::fromLocalFile(page.fileName()).toString();
    typeAddress(pane, address);
    QCOMPARE(pane->ComboAddress->currentText(), address);
    QTRY_COMPARE_WITH_TIMEOUT(pane->caption(), QStringLiteral("blocked"), kLoadTimeout);
  }

  void floatThenCloseDocksBackAndReloads() {
    PageServer server;
    const QString link = server.url("/dock");
    MainWindowFixture f({kLinkRow.arg(link)});
    TFMainXeVorlix& w = f.w();
    auto* pane = part<QWidget>(w, "Panel10")->findChild<TFBrowser*>();
    auto* dock = w.findChild<PreviewDock*>();
    QVERIFY(dock && !dock->floating());
    // Each load finishes before the next is asked for; the engine may drop
    // a load that a newer one overtakes.
    QSignalSpy loaded(pane, &TFBrowser::pageLoaded);
    pane->showLink(link);
    QTRY_COMPARE_WITH_TIMEOUT(server.hits.value("/dock"), 1, kLoadTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(loaded.count() >= 1, kLoadTimeout);

    // Torn off by dragging the address label away from the window.
    const QPoint grip = pane->LabelAddress->mapToGlobal(pane->LabelAddress->rect().center());
    const QPoint away = w.mapToGlobal(QPoint(w.width() / 2, -300));
    QVERIFY(!dock->overDockSite(away));
    drag(pane->LabelAddress, grip, away);
    QVERIFY(dock->floating());
    QVERIFY(pane->isWindow() && !pane->parentWidget());  // its own task-bar entry
    QCOMPARE(pane->size(), PreviewDock::firstFloatSize());
    QCOMPARE(part<QWidget>(w, "Panel10")->maximumHeight(), 0);
    QVERIFY(part<QWidget>(w, "Panel10")->isVisible());  // collapsed, still switched on
    QTRY_COMPARE_WITH_TIMEOUT(server.hits.value("/dock"), 2, kLoadTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(loaded.count() >= 2, kLoadTimeout);

    // While it floats, a link from the list opens in the floating pane.
    QAbstractItemView* view = part<TXeListView>(w, "ListLinks")->activeView();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      rowCentre(part<TXeListView>(w, "ListLinks"), 0));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {},
                       rowCentre(part<TXeListView>(w, "ListLinks"), 0));
    QVERIFY(f.desktop.openedUrls.isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(server.hits.value("/dock"), 3, kLoadTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(loaded.count() >= 3, kLoadTimeout);

    // The close box docks it back, 100 px high, and loads the address again.
    QVERIFY(!pane->close());
    QVERIFY(!dock->floating());
    QCOMPARE(pane->parentWidget(), part<QWidget>(w, "Panel10"));
    QVERIFY(pane->isVisible());
    QCOMPARE(part<QWidget>(w, "Panel10")->maximumHeight(), PreviewDock::kDockedHeight);
    QTRY_COMPARE(part<QWidget>(w, "Panel10")->height(), PreviewDock::kDockedHeight);
    QTRY_COMPARE_WITH_TIMEOUT(server.hits.value("/dock"), 4, kLoadTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(loaded.count() >= 4, kLoadTimeout);

    // Dragged out and dropped on the bottom of the window: docked again.
    drag(pane->LabelAddress, pane->LabelAddress->mapToGlobal(QPoint(5, 5)), away);
    QVERIFY(dock->floating());
    QTRY_COMPARE_WITH_TIMEOUT(server.hits.value("/dock"), 5, kLoadTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(loaded.count() >= 5, kLoadTimeout);
    const QPoint bottom = w.centralWidget()->mapToGlobal(
        QPoint(w.centralWidget()->width() / 2, w.centralWidget()->height() - 10));
    QVERIFY(dock->overDockSite(bottom));
    drag(pane->LabelAddress, pane->LabelAddress->mapToGlobal(QPoint(5, 5)), bottom);
    QVERIFY(!dock->floating());
    QCOMPARE(part<QWidget>(w, "Panel10")->maximumHeight(), PreviewDock::kDockedHeight);
    QTRY_COMPARE_WITH_TIMEOUT(server.hits.value("/dock"), 6, kLoadTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(loaded.count() >= 6, kLoadTimeout);

    // A button in the address bar floats and docks it without a drag.
    QVERIFY(pane->BFloat->isVisible());
    QVERIFY(!pane->BFloat->accessibleName().isEmpty());
    pane->BFloat->click();
    QVERIFY(dock->floating());
    QCOMPARE(pane->BFloat->toolTip(), QStringLiteral("Dock the preview in the main window"));
    QTRY_VERIFY_WITH_TIMEOUT(loaded.count() >= 7, kLoadTimeout);
    pane->BFloat->click();
    QVERIFY(!dock->floating());
    QCOMPARE(pane->parentWidget(), part<QWidget>(w, "Panel10"));
    QTRY_VERIFY_WITH_TIMEOUT(loaded.count() >= 8, kLoadTimeout);
  }
};

// The tests run in a child process; the parent then checks that none of
// the engine's processes outlives it.
int main(int argc, char** argv) {
  const QByteArray marker = "--application-name=vorlix-preview-test-" + qgetenv("VORLIX_TEST_RUN");
  if (qEnvironmentVariableIsSet("VORLIX_TEST_RUN")) {
    // Offscreen, without a GPU or a sandbox.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    qputenv("QT_QUICK_BACKEND", "software");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --disable-dev-shm-usage");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QString::fromLatin1(marker.mid(marker.indexOf('=') + 1)));
    g_marker = marker;
    TestPreviewPane tc;
    return QTest::qExec(&tc, argc, argv);
  }
  QCoreApplication app(argc, argv);
  const QByteArray run = QByteArray::number(QCoreApplication::applicationPid());
  QProcess child;
  child.setProcessChannelMode(QProcess::ForwardedChannels);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("VORLIX_TEST_RUN"), QString::fromLatin1(run));
  child.setProcessEnvironment(env);
  child.start(QCoreApplication::applicationFilePath(), app.arguments().mid(1));
  if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit) return 1;
  // The engine's helpers leave when their browser process is gone.
  const QByteArray childMarker = marker + run;
  QDeadlineTimer deadline(30000);
  QList<qint64> left = processesWith(childMarker);
  while (!left.isEmpty() && !deadline.hasExpired()) {
    QThread::msleep(50);
    left = processesWith(childMarker);
  }
  for (qint64 pid : left) qWarning("engine process left behind: %lld", pid);
  return left.isEmpty() ? child.exitCode() : 1;
}

#include "tst_previewpane.moc"
