#include <sqlite3.h>

#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include "interchange/BookmarkFile.h"
#include "interchange/BrowserSources.h"
#include "interchange/ChromiumBookmarks.h"
#include "interchange/FirefoxPlaces.h"
#include "interchange/ImportBuilder.h"
#include "interchange/ImportFile.h"
#include "interchange/XbelFile.h"
#include "store/DosDate.h"
#include "store/LdbFile.h"
#include "support/Files.h"
#include "support/Records.h"
#include "support/TempDir.h"

using namespace vorlix;
using vorlix::test::describe;
using vorlix::test::writeFile;

namespace {

constexpr std::uint32_t kImportTime = (45u << 25) | (6u << 21) | (15u << 16) | (12u << 11);

QString placesFixture() { return QFINDTESTDATA("data/firefox-places.sqlite"); }

// One line per item, folders as paths: "Menu/News/Title|url|added".
void treeLines(const ImportedFolder& f, const QString& path, QStringList& out) {
  for (const ImportedFolder::Entry& e : f.order) {
    if (e.isFolder) {
      const ImportedFolder& sub = f.folders[e.index];
      out << path + sub.title + QLatin1Char('/');
      treeLines(sub, path + sub.title + QLatin1Char('/'), out);
    } else {
      const ImportedLink& l = f.links[e.index];
      out << path + l.title + QLatin1Char('|') + l.url + QLatin1Char('|') +
                 (l.added ? QString::number(*l.added) : QStringLiteral("-"));
    }
  }
}
QStringList treeLines(const ImportedFolder& root) {
  QStringList out;
  treeLines(root, QString(), out);
  return out;
}

BookmarkImport build(const ImportedBookmarks& tree, const LinkList* existing = nullptr,
                     const QString& into = QString()) {
  BuildOptions options;
  options.importTime = kImportTime;
  options.existing = existing;
  options.intoFolder = into;
  options.sourceName = QStringLiteral("test");
  return BuildImport(tree, options);
}

// Chromium's file with all three roots, in the shape Chromium writes it.
QByteArray chromiumFile() { return test::readFile(QFINDTESTDATA("data/chromium-Bookmarks.json")); }

bool exec(sqlite3* db, const char* sql) {
  char* msg = nullptr;
  const bool ok = sqlite3_exec(db, sql, nullptr, nullptr, &msg) == SQLITE_OK;
  if (!ok) qWarning("%s", msg);
  sqlite3_free(msg);
  return ok;
}

QStringList fileNames(const QString& dir) {
  return QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

}  // namespace

class TestBrowserImport : public QObject {
  Q_OBJECT

 private slots:
  void readsChromiumRootsAndNonLatinTitles() {
    ImportedBookmarks tree;
    QString error;
    QVERIFY2(ParseChromiumBookmarks(chromiumFile(), QStringLiteral("Bookmarks"), tree, &error),
             qPrintable(error));
    QCOMPARE(treeLines(tree.root),
             QStringList({"Bookmarks bar/", "Bookmarks bar/Документы/",
                          "Bookmarks bar/Документы/Главная|https://ru.example/|1600000000",
                          "Bookmarks bar/|https://untitled.example/|-", "Other bookmarks/",
                          "Other bookmarks/日本語|https://jp.example/|1600000000",
                          "Mobile bookmarks/", "Mobile bookmarks/Ελληνικά|https://gr.example/|-"}));
    QVERIFY(!ParseChromiumBookmarks("{\"roots\":", QStringLiteral("B"), tree, &error));
    QCOMPARE(error, QStringLiteral("'B' is not a Chromium bookmark file."));
  }

