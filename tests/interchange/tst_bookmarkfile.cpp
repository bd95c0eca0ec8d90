#include <unistd.h>

#include <QDateTime>
#include <QTemporaryDir>
#include <QTest>
#include <random>

#include "interchange/BookmarkFile.h"
#include "store/Ansi.h"
#include "store/DosDate.h"
#include "store/LdbFile.h"
#include "support/Files.h"
#include "support/Records.h"

using namespace vorlix;
using vorlix::test::describe;

namespace {

constexpr std::uint32_t kImportTime = (45u << 25) | (6u << 21) | (15u << 16) | (12u << 11);

std::uint32_t dos(qint64 secs) { return toDosDateTime(QDateTime::fromSecsSinceEpoch(secs)); }

BookmarkImport parse(const QByteArray& bytes) {
  return ParseBookmarks(bytes, kImportTime, QStringLiteral("/home/u/bookmarks.html"));
}

const QByteArray kDoctype = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n";

}  // namespace

class TestBookmarkFile : public QObject {
  Q_OBJECT

 private slots:
  void readsEveryQuirkOfRealFiles() {
    const QByteArray icon = "data:image/png;base64," + QByteArray(400 * 1024, 'Q');
    const QByteArray file =
        "\xEF\xBB\xBF" + kDoctype +
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">\r\n"
        "<Title>Bookmarks</Title><h1>Bookmarks</h1>\r\n"
        "<dl><p>\r\n"
        "  <dt><a href=http://unquoted.org/x?a=1&b=2 add_date=1600000000>Raw & unquoted</a>\r\n"
        "  <DT><A HREF='http://single.org/' ICON=\"" +
        icon +
        "\" TAGS=\"x,y\" FOO=bar LAST_CHARSET=\"UTF-8\">Single</A>\r\n"
        "  <DD>A description with a <b>tag</b> is ignored\r\n"
        "  <HR>  <DT><H3 ADD_DATE=\"1600000000\">Folder</H3>\r\n"
        "  <DD>folder description\r\n"
        "  <DL><p>\r\n"
        "    <DT><A HREF=\"javascript:alert(1)\">Bookmarklet</A>\r\n"
        "    <DT><A HREF=\"place:sort=8&amp;maxResults=10\">Most Visited</A>\r\n"
        "  </DL><p>\r\n"
        "</DL><p>\r\n"
        "</DL>\r\n";
    const BookmarkImport r = parse(file);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(describe(r.links),
             QStringList({"Favorites\\Raw & unquoted|http://unquoted.org/x?a=1&b=2|Url",
                          "Favorites\\Single|http://single.org/|Url", "Favorites\\Folder\\||Folder",
                          "Favorites\\Folder\\Bookmarklet|javascript:alert(1)|Url",
                          "Favorites\\Folder\\Most Visited|place:sort=8&maxResults=10|Url"}));
    QCOMPARE(r.linkCount, size_t(4));
    QCOMPARE(r.folderCount, size_t(1));
    QCOMPARE(r.lossyTitles, size_t(0));
    QCOMPARE(r.links[0].dateStamp(), dos(1600000000));
    QCOMPARE(r.links[1].dateStamp(), kImportTime);
    QCOMPARE(r.links[2].dateStamp(), dos(1600000000));
  }

