#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTest>

#include "browser/BrowserKind.h"
#include "browser/DefaultBrowser.h"
#include "browser/ExecLine.h"
#include "support/TempDir.h"

using namespace vorlix;

namespace {

void write(const QString& path, const QByteArray& content) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(content);
}

QByteArray entry(const QByteArray& exec) {
  return "[Desktop Entry]\nType=Application\nName=X\nExec[de]=wrong %u\nExec=" + exec + "\n";
}

QByteArray defaults(const QByteArray& lines) {
  return "[Added Associations]\ntext/html=added.desktop\n\n[Default Applications]\n" + lines;
}

const QString kUrl = QStringLiteral("http://example.com/a?b=1&c=2 x");

}  // namespace

class TestDefaultBrowser : public QObject {
  Q_OBJECT

  test::IsolatedHome* home_ = nullptr;
  QString at(const QString& rel) const { return home_->path(rel); }

 private slots:
  void init() {
    home_ = new test::IsolatedHome;
    // XDG_CONFIG_HOME = config, XDG_DATA_HOME = data (set by IsolatedHome).
    qputenv("XDG_CONFIG_DIRS", (at("etc1") + ":relative/ignored:" + at("etc2")).toLocal8Bit());
    qputenv("XDG_DATA_DIRS", (at("share1") + ":" + at("share2")).toLocal8Bit());
    qputenv("XDG_CURRENT_DESKTOP", "KDE:GNOME");
  }
  void cleanup() {
    delete home_;
    home_ = nullptr;
  }

  void searchOrder() {
    const QStringList files = MimeAppsFiles();
    const QStringList expected{at("config/kde-mimeapps.list"),
                               at("config/gnome-mimeapps.list"),
                               at("config/mimeapps.list"),
                               at("etc1/kde-mimeapps.list"),
                               at("etc1/gnome-mimeapps.list"),
                               at("etc1/mimeapps.list"),
                               at("etc2/kde-mimeapps.list"),
                               at("etc2/gnome-mimeapps.list"),
                               at("etc2/mimeapps.list"),
                               at("data/applications/kde-mimeapps.list"),
                               at("data/applications/gnome-mimeapps.list"),
                               at("data/applications/mimeapps.list"),
                               at("share1/applications/kde-mimeapps.list"),
                               at("share1/applications/gnome-mimeapps.list"),
                               at("share1/applications/mimeapps.list"),
                               at("share2/applications/kde-mimeapps.list"),
                               at("share2/applications/gnome-mimeapps.list"),
                               at("share2/applications/mimeapps.list")};
    QCOMPARE(files, expected);

    // Unset or relative variables take the defaults below the home folder.
    qputenv("XDG_CONFIG_HOME", "relative/config");
    qunsetenv("XDG_CONFIG_DIRS");
    qunsetenv("XDG_CURRENT_DESKTOP");
    QCOMPARE(MimeAppsFiles().mid(0, 2),
             (QStringList{at(".config/mimeapps.list"), "/etc/xdg/mimeapps.list"}));
  }

  void mimeappsPrecedence() {
    for (const char* id : {"kde", "user", "etc", "share", "http"})
      write(at("share2/applications/") + id + ".desktop", entry(QByteArray(id) + "-firefox %u"));
    write(at("share1/applications/mimeapps.list"), defaults("text/html=share.desktop\n"));
    QCOMPARE(FindDefaultBrowser()->desktopId, QStringLiteral("share.desktop"));
    write(at("etc2/mimeapps.list"), defaults("text/html=etc.desktop\n"));
    QCOMPARE(FindDefaultBrowser()->desktopId, QStringLiteral("etc.desktop"));
    // A handler that is not installed passes the turn to the next one named,
    // and then to the next file.
    write(at("config/mimeapps.list"), defaults("text/html=gone.desktop;\n"));
    QCOMPARE(FindDefaultBrowser()->desktopId, QStringLiteral("etc.desktop"));
    write(at("config/mimeapps.list"), defaults("text/html=gone.desktop; user.desktop;\n"));
    QCOMPARE(FindDefaultBrowser()->desktopId, QStringLiteral("user.desktop"));
    write(at("config/gnome-mimeapps.list"), defaults("text/html=kde.desktop\n"));
    QCOMPARE(FindDefaultBrowser()->desktopId, QStringLiteral("kde.desktop"));

    // The user's own http handler beats a system-wide text/html one, and in
    // one file text/html comes first.
    QFile::remove(at("config/gnome-mimeapps.list"));
    write(at("config/mimeapps.list"), defaults("x-scheme-handler/http=http.desktop\n"));
    QCOMPARE(FindDefaultBrowser()->desktopId, QStringLiteral("http.desktop"));
    write(at("config/mimeapps.list"),
          defaults("x-scheme-handler/http=http.desktop\ntext/html = user.desktop\n"));
    const auto e = FindDefaultBrowser();
    QCOMPARE(e->desktopId, QStringLiteral("user.desktop"));
    QCOMPARE(e->exec, QStringLiteral("user-firefox %u"));
    QCOMPARE(e->desktopFile, at("share2/applications/user.desktop"));
  }

