#include <QMimeData>
#include <QTest>

#include "editing/ForeignLinks.h"
#include "editing/LinkMime.h"
#include "store/LinkList.h"

using namespace vorlix;

namespace {

QByteArray utf16le(const QString& s, bool bom) {
  QByteArray out = bom ? QByteArray("\xFF\xFE", 2) : QByteArray();
  for (QChar c : s) {
    out.append(char(c.unicode() & 0xFF));
    out.append(char(c.unicode() >> 8));
  }
  return out;
}

QByteArray utf16be(const QString& s) {
  QByteArray out("\xFE\xFF", 2);
  for (QChar c : s) {
    out.append(char(c.unicode() >> 8));
    out.append(char(c.unicode() & 0xFF));
  }
  return out;
}

using Links = std::vector<ForeignLink>;

QStringList names(const std::vector<LinkRecord>& records) {
  QStringList out;
  for (const LinkRecord& r : records) out << fromAnsi(r.fullName()) + '|' + fromAnsi(r.url());
  return out;
}

}  // namespace

class TestLinkMime : public QObject {
  Q_OBJECT

 private slots:
  void mozUrlInEveryEncoding() {
    const QString text = QStringLiteral("https://example.org/caf\u00E9\nCaf\u00E9 \u65E5\u672C");
    const Links want = {{QStringLiteral("https://example.org/caf\u00E9"),
                         QStringLiteral("Caf\u00E9 \u65E5\u672C")}};
    QCOMPARE(LinksFromMozUrl(utf16le(text, true)), want);
    QCOMPARE(LinksFromMozUrl(utf16le(text, false)), want);
    QCOMPARE(LinksFromMozUrl(utf16be(text)), want);
    QCOMPARE(LinksFromMozUrl(text.toUtf8()), want);
    QCOMPARE(LinksFromMozUrl("\xEF\xBB\xBF" + text.toUtf8()), want);
    // A trailing zero, CRLF and several links; a URL without title.
    QCOMPARE(LinksFromMozUrl(utf16le(QStringLiteral("http://a/\r\nA\r\nhttp://b/\r\nB\n"
                                                    "http://c/") +
                                         QChar(0),
                                     false)),
             Links({{"http://a/", "A"}, {"http://b/", "B"}, {"http://c/", ""}}));
  }

  void otherFormats() {
    QCOMPARE(LinksFromUriList("# comment\r\nhttp://a/x%20y\r\n\r\nfile:///tmp/f\r\n"),
             Links({{"http://a/x%20y", ""}, {"file:///tmp/f", ""}}));
    QCOMPARE(LinksFromHtml(QStringLiteral(
                 "<meta charset=utf-8><p>See <A class=x HREF=\"http://a/?p=1&amp;q=2\">"
                 "<b>Tom</b> &amp;\n Jerry</A>, <a href='rel/page'>relative</a> and "
                 "<a href=https://b/>b</a></p>")),
             Links({{"http://a/?p=1&q=2", "Tom & Jerry"}, {"https://b/", "b"}}));
    QCOMPARE(LinksFromPlainText(QStringLiteral(" https://a.org/x \nmailto:me@b.org\n\n")),
             Links({{"https://a.org/x", ""}, {"mailto:me@b.org", ""}}));
    QVERIFY(LinksFromPlainText(QStringLiteral("read https://a.org/ later")).empty());
    QVERIFY(LinksFromPlainText(QStringLiteral("C:\\notes.txt")).empty());
  }

  void brokenHtmlEndsTheScanWithoutLosingEarlierLinks_data() {
    QTest::addColumn<QString>("tail");
    QTest::newRow("quote never closed")
        << QStringLiteral("<a href=\"http://x/ ") + QString(5000, 'x');
    QTest::newRow("tag never closed")
        << QStringLiteral("<a href=http://x/ title=") + QString(5000, '<');
    QTest::newRow("anchor never closed")
        << QString(QStringLiteral("<a href=http://x/>x ")).repeated(500);
    QTest::newRow("no href, and a lookalike") << QStringLiteral(
        "<a name=n>n</a><abbr href=http://x/>x</abbr><a data-href=http://x/>x</a>");
  }
  void brokenHtmlEndsTheScanWithoutLosingEarlierLinks() {
    QFETCH(QString, tail);
    const QString head = QStringLiteral(
        "<a title='a > b' href=\"http://a/\">A <i>1</i> < 2</a ><A\nHREF = 'http://b/'>B</A\n>");
    QCOMPARE(LinksFromHtml(head + tail), Links({{"http://a/", "A 1 < 2"}, {"http://b/", "B"}}));
  }