  void readsPlacesOfARealFirefox() {
    ImportedBookmarks tree;
    QString error;
    QVERIFY2(ReadFirefoxPlaces(placesFixture(), tree, &error), qPrintable(error));
    QCOMPARE(
        treeLines(tree.root),
        QStringList(
            {"Bookmarks Menu/", "Bookmarks Menu/Debian|https://www.debian.org/|1600000000",
             "Bookmarks Menu/Новости/",
             "Bookmarks Menu/Новости/Главная страница|https://news.example/ru|1600000200",
             "Bookmarks Menu/Новости/日本語のページ|https://example.jp/|1600000300",
             "Bookmarks Menu/Tagged page|https://tagged.example/|1600000500", "Bookmarks Toolbar/",
             "Bookmarks Toolbar/On the toolbar|https://toolbar.example/|1600000700",
             "Other Bookmarks/", "Other Bookmarks/Ελληνικά|https://other.example/|1600000900"}));
    using Skip = QPair<QString, qsizetype>;
    QCOMPARE(tree.skipped, (QList<Skip>{{"separators", 1}, {"keyword searches", 1}, {"tags", 2}}));
  }

  void readsPlacesWhileFirefoxHoldsThem() {
    // A running Firefox keeps places.sqlite locked exclusively, with its
    // newest changes only in the write-ahead log.
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("places.sqlite"));
    QVERIFY(QFile::copy(placesFixture(), path));
    sqlite3* firefox = nullptr;
    QCOMPARE(sqlite3_open(path.toUtf8().constData(), &firefox), SQLITE_OK);
    QVERIFY(exec(firefox,
                 "PRAGMA journal_mode=WAL; PRAGMA locking_mode=EXCLUSIVE;"
                 "PRAGMA wal_autocheckpoint=0;"
                 "INSERT INTO moz_places(id, url, guid) VALUES (100, 'https://new.example/', "
                 "'newplace0001');"
                 "INSERT INTO moz_bookmarks(type, fk, parent, position, title, dateAdded, "
                 "guid) VALUES (1, 100, 3, 1, 'Added while open', 1700000000000000, "
                 "'newbookmark1');"));
    const QStringList before = fileNames(tmp.path());
    const QByteArray mainBefore = test::readFile(path);

    ImportedBookmarks tree;
    QString error;
    QVERIFY2(ReadFirefoxPlaces(path, tree, &error), qPrintable(error));
    QVERIFY(treeLines(tree.root).contains(
        "Bookmarks Toolbar/Added while open|https://new.example/|1700000000"));
    // Nothing of the browser's changed, and the browser goes on writing.
    QCOMPARE(fileNames(tmp.path()), before);
    QCOMPARE(test::readFile(path), mainBefore);
    QVERIFY(exec(firefox, "UPDATE moz_bookmarks SET title = 'still mine' WHERE id = 7;"));
    sqlite3_close(firefox);

    QVERIFY(!ReadFirefoxPlaces(tmp.filePath(QStringLiteral("none.sqlite")), tree, &error));
    writeFile(tmp.filePath(QStringLiteral("junk.sqlite")), "not a database at all");
    QVERIFY(!ReadFirefoxPlaces(tmp.filePath(QStringLiteral("junk.sqlite")), tree, &error));
    QVERIFY(error.startsWith("Cannot read '" + tmp.filePath(QStringLiteral("junk.sqlite"))));
  }

  void readsXbelOfFloccusAndKde_data() {
    QTest::addColumn<QByteArray>("xbel");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("separators");
    QTest::newRow("floccus")
        << QByteArray(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<!DOCTYPE xbel PUBLIC \"+//IDN python.org//DTD XML Bookmark Exchange "
               "Language 1.0//EN//XML\" \"http://pyxml.sourceforge.net/topics/dtds/xbel.dtd\">\n"
               "<xbel version=\"1.0\">\n"
               "<!--- highestId :3: for Floccus bookmark sync browser extension -->\n"
               "<folder id=\"1\">\n  <title>Новое</title>\n"
               "  <bookmark href=\"https://a.example/?x=1&amp;y=2\" id=\"2\">\n"
               "    <title>A &lt;1&gt;</title>\n  </bookmark>\n</folder>\n"
               "<bookmark href=\"https://b.example/\" id=\"3\">\n  <title>B</title>\n"
               "</bookmark>\n</xbel>")
        << QStringList{"Новое/", "Новое/A <1>|https://a.example/?x=1&y=2|-",
                       "B|https://b.example/|-"}
        << 0;
    QTest::newRow("kde")
        << QByteArray(
               "<!DOCTYPE xbel>\n<xbel xmlns:bookmark=\"http://www.freedesktop.org/"
               "standards/desktop-bookmarks\" xmlns:mime=\"http://www.freedesktop.org/"
               "standards/shared-mime-info\">\n"
               " <info><metadata owner=\"http://www.kde.org\"><kde_places_version>4"
               "</kde_places_version></metadata></info>\n"
               " <folder folded=\"no\" added=\"2020-09-13T12:26:40Z\">\n"
               "  <title>KDE</title>\n"
               "  <bookmark href=\"file:///home/u\" added=\"1600000000\">\n"
               "   <title>Home</title>\n   <info><metadata owner=\"http://freedesktop.org\">"
               "<bookmark:icon name=\"user-home\"/></metadata></info>\n  </bookmark>\n"
               "  <separator/>\n  <alias ref=\"x\"/>\n"
               " </folder>\n <separator/>\n</xbel>\n")
        << QStringList{"KDE/", "KDE/Home|file:///home/u|1600000000"} << 2;
  }

