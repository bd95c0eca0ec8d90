// Real launches: a fake browser and a fake xdg-open on PATH record the
// arguments they were started with.
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include "browser/BrowserActions.h"
#include "browser/BrowserLauncher.h"
#include "support/FakeDesktop.h"
#include "support/TempDir.h"

using namespace vorlix;

namespace {

const QString kUrl = QStringLiteral("http://example.com/a?b=1&c=2 x");

// The desktop's real URL opener behind the fake's dialogs.
class XdgDesktop : public test::FakeDesktop {
 public:
  bool openUrl(const QString& url) override { return OpenUrlOnDesktop(url); }
};

}  // namespace

class TestBrowserLauncher : public QObject {
  Q_OBJECT

  test::IsolatedHome* home_ = nullptr;
  QByteArray oldPath_ = qgetenv("PATH");

  QString log() const { return home_->path("calls.log"); }
  QString calls() const {
    QFile f(log());
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
  }
  void writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
  }
  // A program that appends its name and each argument in brackets, one a
  // line, in a single write once it has them all.
  void fakeProgram(const QString& name) {
    const QString path = home_->path("bin/") + name;
    writeFile(path,
              "#!/bin/sh\nout=\"CALL ${0##*/}\n\"\nfor a in \"$@\"; do out=\"$out[$a]\n\"; "
              "done\nprintf '%s' \"$out\" >> '" +
                  log().toUtf8() + "'\n");
    QFile::setPermissions(path,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  }
  void registerBrowser(const QByteArray& exec) {
    writeFile(home_->path("data/applications/web.desktop"),
              "[Desktop Entry]\nType=Application\nName=Web\nExec=" + exec + "\n");
    writeFile(home_->path("config/mimeapps.list"),
              "[Default Applications]\ntext/html=web.desktop\n");
  }

 private slots:
  void init() {
    home_ = new test::IsolatedHome;
    qputenv("XDG_CONFIG_DIRS", home_->path("etc").toLocal8Bit());
    qputenv("XDG_DATA_DIRS", home_->path("share").toLocal8Bit());
    qunsetenv("XDG_CURRENT_DESKTOP");
    qputenv("PATH", home_->path("bin").toLocal8Bit() + ':' + oldPath_);
    fakeProgram("fake-firefox");
    fakeProgram("fake-lynx");
    fakeProgram("xdg-open");
  }
  void cleanup() {
    qputenv("PATH", oldPath_);
    delete home_;
    home_ = nullptr;
  }

  void newWindowGetsTheUrlAsOneArgument() {
    registerBrowser("fake-firefox --private %u");
    test::FakeDesktop desktop;
    QVERIFY(BrowserLauncher(desktop).OpenUrlInNewWindow(kUrl));
    QTRY_COMPARE(calls(), "CALL fake-firefox\n[--private]\n[--new-window]\n[" + kUrl + "]\n");
    QVERIFY(desktop.openedUrls.isEmpty());
  }

  void optionLikeUrlStartsNothing() {
    registerBrowser("fake-firefox %u");
    XdgDesktop desktop;
    BrowserLauncher launcher(desktop);
    QVERIFY(!launcher.OpenUrlInNewWindow(QStringLiteral("--version")));
    QVERIFY(!launcher.OpenInActiveWindow(QStringLiteral("-x")));
    QVERIFY(!OpenUrlOnDesktop(QStringLiteral("--help")));
    QVERIFY(!launcher.OpenUrlInNewWindow(QString()));
    // A start made afterwards shows that the ones before were never made.
    launcher.OpenUrlInNewWindow(QStringLiteral("http://after/"));
    QTRY_VERIFY(calls().contains("[http://after/]"));
    QCOMPARE(calls(), QStringLiteral("CALL fake-firefox\n[--new-window]\n[http://after/]\n"));
  }

  void fallBackToTheDesktopOpener_data() {
    QTest::addColumn<QByteArray>("exec");
    QTest::newRow("nothing registered") << QByteArray();
    QTest::newRow("not a known browser") << QByteArray("fake-lynx %u");
    QTest::newRow("program missing") << QByteArray("/nonexistent/firefox %u");
    QTest::newRow("open quote") << QByteArray("\"fake-firefox %u");
  }
  void fallBackToTheDesktopOpener() {
    QFETCH(QByteArray, exec);
    if (!exec.isEmpty()) registerBrowser(exec);
    XdgDesktop desktop;
    BrowserLauncher(desktop).OpenUrlInNewWindow(kUrl);
    QTRY_COMPARE(calls(), "CALL xdg-open\n[" + kUrl + "]\n");
  }

  void activeWindowGoesToTheOpener() {
    registerBrowser("fake-firefox %u");
    test::FakeDesktop desktop;
    BrowserLauncher(desktop).OpenInActiveWindow(kUrl);
    QCOMPARE(desktop.openedUrls, QStringList{kUrl});
  }

  void actionsPart() {
    test::FakeDesktop desktop;
    BrowserActions actions(
        desktop, PageCapture(home_->path(), [] {
          return std::optional<ActiveWindowInfo>({"Docs - Chromium", "Chromium"});
        }));
    QSignalSpy notOpened(&actions, &BrowserActions::linkNotOpened);
    QCOMPARE(actions.captureFields(), (QStringList{"", "Docs"}));
    actions.browseInActiveWindow(kUrl);
    actions.browseInNewWindow(QStringLiteral("http://nothing-registered/"));
    QCOMPARE(desktop.openedUrls, (QStringList{kUrl, "http://nothing-registered/"}));
    QCOMPARE(notOpened.count(), 0);
    // What no program takes, or what is no argument, is told, not lost.
    desktop.urlsOpen = false;
    actions.browseInActiveWindow(kUrl);
    actions.browseInNewWindow(QStringLiteral("-v"));
    QCOMPARE(notOpened.count(), 2);
    QCOMPARE(desktop.openedUrls.size(), 3);  // "-v" never reached the desktop
  }
};

QTEST_GUILESS_MAIN(TestBrowserLauncher)
#include "tst_browserlauncher.moc"