  void formatsAreTakenInOrderOfPreference() {
    QMimeData all;
    all.setData(kMozUrlFormat, utf16le(QStringLiteral("http://moz/\nMoz"), false));
    all.setData(kNetscapeUrlFormat, "http://netscape/\nNetscape");
    all.setData(kUriListFormat, "http://uri/\r\n");
    all.setHtml(QStringLiteral("<a href=\"http://html/\">Html</a>"));
    all.setText(QStringLiteral("http://plain/"));
    QCOMPARE(LinksFromMime(all), Links({{"http://moz/", "Moz"}}));

    // X11 hands text/x-moz-url over as a bare uri-list: the title comes
    // from _NETSCAPE_URL.
    QMimeData x11;
    x11.setData(kNetscapeUrlFormat, "http://netscape/\nNetscape");
    x11.setData(kUriListFormat, "http://netscape/\r\n");
    QCOMPARE(LinksFromMime(x11), Links({{"http://netscape/", "Netscape"}}));

    QMimeData page;  // a copied page fragment without a link falls to plain text
    page.setHtml(QStringLiteral("<b>no link</b>"));
    page.setText(QStringLiteral("http://plain/"));
    QCOMPARE(LinksFromMime(page), Links({{"http://plain/", ""}}));

    QMimeData prose;
    prose.setText(QStringLiteral("hello"));
    QVERIFY(LinksFromMime(prose).empty());
  }

  void outgoingFormatsReadBackAndMarkTheOwnCopy() {
    const Links links = {{QStringLiteral("http://a/?x=1&y=\u00E9"), QStringLiteral("A <1>")},
                         {"http://b/", ""}};
    QMimeData mime;
    PutLinksOnMime(mime, links, "mark-1");
    QCOMPARE(LinksFromMime(mime), links);
    QCOMPARE(LinksFromMozUrl(mime.data(kNetscapeUrlFormat)), links);
    QCOMPARE(mime.data(kUriListFormat), QByteArray("http://a/?x=1&y=%C3%A9\r\nhttp://b/\r\n"));
    QCOMPARE(mime.text(), QStringLiteral("http://a/?x=1&y=\u00E9\nhttp://b/\n"));
    QCOMPARE(LinksFromHtml(mime.html()),
             Links({{links[0].url, links[0].title}, {"http://b/", "http://b/"}}));
    QVERIFY(IsOwnCopy(mime, "mark-1"));
    QVERIFY(!IsOwnCopy(mime, "mark-2"));  // another copy, or another instance
    QVERIFY(!IsOwnCopy(mime, QByteArray()));
    QMimeData foreign;
    foreign.setText(QStringLiteral("http://a/"));
    QVERIFY(!IsOwnCopy(foreign, "mark-1"));
  }

  void descriptionsAreMadeValid() {
    // Only '\\' and control characters cannot stay in a name.
    QCOMPARE(DescriptionForLink({"http://a/", QStringLiteral(" What? \"A/B\": x*<y>\\z\t ")}),
             "What? \"A/B\": x*<y> z");
    QCOMPARE(DescriptionForLink({"https://example.org/path/", ""}), "example.org/path");
    QCOMPARE(DescriptionForLink({"http://a/", QStringLiteral("\u65E5\u672C")}),
             "\xE6\x97\xA5\xE6\x9C\xAC");
    QCOMPARE(DescriptionForLink({QString(), QString()}), "Untitled");
    QCOMPARE(DescriptionForLink({"http://a/", QStringLiteral("caf\u00E9 \u20AC")}),
             "caf\xC3\xA9 \xE2\x82\xAC");
  }

  void severalLinksGetFreeNames() {
    LinkList db;
    db.append(LinkRecord::make("Favorites\\F\\News", "http://old/", 0, kKindUrl));
    db.append(LinkRecord::make("Favorites\\F\\Sub\\deep", "http://d/", 0, kKindUrl));
    db.append(LinkRecord::make("Favorites\\Other\\Mail", "http://m/", 0, kKindUrl));
    const Links links = {{"http://1/", "news"}, {"http://2/", "News"},  {"http://3/", "Sub"},
                         {"http://4/", "Mail"}, {"https://x.org/", ""}, {"http://5/", "x.org"}};
    QCOMPARE(
        names(RecordsForLinks(db, "Favorites\\F\\", links, 7)),
        QStringList({"Favorites\\F\\news (2)|http://1/", "Favorites\\F\\News (3)|http://2/",
                     "Favorites\\F\\Sub (2)|http://3/", "Favorites\\F\\Mail|http://4/",
                     "Favorites\\F\\x.org|https://x.org/", "Favorites\\F\\x.org (2)|http://5/"}));
    // A long title keeps its number inside the record's 255 characters.
    const QString longTitle(300, QLatin1Char('t'));
    const auto twice = RecordsForLinks(db, "Favorites\\F\\",
                                       {{"http://a/", longTitle}, {"http://b/", longTitle}}, 7);
    QCOMPARE(twice.size(), size_t(2));
    QCOMPARE(twice[0].fullName().size(), size_t(255));
    QCOMPARE(twice[1].fullName().size(), size_t(255));
    QVERIFY(twice[1].fullName().ends_with("t (2)"));
    QCOMPARE(twice[1].dateStamp(), 7u);
    QVERIFY(twice[1].isUrl());
  }
};

QTEST_MAIN(TestLinkMime)
#include "tst_linkmime.moc"