  void desktopEntryLookup() {
    write(at("config/mimeapps.list"), defaults("text/html=kde4-web.desktop;hidden.desktop\n"));
    QVERIFY(!FindDefaultBrowser());
    // The same id in the user's data folder hides the system's; a hidden
    // entry is not installed.
    write(at("share1/applications/hidden.desktop"), entry("sys-firefox %u"));
    QCOMPARE(FindDefaultBrowser()->exec, QStringLiteral("sys-firefox %u"));
    write(at("data/applications/hidden.desktop"), entry("user-firefox %u") + "Hidden=true\n");
    QVERIFY(!FindDefaultBrowser());
    // A vendor prefix may stand for a sub-folder.
    write(at("share2/applications/kde4/web.desktop"), entry("konq %u"));
    QCOMPARE(FindDefaultBrowser()->exec, QStringLiteral("konq %u"));
    // String escapes come before the quoting rules: four backslashes in the
    // file are one in the argument.
    write(at("share2/applications/kde4/web.desktop"), entry("\"/opt/a\\\\\\\\b/firefox\" %u"));
    QCOMPARE(NewWindowCommand(FindDefaultBrowser()->exec, kUrl),
             (QStringList{"/opt/a\\b/firefox", "--new-window", kUrl}));
  }

  void fifosAreNotWaitedFor() {
    // Opening a FIFO for reading waits for a writer: these must be passed
    // over as unreadable, the next file taking their turn.
    auto fifo = [this](const QString& rel) {
      QDir().mkpath(QFileInfo(at(rel)).absolutePath());
      QCOMPARE(::mkfifo(QFile::encodeName(at(rel)).constData(), 0600), 0);
    };
    fifo("config/mimeapps.list");
    fifo("data/applications/fifo.desktop");
    write(at("etc1/mimeapps.list"), defaults("text/html=fifo.desktop;good.desktop\n"));
    write(at("share1/applications/good.desktop"), entry("good %u"));
    QCOMPARE(FindDefaultBrowser()->desktopId, QStringLiteral("good.desktop"));
  }

  void execLines_data() {
    QTest::addColumn<QString>("exec");
    QTest::addColumn<QStringList>("expected");
    const QString nw = QStringLiteral("--new-window");
    QTest::newRow("firefox") << "/usr/lib/firefox-esr/firefox-esr %u"
                             << QStringList{"/usr/lib/firefox-esr/firefox-esr", nw, kUrl};
    QTest::newRow("chromium") << "/usr/bin/chromium %U"
                              << QStringList{"/usr/bin/chromium", nw, kUrl};
    QTest::newRow("flatpak")
        << "/usr/bin/flatpak run --branch=stable --arch=x86_64 --command=firefox "
           "--file-forwarding org.mozilla.firefox @@u %u @@"
        << QStringList{"/usr/bin/flatpak",
                       "run",
                       "--branch=stable",
                       "--arch=x86_64",
                       "--command=firefox",
                       "--file-forwarding",
                       "org.mozilla.firefox",
                       nw,
                       "@@u",
                       kUrl,
                       "@@"};
    QTest::newRow("snap")
        << "env BAMF_DESKTOP_FILE_HINT=/var/lib/snapd/desktop/applications/firefox_firefox.desktop "
           "/snap/bin/firefox %u"
        << QStringList{"env",
                       "BAMF_DESKTOP_FILE_HINT=/var/lib/snapd/desktop/applications/"
                       "firefox_firefox.desktop",
                       "/snap/bin/firefox", nw, kUrl};
    QTest::newRow("quoted path") << "\"/opt/My Browser/chrome\" --profile-directory=Default %U"
                                 << QStringList{"/opt/My Browser/chrome",
                                                "--profile-directory=Default", nw, kUrl};
    QTest::newRow("other codes") << "vivaldi %i %c %k --x=%f --y=100%% %F %u"
                                 << QStringList{"vivaldi", "--x=", "--y=100%", nw, kUrl};
    QTest::newRow("no code") << "brave-browser --incognito"
                             << QStringList{"brave-browser", "--incognito", nw, kUrl};
    QTest::newRow("escapes in quotes")
        << "prog \"a \\\"b\\\" \\`c\\` \\$d \\\\e %%f %u\" 'g h'\"i\""
        << QStringList{"prog", "a \"b\" `c` $d \\e %f %u", "g hi", nw, kUrl};
    QTest::newRow("empty argument") << "prog \"\" %u" << QStringList{"prog", "", nw, kUrl};
    QTest::newRow("open quote") << "\"/opt/firefox %u" << QStringList{};
    QTest::newRow("nothing") << "  %u " << QStringList{};
  }
  void execLines() {
    QFETCH(QString, exec);
    QFETCH(QStringList, expected);
    QCOMPARE(NewWindowCommand(exec, kUrl), expected);
  }