  void readsXbelOfFloccusAndKde() {
    QFETCH(QByteArray, xbel);
    QFETCH(QStringList, lines);
    QFETCH(int, separators);
    ImportedBookmarks tree;
    QString error;
    QVERIFY2(ParseXbel(xbel, QStringLiteral("x.xbel"), tree, &error), qPrintable(error));
    QCOMPARE(treeLines(tree.root), lines);
    QCOMPARE(tree.skipped.value(0).second, qsizetype(separators));
    // Written again, with the ids it came with, it reads back the same.
    const QByteArray again = FormatXbel(
        tree.root,
        {true, QStringLiteral("- highestId :3: for Floccus bookmark sync browser extension ")});
    ImportedBookmarks back;
    QVERIFY(ParseXbel(again, QStringLiteral("again"), back, &error));
    QCOMPARE(treeLines(back.root), treeLines(tree.root));
    if (QTest::currentDataTag() == QByteArray("floccus")) {
      QCOMPARE(back.root.folders[0].id, QStringLiteral("1"));
      QCOMPARE(back.root.folders[0].links[0].id, QStringLiteral("2"));
      QVERIFY(
          again.contains("<!--- highestId :3: for Floccus bookmark sync browser extension -->"));
    }
    QVERIFY(!ParseXbel("<html><body/></html>", QStringLiteral("x"), tree, &error));
    QVERIFY(!ParseXbel("<xbel><folder>", QStringLiteral("x"), tree, &error));
    QCOMPARE(error, QStringLiteral("'x' is not an XBEL bookmark file."));
  }

