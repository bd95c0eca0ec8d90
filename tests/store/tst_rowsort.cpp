#include <QAbstractItemModelTester>
#include <QTest>

#include "store/Collation.h"
#include "store/DosDate.h"
#include "store/LinkList.h"
#include "store/RowSort.h"

using namespace vorlix;

namespace {

ListRow linkRow(const char* caption, std::uint32_t date = 0, const char* url = "",
                const char* kind = "Url", const char* path = "Favorites\\") {
  ListRow r;
  r.caption = caption;
  r.url = url;
  r.date = date;
  r.kind = kind;
  r.path = path;
  r.image = 1;
  return r;
}

ListRow folder(const char* caption) {
  ListRow r = linkRow(caption, 0, "", "Folder");
  r.image = 0;
  return r;
}

std::uint32_t stamp(int y, int m, int d, int h = 12) {
  return toDosDateTime(QDateTime(QDate(y, m, d), QTime(h, 0)));
}

QStringList captions(std::span<const ListRow> rows) {
  QStringList out;
  for (const ListRow& r : rows) out << fromAnsi(r.caption);
  return out;
}

}  // namespace

class TestRowSort : public QObject {
  Q_OBJECT

 private slots:
  void dateTwiceFlipsWithFoldersOnTop() {
    ListRows rows{folder(".."),
                  linkRow("mid", stamp(2005, 6, 1)),
                  folder("Zeta"),
                  linkRow("bad", 0),
                  linkRow("old", stamp(1990, 1, 1)),
                  folder("Alpha"),
                  linkRow("new", stamp(2020, 3, 3))};
    SortRows(rows, ColDate, false);
    QCOMPARE(captions(rows), (QStringList{"..", "Zeta", "Alpha", "bad", "old", "mid", "new"}));
    SortRows(rows, ColDate, true);
    QCOMPARE(captions(rows), (QStringList{"..", "Zeta", "Alpha", "new", "mid", "old", "bad"}));
  }

  void dateComparesTheDayOnly() {
    // The same day at different hours is a tie, so any order is right;
    // an invalid time makes the whole stamp invalid.
    ListRows rows{linkRow("late", stamp(2001, 1, 2, 23)), linkRow("early", stamp(2001, 1, 2, 1)),
                  linkRow("before", stamp(2001, 1, 1, 23)),
                  linkRow("badtime", (stamp(2000, 1, 1) & 0xFFFF0000u) | 0xFFFFu)};
    SortRows(rows, ColDate, false);
    QCOMPARE(rows[0].caption, AnsiString("badtime"));
    QCOMPARE(rows[1].caption, AnsiString("before"));
    QVERIFY(dateText(rows[0].date).isEmpty());
    QVERIFY(!dateText(rows[1].date).isEmpty());
  }

  void textColumns() {
    ListRows rows{linkRow("banana", 0, "http://B"), linkRow("Cherry", 0, "http://a"),
                  linkRow("apple", 0, "http://C")};
    SortRows(rows, ColDescription, false);
    QCOMPARE(captions(rows), (QStringList{"apple", "banana", "Cherry"}));
    SortRows(rows, ColUrl, false);
    QCOMPARE(captions(rows), (QStringList{"Cherry", "banana", "apple"}));
    SortRows(rows, ColUrl, true);
    QCOMPARE(captions(rows), (QStringList{"apple", "banana", "Cherry"}));

    // Type is ordinal: upper-case letters before lower-case ones.
    ListRows kinds{linkRow("1", 0, "", "url"), linkRow("2", 0, "", "Zip"),
                   linkRow("3", 0, "", "Url")};
    SortRows(kinds, ColType, false);
    QCOMPARE(captions(kinds), (QStringList{"3", "2", "1"}));

    ListRows paths{linkRow("x", 0, "", "Url", "Favorites\\b\\"),
                   linkRow("y", 0, "", "Url", "Favorites\\A\\")};
    SortRows(paths, ColPath, false);
    QCOMPARE(captions(paths), (QStringList{"y", "x"}));
  }