  void trims_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("expected");
    QTest::newRow("quoted program") << "\"C:\\Program Files\\IE\\IEXPLORE.EXE\" -nohome"
                                    << "C:\\Program Files\\IE\\IEXPLORE.EXE";
    QTest::newRow("argument and quoted %1") << "C:\\NETSCAPE.EXE -h \"%1\""
                                            << "C:\\NETSCAPE.EXE -h";
    QTest::newRow("arguments only") << "prog -a -b  "
                                    << "prog -a -b";
    QTest::newRow("flatpak") << "/usr/bin/flatpak run org.mozilla.firefox @@u %u @@"
                             << "/usr/bin/flatpak run org.mozilla.firefox @@u";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("just a quote") << "\""
                                  << "";
  }
  void trims() {
    QFETCH(QString, command);
    QFETCH(QString, expected);
    QCOMPARE(TrimOpenCommand(command), expected);
  }

  void associatedOpenCommand() {
    QCOMPARE(AssociatedOpenCommand("HTM"), QString());
    write(at("data/applications/firefox-esr.desktop"),
          entry("/usr/lib/firefox-esr/firefox-esr %u"));
    write(at("config/mimeapps.list"), defaults("text/html=firefox-esr.desktop\n"));
    QCOMPARE(AssociatedOpenCommand("HTM"), QStringLiteral("/usr/lib/firefox-esr/firefox-esr"));
    QCOMPARE(AssociatedOpenCommand("html"), QStringLiteral("/usr/lib/firefox-esr/firefox-esr"));
    QCOMPARE(AssociatedOpenCommand("TXT"), QString());
    // An unreadable list counts as naming nothing.
    QFile::setPermissions(at("config/mimeapps.list"), QFileDevice::WriteOwner);
    if (!QFile(at("config/mimeapps.list")).open(QIODevice::ReadOnly))
      QCOMPARE(AssociatedOpenCommand("HTM"), QString());
  }

  void families_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("family");
    const int moz = int(BrowserFamily::Mozilla), chr = int(BrowserFamily::Chromium),
              none = int(BrowserFamily::None);
    QTest::newRow("firefox-esr") << "/usr/lib/firefox-esr/firefox-esr" << moz;
    QTest::newRow("flatpak firefox") << "/usr/bin/flatpak run org.mozilla.firefox @@u" << moz;
    QTest::newRow("librewolf") << "librewolf" << moz;
    QTest::newRow("waterfox") << "/opt/waterfox/Waterfox" << moz;
    QTest::newRow("iceweasel") << "iceweasel" << moz;
    QTest::newRow("seamonkey") << "SeaMonkey" << moz;
    QTest::newRow("netscape") << "C:\\NETSCAPE.EXE" << moz;
    QTest::newRow("chromium") << "/usr/bin/chromium" << chr;
    QTest::newRow("chrome") << "/usr/bin/google-chrome-stable" << chr;
    QTest::newRow("brave") << "brave-browser-stable" << chr;
    QTest::newRow("vivaldi") << "vivaldi-stable" << chr;
    QTest::newRow("msedge") << "/opt/microsoft/msedge/msedge" << chr;
    QTest::newRow("microsoft-edge") << "microsoft-edge-stable" << chr;
    QTest::newRow("opera") << "opera" << chr;
    QTest::newRow("both") << "chromium --with firefox" << moz;
    QTest::newRow("epiphany") << "epiphany" << none;
    QTest::newRow("empty") << "" << none;
  }
  void families() {
    QFETCH(QString, command);
    QFETCH(int, family);
    QCOMPARE(int(BrowserFamilyOf(command)), family);
  }
};

QTEST_GUILESS_MAIN(TestDefaultBrowser)
#include "tst_defaultbrowser.moc"