  void xbelExportImportKeepsTheRecords() {
    ImportedBookmarks source;
    QVERIFY(ParseChromiumBookmarks(chromiumFile(), QStringLiteral("B"), source, nullptr));
    const BookmarkImport first = build(source);
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("out.xbel"));
    QString error;
    QVERIFY2(WriteExportFile(path, first.links, &error), qPrintable(error));
    ImportedBookmarks read;
    QVERIFY2(ReadImportFile(path, read, &error), qPrintable(error));
    const BookmarkImport second = build(read);
    QCOMPARE(describe(second.links), describe(first.links));
    for (size_t i = 0; i < first.links.size(); ++i)
      QCOMPARE(second.links[i].dateStamp(), first.links[i].dateStamp());
  }

  void xbelLeavesOutWhatXmlCannotCarry() {
    // A Chromium file may escape half a surrogate pair; the writer failed
    // on it half-way and wrote a broken file.
    ImportedFolder root;
    const QString odd = QStringLiteral("a") + QChar(0xD800) + QChar(1) + QChar(0xFFFE) +
                        QStringLiteral("b\U0001F600");
    root.addFolder(odd).addLink({odd, "http://x/" + odd, std::nullopt, odd});
    bool ok = false;
    const QByteArray xml = FormatXbel(root, {}, &ok);
    QVERIFY(ok);
    ImportedBookmarks back;
    QString error;
    QVERIFY2(ParseXbel(xml, QStringLiteral("x"), back, &error), qPrintable(error));
    const QString kept = QStringLiteral("ab\U0001F600");
    QCOMPARE(treeLines(back.root),
             QStringList({kept + "/", kept + "/" + kept + "|http://x/" + kept + "|-"}));
    QCOMPARE(back.root.folders[0].links[0].id, kept);
  }

  void keditbookmarksReadsOurExport() {
    const QString kedit = QStandardPaths::findExecutable(QStringLiteral("keditbookmarks"));
    if (kedit.isEmpty()) QSKIP("KDE's keditbookmarks is not installed");
    ImportedBookmarks source;
    QVERIFY(ParseChromiumBookmarks(chromiumFile(), QStringLiteral("B"), source, nullptr));
    const BookmarkImport ours = build(source);
    QTemporaryDir tmp;
    const QString xbel = tmp.filePath(QStringLiteral("ours.xbel"));
    const QString html = tmp.filePath(QStringLiteral("kde.html"));
    QVERIFY(WriteXbelFile(xbel, ours.links));
    QProcess p;
    p.start(kedit, {QStringLiteral("--exportmoz"), html, xbel});
    QVERIFY(p.waitForFinished(60000));
    const BookmarkImport back = ReadBookmarkFile(html);
    QVERIFY2(back.ok, qPrintable(back.error));
    QCOMPARE(describe(back.links), describe(ours.links));
  }

  void repeatedImportAddsOnlyWhatIsNew() {
    ImportedBookmarks tree;
    QVERIFY(ParseChromiumBookmarks(chromiumFile(), QStringLiteral("B"), tree, nullptr));
    LinkList db;
    db.append(LinkRecord::make("Favorites\\Chromium (Default)\\x", "https://keep/", 0, kKindUrl));
    db.append(LinkRecord::make("Favorites\\Elsewhere", "https://jp.example/", 0, kKindUrl));
    const QString into = QStringLiteral("Chromium (Default)");
    const BookmarkImport first = build(tree, &db, into);
    QVERIFY(first.ok);
    QCOMPARE(first.linkCount, size_t(4));  // a link elsewhere is no reason to skip
    QCOMPARE(first.folderCount, size_t(4));
    for (const LinkRecord& r : first.links) db.append(r);

    const BookmarkImport again = build(tree, &db, into);
    QVERIFY(again.ok);
    QVERIFY(again.links.empty());
    QCOMPARE(again.knownLinks, size_t(4));

    // A link the browser gained since goes into the folder that exists.
    tree.root.folders[0].addLink({"New", "https://new/", std::nullopt, QString()});
    const BookmarkImport third = build(tree, &db, into);
    QCOMPARE(describe(third.links),
             QStringList{"Favorites\\Chromium (Default)\\Bookmarks bar\\New|https://new/|Url"});
    QCOMPARE(third.target, AnsiString("Favorites\\Chromium (Default)\\"));
  }

  void findsProfilesInEveryLocation() {
    test::IsolatedHome home;
    const QString h = home.path(), c = home.path(QStringLiteral("config"));
    const QString places = placesFixture();
    auto firefox = [&](const QString& dir, const QByteArray& profilesIni,
                       const QStringList& profiles, const QByteArray& installsIni = {}) {
      writeFile(dir + "/profiles.ini", profilesIni);
      if (!installsIni.isEmpty()) writeFile(dir + "/installs.ini", installsIni);
      for (const QString& p : profiles) {
        QDir().mkpath(dir + '/' + p);
        QVERIFY(QFile::copy(places, dir + '/' + p + "/places.sqlite"));
      }
    };
    const QByteArray one = "[Profile0]\nName=default-release\nIsRelative=1\nPath=p.default\n";
    // The install's default wins over the older Default=1 mark.
    firefox(h + "/.mozilla/firefox",
            "[Profile1]\nName=old\nIsRelative=1\nPath=a.old\nDefault=1\n\n"
            "[Profile0]\nName=work\nIsRelative=1\nPath=b.work\n",
            {"a.old", "b.work"}, "[4F96D1932A9F858E]\nDefault=b.work\nLocked=1\n");
    writeFile(h + "/.mozilla/firefox/b.work/compatibility.ini",
              "[Compatibility]\nLastPlatformDir=/usr/lib/firefox-esr\n");
    firefox(c + "/mozilla/firefox", one, {"p.default"});
    firefox(h + "/snap/firefox/common/.mozilla/firefox", one, {"p.default"});
    firefox(h + "/.var/app/org.mozilla.firefox/.mozilla/firefox", one, {"p.default"});
    firefox(h + "/.librewolf", one, {"p.default"});
    firefox(h + "/.waterfox", one, {"p.default"});
    auto chromium = [&](const QString& dir, const QStringList& profiles) {
      writeFile(dir + "/Local State",
                "{\"profile\":{\"last_used\":\"Profile 1\",\"info_cache\":{\"Profile 1\":"
                "{\"name\":\"Work\"}}}}");
      for (const QString& p : profiles)
        writeFile(dir + (p.isEmpty() ? QString() : '/' + p) + "/Bookmarks", chromiumFile());
    };
    chromium(c + "/google-chrome", {"Default", "Profile 1"});
    chromium(h + "/.var/app/org.chromium.Chromium/config/chromium", {"Default"});
    chromium(c + "/BraveSoftware/Brave-Browser", {"Default"});
    chromium(c + "/vivaldi", {"Default"});
    chromium(h + "/.var/app/com.microsoft.Edge/config/microsoft-edge", {"Default"});
    chromium(c + "/opera", {""});

    std::vector<BrowserSource> found = FindBrowserSources(h, c);
    QStringList lines;
    for (const BrowserSource& s : found)
      lines << s.browser + '|' + s.profile + '|' + (s.isDefault ? "default" : "") + '|' +
                   QDir(h).relativeFilePath(s.path);
    QCOMPARE(lines,
             QStringList({
                 "Firefox ESR|work|default|.mozilla/firefox/b.work/places.sqlite",
                 "Firefox|default-release|default|config/mozilla/firefox/p.default/places.sqlite",
                 "Firefox|default-release|default|snap/firefox/common/.mozilla/firefox/p.default/"
                 "places.sqlite",
                 "Firefox|default-release|default|.var/app/org.mozilla.firefox/.mozilla/firefox/"
                 "p.default/places.sqlite",
                 "Firefox|old||.mozilla/firefox/a.old/places.sqlite",
                 "LibreWolf|default-release|default|.librewolf/p.default/places.sqlite",
                 "Waterfox|default-release|default|.waterfox/p.default/places.sqlite",
                 "Chrome|Work|default|config/google-chrome/Profile 1/Bookmarks",
                 "Chrome|Default||config/google-chrome/Default/Bookmarks",
                 "Chromium|Default|default|.var/app/org.chromium.Chromium/config/chromium/Default/"
                 "Bookmarks",
                 "Brave|Default|default|config/BraveSoftware/Brave-Browser/Default/Bookmarks",
                 "Vivaldi|Default|default|config/vivaldi/Default/Bookmarks",
                 "Edge|Default|default|.var/app/com.microsoft.Edge/config/microsoft-edge/Default/"
                 "Bookmarks",
                 "Opera|Default|default|config/opera/Bookmarks",
             }));
    CountLinks(found);
    QCOMPARE(found.front().links, qsizetype(6));
    QCOMPARE(found.back().links, qsizetype(4));

    QCOMPARE(DefaultSource(found, QStringLiteral("firefox-esr.desktop"))->profile, "work");
    QCOMPARE(DefaultSource(found, QStringLiteral("brave-browser.desktop"))->browser, "Brave");
    QCOMPARE(DefaultSource(found, QStringLiteral("unknown.desktop")), &found.front());
    QCOMPARE(FindSource(found, QStringLiteral("chrome"))->profile, "Work");
    QCOMPARE(FindSource(found, QStringLiteral("Waterfox"))->browser, "Waterfox");
    QCOMPARE(FindSource(found, h + "/.librewolf/p.default")->browser, "LibreWolf");
    QCOMPARE(FindSource(found, QStringLiteral("netscape")), nullptr);
    QVERIFY(FindBrowserSources(h + "/nothing", h + "/nothing/config").empty());
  }

  void allocationFailureIsAMessage() {
    // A million links need more memory than the process may take: the
    // import says so and leaves the database as it was, instead of aborting.
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("AddressSanitizer reserves more address space than the limit allows");
#endif
    QTemporaryDir tmp;
    QByteArray file = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL>\n";
    for (int i = 0; i < 1000000; ++i) file += "<DT><A HREF=a" + QByteArray::number(i) + ">t</A>\n";
    writeFile(tmp.filePath("dense.html"), file);
    LinkList db;
    db.append(LinkRecord::make("Favorites\\kept", "http://kept/", 0, kKindUrl));
    QVERIFY(saveLdbFile(tmp.filePath("db.ldb"), db));
    const QByteArray before = test::readFile(tmp.filePath("db.ldb"));
    QProcess p;
    p.start(QStringLiteral("bash"),
            {"-c", "ulimit -v 600000 && exec \"$0\" \"$@\"", QStringLiteral(VORLIX_EXE), "--import",
             tmp.filePath("dense.html"), tmp.filePath("db.ldb")});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 1);
    QVERIFY(p.readAllStandardError().contains("There is not enough memory to import"));
    QCOMPARE(test::readFile(tmp.filePath("db.ldb")), before);
  }

  void commandLineExitCodes() {
    test::IsolatedHome home;
    const QString h = home.path();
    writeFile(h + "/.mozilla/firefox/profiles.ini",
              "[Profile0]\nName=default-release\nIsRelative=1\nPath=p\nDefault=1\n");
    QDir().mkpath(h + "/.mozilla/firefox/p");
    QVERIFY(QFile::copy(placesFixture(), h + "/.mozilla/firefox/p/places.sqlite"));
    writeFile(h + "/links.html",
              "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><DT><A HREF=\"http://a/\">A</A></DL>\n");
    writeFile(h + "/notes.txt", "just notes\n");
    QDir().mkpath(h + "/folder.ldb");
    struct Case {
      QStringList args;
      int status;
      QString out;  // what stdout (or else stderr) holds
    };
    const QString db = h + "/db.ldb";
    const QList<Case> cases = {
        {{"--import", h + "/links.html", db},
         0,
         "Imported 1 links and 1 folders into Favorites\\links\\"},
        {{"--import", h + "/links.html", db},
         0,
         "Imported 0 links and 0 folders into Favorites\\links\\ of " + db +
             "; 1 links were already"},
        {{"--import", h + "/missing.html", db}, 1, "File not found"},
        {{"--import", h + "/notes.txt", db}, 1, "is not a bookmark file"},
        {{"--import", h + "/links.html", h + "/folder.ldb"}, 1, "cannot open"},
        {{"--import", h + "/links.html"}, 2, "usage: vorlix --import"},
        {{"--list-browsers"},
         0,
         "Firefox\tdefault-release\t6\t" + h + "/.mozilla/firefox/p/places.sqlite\n"},
        {{"--import-browser", "firefox", db}, 0, "Imported 6 links and 5 folders"},
        {{"--import-browser", h + "/.mozilla/firefox/p/places.sqlite", db},
         0,
         "6 links were already there"},
        {{"--import-browser", "netscape", db}, 1, "no browser bookmarks found for netscape"},
        {{"--export", db, h + "/out.xbel"}, 0, "Exported 7 links to"},
        {{"--import", h + "/out.xbel", h + "/fromxbel.ldb"}, 0, "Imported 7 links and 7 folders"},
        {{"--export", h + "/missing.ldb", h + "/out.html"}, 1, "cannot open"},
        {{"--export", db, h + "/notes.txt/out.html"}, 1, "cannot write"},
    };
    for (const Case& c : cases) {
      QProcess p;
      p.start(QStringLiteral(VORLIX_EXE), c.args);
      QVERIFY(p.waitForFinished(60000));
      const QString out = QString::fromUtf8(p.readAllStandardOutput());
      const QString err = QString::fromUtf8(p.readAllStandardError());
      const QString what = c.args.join(' ') + "\n" + out + err;
      QVERIFY2(p.exitStatus() == QProcess::NormalExit && p.exitCode() == c.status,
               qPrintable(what));
      QVERIFY2((c.status == 0 ? out : err).contains(c.out), qPrintable(what));
    }
    LinkList saved;
    QVERIFY(loadLdbFile(db, saved));
    QCOMPARE(saved.size(), size_t(13));
  }
};

QTEST_GUILESS_MAIN(TestBrowserImport)
#include "tst_browserimport.moc"