  void modelSortKeepsSelectionOnItsRow() {
    LinkListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setRows({folder(".."), linkRow("b", stamp(2002, 2, 2)), linkRow("a", 0),
                   linkRow("c", stamp(2003, 3, 3))});
    QCOMPARE(model.rowCount(), 4);
    QCOMPARE(model.columnCount(), 5);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Description"));
    QCOMPARE(model.headerData(4, Qt::Horizontal).toString(), QStringLiteral("Path"));
    QCOMPARE(model.data(model.index(2, ColDate)).toString(), QString());
    QCOMPARE(model.data(model.index(1, ColDate)).toString(),
             QLocale::system().toString(QDate(2002, 2, 2), QLocale::ShortFormat));
    QCOMPARE(model.data(model.index(0, 0), LinkListModel::ImageIndexRole).toInt(), 0);
    QCOMPARE(model.data(model.index(1, 0), LinkListModel::ImageIndexRole).toInt(), 1);

    const QPersistentModelIndex current(model.index(1, 0));  // "b"
    model.sortRows(ColDescription, true);
    QCOMPARE(captions(model.rows()), (QStringList{"..", "c", "b", "a"}));
    QCOMPARE(current.row(), 2);

    model.setCaption(2, "renamed \xE9");
    QCOMPARE(model.data(model.index(2, 0)).toString(), QStringLiteral("renamed \u00E9"));
    model.removeListRow(0);
    QCOMPARE(model.rowCount(), 3);
  }

  void keysAgreeWithTheComparisons() {
    const std::vector<AnsiString> texts{"apple",
                                        "Apple",
                                        "APPLE",
                                        "banana",
                                        "Cherry",
                                        "\xE9t\xE9",
                                        "ete",
                                        "Ete",
                                        "a-b",
                                        "ab",
                                        "a b",
                                        "",
                                        "Z",
                                        "z",
                                        "\x8Auvre",
                                        "\x9Auvre",
                                        "Favorites\\A\\",
                                        "Favorites\\a",
                                        "10",
                                        "9"};
    for (Qt::CaseSensitivity cs : {Qt::CaseInsensitive, Qt::CaseSensitive}) {
      CollationKeys keys(cs);
      for (const AnsiString& t : texts) keys.add(t);
      for (std::uint32_t a = 0; a < texts.size(); ++a)
        for (std::uint32_t b = 0; b < texts.size(); ++b) {
          const int want = cs == Qt::CaseInsensitive ? compareNoCase(texts[a], texts[b])
                                                     : compareCase(texts[a], texts[b]);
          const int got = keys.compare(a, b);
          if ((want < 0) != (got < 0) || (want > 0) != (got > 0))
            QFAIL(qPrintable(QStringLiteral("%1 vs %2: %3 against %4")
                                 .arg(fromAnsi(texts[a]), fromAnsi(texts[b]))
                                 .arg(got)
                                 .arg(want)));
        }
    }
  }

  void sortByFullNameIsTheLocaleOrder() {
    LinkList list;
    for (const char* n : {"Favorites\\b\\", "Favorites\\B\\x", "Favorites\\a", "Favorites\\A\\",
                          "Favorites\\A\\z", "Favorites\\c", "Favorites\\b\\"})
      list.append(LinkRecord::make(n, "", 0, "Url"));
    list.sortByFullName();
    std::vector<std::string> got;
    for (const LinkRecord& r : list) got.emplace_back(r.fullName());
    // A folder comes before what lies in it; letter case is ignored.
    auto pos = [&](const char* n) { return std::find(got.begin(), got.end(), n) - got.begin(); };
    QVERIFY(pos("Favorites\\a") < pos("Favorites\\b\\"));
    QVERIFY(pos("Favorites\\A\\") < pos("Favorites\\A\\z"));
    QVERIFY(pos("Favorites\\b\\") < pos("Favorites\\B\\x"));
    QVERIFY(pos("Favorites\\B\\x") < pos("Favorites\\c"));
    QCOMPARE(got.size(), size_t(7));
    // Sorting again (cached keys) gives the same order.
    LinkList again = list;
    again.sortByFullName();
    for (size_t i = 0; i < list.size(); ++i) QCOMPARE(again[i].fullName(), list[i].fullName());
  }
};

QTEST_GUILESS_MAIN(TestRowSort)
#include "tst_rowsort.moc"