  void decodesTextIntoTheCodePage() {
    const QByteArray file = kDoctype +
                            "<DL><p>\n"
                            "<DT><A HREF=\"http://a/?q=1&amp;r=&#50;\">&lt;Tom&gt; &amp; "
                            "&quot;Jerry&quot; &eacute;&#233;&#xE9; &euro;&#8364; &#150;</A>\n"
                            "<DT><A HREF=\"http://b/\">back\\slash caf\xC3\xA9 \xE2\x82\xAC "
                            "\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80 &bogus; &</A>\n"
                            "<DT><A HREF=\"http://c/\">latin1 caf\xE9</A>\n"
                            "<DT><A HREF=\"https://\xE4\xBE\x8B.jp/\xE6\x97\xA5\"></A>\n"
                            "<DT><A HREF=\"http://d/\">" +
                            QByteArray(300, 'x') + "</A>\n</DL>\n";
    const BookmarkImport r = parse(file);
    QVERIFY(r.ok);
    QCOMPARE(r.links.size(), size_t(5));
    QCOMPARE(r.links[0].url(), "http://a/?q=1&r=2");
    QCOMPARE(fromAnsi(r.links[0].fullName()),
             QStringLiteral("Favorites\\<Tom> & \"Jerry\" \u00E9\u00E9\u00E9 \u20AC\u20AC \u2013"));
    QCOMPARE(r.links[0].storedFullName(),
             "Favorites\\<Tom> & \"Jerry\" \xE9\xE9\xE9 \x80\x80 \x96");
    // '\' cannot make a folder; every other character is kept.
    QCOMPARE(
        fromAnsi(r.links[1].fullName()),
        QStringLiteral("Favorites\\back/slash caf\u00E9 \u20AC \u65E5\u672C \U0001F600 &bogus; &"));
    QCOMPARE(fromAnsi(r.links[2].fullName()), QStringLiteral("Favorites\\latin1 caf\u00E9"));
    // A URL is kept as written; a link without a title is named by its URL.
    QCOMPARE(fromAnsi(r.links[3].url()), QStringLiteral("https://\u4F8B.jp/\u65E5"));
    QCOMPARE(fromAnsi(r.links[3].fullName()), QStringLiteral("Favorites\\\u4F8B.jp/\u65E5"));
    QCOMPARE(r.links[4].fullName().size(), size_t(255));
    QCOMPARE(r.lossyTitles, size_t(1));  // the cut one
  }

  void datesInSecondsMillisecondsAndMicroseconds() {
    const QByteArray file = kDoctype +
                            "<DL><DT><A HREF=x:1 ADD_DATE=1600000000>s</A>"
                            "<DT><A HREF=x:2 ADD_DATE=1600000000123>ms</A>"
                            "<DT><A HREF=x:3 ADD_DATE=1600000000123456>us</A>"
                            "<DT><A HREF=x:4 ADD_DATE=\"\">none</A>"
                            "<DT><A HREF=x:5 ADD_DATE=-5>negative</A>"
                            "<DT><A HREF=x:6 ADD_DATE=99999999999999999999999>huge</A></DL>";
    const BookmarkImport r = parse(file);
    QVERIFY(r.ok);
    QCOMPARE(r.links.size(), size_t(6));
    for (size_t i = 0; i < 3; ++i) QCOMPARE(r.links[i].dateStamp(), dos(1600000000));
    for (size_t i = 3; i < 6; ++i) QCOMPARE(r.links[i].dateStamp(), kImportTime);
  }

  void nestingSurvivesMissingAndExtraListEnds() {
    const QByteArray file = kDoctype +
                            "<DL><p>\n"
                            "<DT><H3>Empty</H3>\n"  // no <DL> of its own
                            "<DT><H3>A</H3>\n<DL><p>\n"
                            "<DT><A HREF=x:a>in A</A>\n"
                            "</DL><p></DL><p></DL><p>\n"  // two extra
                            "<DT><A HREF=x:r>in root</A>\n"
                            "<DT><H3>B</H3><DL><p><DT><H3>C</H3><DL><DT><A HREF=x:c>in C</A>\n";
    const BookmarkImport r = parse(file);  // B and C never closed
    QVERIFY(r.ok);
    QCOMPARE(describe(r.links),
             QStringList({"Favorites\\Empty\\||Folder", "Favorites\\A\\||Folder",
                          "Favorites\\A\\in A|x:a|Url", "Favorites\\in root|x:r|Url",
                          "Favorites\\B\\||Folder", "Favorites\\B\\C\\||Folder",
                          "Favorites\\B\\C\\in C|x:c|Url"}));
  }

  void namesUsedTwiceAreNumberedAndEmptyOnesFilled() {
    const QByteArray file = kDoctype +
                            "<DL><DT><A HREF=x:1>Same</A><DT><A HREF=x:2>same</A>"
                            "<DT><H3>Same</H3><DL><DT><A HREF=x:3>in</A></DL>"
                            "<DT><H3></H3><DL></DL>"
                            "<DT><A HREF=\"https://example.org/\"></A>"
                            "<DT><A NAME=anchor>not a link</A></DL>";
    const BookmarkImport r = parse(file);
    QVERIFY(r.ok);
    QCOMPARE(describe(r.links),
             QStringList({"Favorites\\Same|x:1|Url", "Favorites\\same (2)|x:2|Url",
                          "Favorites\\Same (3)\\||Folder", "Favorites\\Same (3)\\in|x:3|Url",
                          "Favorites\\Untitled\\||Folder",
                          "Favorites\\example.org|https://example.org/|Url"}));
  }

  void deepFoldersStayInsideTheRecord() {
    // 60 levels of 8-character names need 540 characters of path: the
    // levels past the record's room put their content in the deepest one
    // that fits, and no record loses its folder's trailing '\'.
    QByteArray file = kDoctype + "<DL>";
    for (int i = 0; i < 60; ++i)
      file += "<DT><H3>level" + QByteArray::number(100 + i) + "</H3><DL>";
    file += "<DT><A HREF=x:deep>deep</A>";
    const BookmarkImport r = parse(file);
    QVERIFY(r.ok);
    for (const LinkRecord& rec : r.links) {
      QVERIFY(rec.fullName().size() <= 255);
      QCOMPARE(rec.isFolder(), rec.fullName().back() == '\\');
    }
    QCOMPARE(r.links.storage().back().url(), "x:deep");
    QVERIFY(r.links.storage().back().fullName().size() <= 255);
  }

  void refusesWhatIsNoBookmarkFile_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");
    const QString name = QStringLiteral("'/home/u/bookmarks.html'");
    QTest::newRow("empty") << QByteArray() << name + " is empty: it holds no bookmarks.";
    QTest::newRow("bom and blanks")
        << QByteArray("\xEF\xBB\xBF \r\n\t") << name + " is empty: it holds no bookmarks.";
    QTest::newRow("text") << QByteArray("just some notes\nhttp://a.org\n")
                          << name + " is not a bookmark file.";
    QTest::newRow("web page") << QByteArray(
                                     "<html><body><p>See <a href=\"http://a/\">a</a></p></body>"
                                     "</html>")
                              << name + " is not a bookmark file.";
    QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR<<<<\xFF", 20)
                            << name + " is not a bookmark file.";
  }

  void refusesWhatIsNoBookmarkFile() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    const BookmarkImport r = parse(bytes);
    QVERIFY(!r.ok);
    QCOMPARE(r.error, error);
    QVERIFY(r.links.empty());
  }

  void acceptsAListWithoutDoctypeAndAnEmptyExport() {
    QVERIFY(parse("<DL><DT><A HREF=x:1>one</A></DL>").ok);
    const BookmarkImport empty = parse(kDoctype + "<TITLE>Bookmarks</TITLE><DL><p>\n</DL><p>\n");
    QVERIFY(empty.ok);
    QVERIFY(empty.links.empty());
  }

  void readsUtf16Files() {
    const QString text =
        QString::fromUtf8(kDoctype + "<DL><DT><A HREF=\"http://a/\">caf\xC3\xA9</A></DL>");
    QByteArray le("\xFF\xFE", 2);
    le.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    const BookmarkImport r = parse(le);
    QVERIFY(r.ok);
    QCOMPARE(describe(r.links),
             QStringList({QStringLiteral("Favorites\\caf\u00E9|http://a/|Url")}));
  }

  void readsFirefoxAndChromiumExports() {
    const QByteArray firefox =
        "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
        "<!-- This is an automatically generated file.\n"
        "     It will be read and overwritten.\n"
        "     DO NOT EDIT! -->\n"
        "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
        "<meta http-equiv=\"Content-Security-Policy\"\n"
        "      content=\"default-src 'self'; script-src 'none'; img-src data: *; object-src "
        "'none'\"></meta>\n"
        "<TITLE>Bookmarks</TITLE>\n"
        "<H1>Bookmarks Menu</H1>\n\n"
        "<DL><p>\n"
        "    <DT><A HREF=\"https://www.mozilla.org/en-US/firefox/central/\" "
        "ADD_DATE=\"1600000000\" LAST_MODIFIED=\"1600000001\" "
        "ICON_URI=\"https://www.mozilla.org/favicon.ico\" ICON=\"data:image/png;base64,iVBO\">"
        "Getting Started</A>\n"
        "    <HR>    <DT><H3 ADD_DATE=\"1600000000\" LAST_MODIFIED=\"1600000002\" "
        "PERSONAL_TOOLBAR_FOLDER=\"true\">Bookmarks Toolbar</H3>\n"
        "    <DD>Add bookmarks to this folder to see them displayed on the Bookmarks Toolbar\n"
        "    <DL><p>\n"
        "        <DT><A HREF=\"https://example.com/?a=1&amp;b=2\" ADD_DATE=\"1600000000\" "
        "LAST_MODIFIED=\"1600000000\" SHORTCUTURL=\"ex\" TAGS=\"news,daily\">Example &amp; "
        "co</A>\n"
        "        <DD>Notes about it\n"
        "    </DL><p>\n"
        "    <DT><H3 ADD_DATE=\"1600000000\" LAST_MODIFIED=\"1600000000\" "
        "UNFILED_BOOKMARKS_FOLDER=\"true\">Other Bookmarks</H3>\n"
        "    <DL><p>\n"
        "    </DL><p>\n"
        "</DL>\n";
    const BookmarkImport ff = parse(firefox);
    QVERIFY(ff.ok);
    QCOMPARE(describe(ff.links),
             QStringList({"Favorites\\Getting Started|https://www.mozilla.org/en-US/firefox/"
                          "central/|Url",
                          "Favorites\\Bookmarks Toolbar\\||Folder",
                          "Favorites\\Bookmarks Toolbar\\Example & co|https://example.com/"
                          "?a=1&b=2|Url",
                          "Favorites\\Other Bookmarks\\||Folder"}));

    const QByteArray chromium =
        "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
        "<!-- This is an automatically generated file.\n"
        "     It will be read and overwritten.\n"
        "     DO NOT EDIT! -->\n"
        "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
        "<TITLE>Bookmarks</TITLE>\n"
        "<H1>Bookmarks</H1>\n"
        "<DL><p>\n"
        "    <DT><H3 ADD_DATE=\"1600000000\" LAST_MODIFIED=\"1600000100\" "
        "PERSONAL_TOOLBAR_FOLDER=\"true\">Bookmarks bar</H3>\n"
        "    <DL><p>\n"
        "        <DT><A HREF=\"https://www.chromium.org/\" ADD_DATE=\"1600000000\" "
        "ICON=\"data:image/png;base64,iVBO\">The Chromium Projects</A>\n"
        "        <DT><H3 ADD_DATE=\"1600000000\" LAST_MODIFIED=\"0\">Dev</H3>\n"
        "        <DL><p>\n"
        "            <DT><A HREF=\"https://source.chromium.org/\" ADD_DATE=\"1600000000\">Code "
        "search</A>\n"
        "        </DL><p>\n"
        "    </DL><p>\n"
        "    <DT><A HREF=\"https://other.example/\" ADD_DATE=\"1600000000\">Other one</A>\n"
        "</DL><p>\n";
    const BookmarkImport cr = parse(chromium);
    QVERIFY(cr.ok);
    QCOMPARE(describe(cr.links),
             QStringList({"Favorites\\Bookmarks bar\\||Folder",
                          "Favorites\\Bookmarks bar\\The Chromium Projects|https://www.chromium"
                          ".org/|Url",
                          "Favorites\\Bookmarks bar\\Dev\\||Folder",
                          "Favorites\\Bookmarks bar\\Dev\\Code search|https://source.chromium"
                          ".org/|Url",
                          "Favorites\\Other one|https://other.example/|Url"}));
  }

  void writesWhatBrowsersRead() {
    LinkList db;
    const std::uint32_t d = dos(1600000000);
    db.append(LinkRecord::make("Favorites\\Top link", "http://t/?a=1&b=\"2\"", d, kKindUrl));
    // B has no record of its own: its parent A is still written.
    db.append(LinkRecord::make("Favorites\\A\\B\\<deep> & caf\xE9", "http://d/", d, kKindUrl));
    db.append(LinkRecord::make("Favorites\\A\\", "", d, kKindFolder));
    db.append(LinkRecord::make("Favorites\\A\\second", "http://s/", 0, kKindUrl));
    const QByteArray out = FormatBookmarks(db);
    const QList<QByteArray> lines = out.split('\n');
    QCOMPARE(lines.value(0), QByteArray("<!DOCTYPE NETSCAPE-Bookmark-file-1>"));
    QVERIFY(
        out.contains("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">"));
    QVERIFY(out.contains("<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks</H1>\n"));
    const QByteArray body = out.mid(out.indexOf("<DL><p>"));
    const QByteArray secs = "1600000000";
    QCOMPARE(body,
             "<DL><p>\n"
             "    <DT><A HREF=\"http://t/?a=1&amp;b=&quot;2&quot;\" ADD_DATE=\"" +
                 secs +
                 "\">Top link</A>\n"
                 "    <DT><H3 ADD_DATE=\"" +
                 secs + "\" LAST_MODIFIED=\"" + secs +
                 "\">A</H3>\n"
                 "    <DL><p>\n"
                 "        <DT><H3>B</H3>\n"
                 "        <DL><p>\n"
                 "            <DT><A HREF=\"http://d/\" ADD_DATE=\"" +
                 secs +
                 "\">&lt;deep&gt; &amp; caf\xC3\xA9</A>\n"
                 "        </DL><p>\n"
                 "        <DT><A HREF=\"http://s/\">second</A>\n"
                 "    </DL><p>\n"
                 "</DL><p>\n");
  }

  void importExportImportKeepsTheRecords() {
    LinkList db;
    std::mt19937 rng(7);
    const char* folders[] = {"Favorites\\", "Favorites\\News\\", "Favorites\\News\\Deep\\",
                             "Favorites\\ edge \\"};
    for (const char* f : folders)
      if (std::string_view(f) != "Favorites\\")
        db.append(LinkRecord::make(f, "", dos(1500000000), kKindFolder));
    for (int i = 0; i < 200; ++i) {
      std::string name = "link " + std::to_string(i);
      // Every byte a title can hold, edge blanks included; never '\' nor a
      // control character (C1 ones are what the code page's unassigned
      // bytes stand for), which an import drops.
      for (int k = 0; k < 6; ++k) {
        char c = char(rng() % 255 + 1);
        const QChar u(unicodeFromAnsi(static_cast<unsigned char>(c)));
        if (c == '\\' || u.category() == QChar::Other_Control) c = '/';
        name.insert(name.begin() + long(rng() % name.size()), c);
      }
      if (i % 17 == 0) name = " " + name + " ";
      const std::string folder = folders[i % 4];
      db.append(LinkRecord::make(folder + name, "http://e/" + std::to_string(i) + "?x=<\"&'>",
                                 dos(1500000000 + i * 86402), kKindUrl));
    }
    const BookmarkImport first = parse(FormatBookmarks(db));
    QVERIFY(first.ok);
    QCOMPARE(first.linkCount, size_t(200));
    const QByteArray exported = FormatBookmarks(first.links);
    const BookmarkImport second = parse(exported);
    QVERIFY(second.ok);
    QCOMPARE(second.links.size(), first.links.size());
    for (size_t i = 0; i < first.links.size(); ++i)
      QVERIFY2(first.links[i].raw == second.links[i].raw, qPrintable(QString::number(i)));
    QCOMPARE(FormatBookmarks(second.links), exported);
    // Nothing was renamed or lost on the way: the same names as the source.
    QStringList a = describe(db), b = describe(first.links);
    a.sort();
    b.sort();
    QCOMPARE(b, a);
  }

  void truncatedAndMutatedFilesNeverBreakTheReader() {
    LinkList db;
    for (int i = 0; i < 40; ++i)
      db.append(
          LinkRecord::make("Favorites\\F" + std::to_string(i % 5) + "\\L&<" + std::to_string(i),
                           "http://x/?" + std::to_string(i), dos(1600000000), kKindUrl));
    const QByteArray good = FormatBookmarks(db);
    std::mt19937 rng(12);
    const char noise[] =
        "<>\"'&;#/=! \n\0\xFF\xC3"
        "DLdtAH3";
    auto check = [&](const QByteArray& bytes) {
      const BookmarkImport r = parse(bytes);
      QCOMPARE(r.ok, r.error.isEmpty());
      for (const LinkRecord& rec : r.links) {
        QVERIFY(startsWith(rec.fullName(), "Favorites\\"));
        QCOMPARE(rec.isFolder(), rec.fullName().back() == '\\');
      }
    };
    for (qsizetype cut = 0; cut < good.size(); cut += 7) check(good.left(cut));
    for (int round = 0; round < 3000; ++round) {
      QByteArray bytes = good;
      const int edits = 1 + int(rng() % 12);
      for (int e = 0; e < edits; ++e) {
        const qsizetype at = qsizetype(rng() % size_t(bytes.size()));
        switch (rng() % 3) {
          case 0:
            bytes[at] = noise[rng() % (sizeof(noise) - 1)];
            break;
          case 1:
            bytes.remove(at, qsizetype(rng() % 40));
            break;
          default:
            bytes.insert(at, bytes.mid(qsizetype(rng() % size_t(bytes.size())), 30));
        }
      }
      check(bytes);
      if (QTest::currentTestFailed()) return;
    }
  }

  void filesOnDisk() {
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("out/bookmarks.html"));
    LinkList db;
    db.append(LinkRecord::make("Favorites\\x", "http://x/", dos(1600000000), kKindUrl));
    QString error;
    QVERIFY(WriteBookmarkFile(path, db, &error));
    QCOMPARE(test::readFile(path), FormatBookmarks(db));
    const BookmarkImport back = ReadBookmarkFile(path);
    QVERIFY(back.ok);
    QCOMPARE(describe(back.links), describe(db));

    const QString missing = tmp.filePath(QStringLiteral("missing.html"));
    QCOMPARE(ReadBookmarkFile(missing).error, "Cannot read '" + missing + "': File not found.");
    QCOMPARE(ReadBookmarkFile(tmp.path()).error, "'" + tmp.path() + "' is not a bookmark file.");

    // A failed write leaves the old file whole.
    QFile::setPermissions(tmp.filePath(QStringLiteral("out")), QFile::ReadOwner | QFile::ExeOwner);
    LinkList other;
    other.append(LinkRecord::make("Favorites\\y", "http://y/", 0, kKindUrl));
    if (::geteuid() != 0) {
      QVERIFY(!WriteBookmarkFile(path, other, &error));
      QVERIFY(!error.isEmpty());
      QCOMPARE(test::readFile(path), FormatBookmarks(db));
    }
    QFile::setPermissions(tmp.filePath(QStringLiteral("out")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }

  // Faults of the reader: each row is a file and the records it must give.
  void foreignFilesGiveOnlyTheirBookmarks_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("records");
    // A name made from a URL holding '\\' invented folders that grew with
    // each export and import.
    QTest::newRow("backslash in url name")
        << QByteArray(kDoctype + "<DL><DT><A HREF=\"http://h/a\\b\\c\"></A></DL>")
        << QStringList{"Favorites\\h/a/b/c|http://h/a\\b\\c|Url"};
    // A thumbnail link in a description is part of the description.
    QTest::newRow("link in description")
        << QByteArray(kDoctype +
                      "<DL><DT><A HREF=\"http://a/\">A</A>\n<DD>See <a href=\"http://thumb/\">"
                      "<img src=x></a> here\n<DT><A HREF=\"http://b/\">B</A></DL>")
        << QStringList{"Favorites\\A|http://a/|Url", "Favorites\\B|http://b/|Url"};
    // Other programs' parsers take bare <DT><A HREF> entries.
    QTest::newRow("entries without doctype or list")
        << QByteArray("<DT><A HREF=\"http://a/\">A</A>\n<DT><A HREF=\"http://b/\">B</A>\n")
        << QStringList{"Favorites\\A|http://a/|Url", "Favorites\\B|http://b/|Url"};
    // NUL and other control characters came back as '?'.
    QTest::newRow("control characters")
        << QByteArray(kDoctype +
                      "<DL><DT><A HREF=x:1>a\x01"
                      "b&#7;c\x7F</A><DT><H3>f\x1Fo&#x9d;ld</H3><DL></DL></DL>")
        << QStringList{"Favorites\\abc|x:1|Url", "Favorites\\fold\\||Folder"};
  }

  void foreignFilesGiveOnlyTheirBookmarks() {
    QFETCH(QByteArray, file);
    QFETCH(QStringList, records);
    const BookmarkImport r = parse(file);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(describe(r.links), records);
    // The export of what was read reads back as the same records.
    QCOMPARE(describe(parse(FormatBookmarks(r.links)).links), records);
  }

  void hugeAddressIsCutAndReported() {
    const QByteArray file = kDoctype + "<DL><DT><A HREF=\"http://big/" + QByteArray(8 << 20, 'x') +
                            "\">Big</A><DT><A HREF=x:2>" + QByteArray(300, 't') + "</A></DL>";
    const BookmarkImport r = parse(file);
    QVERIFY(r.ok);
    QCOMPARE(r.links.size(), size_t(2));
    QCOMPARE(r.links[0].url().size(), size_t(255));
    QCOMPARE(r.report.cutUrls, QStringList{"Favorites\\Big"});
    QCOMPARE(r.report.cutTitles, QStringList{fromAnsi(r.links[1].fullName())});
    QVERIFY(r.report.mergedFolders.isEmpty());
  }

  void importPastWhatADatabaseHoldsIsRefused() {
    // One record more than a .ldb file that Open accepts can hold.
    const QByteArray line = "<DT><A HREF=a>\n";
    const qsizetype items = qsizetype(kMaxLdbRecords) + 1;
    QByteArray file = kDoctype;
    file.reserve(file.size() + items * line.size());
    for (qsizetype i = 0; i < items; ++i) file += line;
    const BookmarkImport r = parse(file);
    QVERIFY(!r.ok);
    QVERIFY(r.links.empty());
    QCOMPARE(r.error, QStringLiteral("'/home/u/bookmarks.html' holds %1 links and folders. With "
                                     "the 0 records already open that is more than the %2 "
                                     "records a database can hold: nothing was imported.")
                          .arg(items)
                          .arg(kMaxLdbRecords));
  }

  void summaryText() {
    BookmarkImport r;
    r.linkCount = 12;
    r.folderCount = 3;
    QCOMPARE(BookmarkImportSummary(r), QStringLiteral("Imported 12 links and 3 folders."));
    r.lossyTitles = 2;
    QCOMPARE(BookmarkImportSummary(r),
             QStringLiteral("Imported 12 links and 3 folders; 2 titles cut to fit."));
  }
};

QTEST_GUILESS_MAIN(TestBookmarkFile)
#include "tst_bookmarkfile.moc"
