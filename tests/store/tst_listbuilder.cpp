#include <QTest>

#include "store/DosDate.h"
#include "store/Find.h"
#include "store/FolderTree.h"
#include "store/LinkList.h"
#include "store/ListBuilder.h"
#include "store/Paths.h"

using namespace vorlix;

namespace {

struct Rec {
  const char* name;
  const char* url = "";
  std::uint32_t date = 0;
};

LinkList makeList(std::initializer_list<Rec> recs) {
  LinkList list;
  for (const Rec& r : recs) {
    const std::string_view n(r.name);
    const bool folder = !n.empty() && n.back() == '\\';
    list.append(LinkRecord::make(n, r.url, r.date, folder ? "Folder" : "Url"));
  }
  return list;
}

FolderPosition at(const char* path, const char* upMarker = "") {
  FolderPosition pos;
  pos.currentPath = path;
  pos.upMarker = upMarker;
  return pos;
}

QStringList captions(std::span<const ListRow> rows) {
  QStringList out;
  for (const ListRow& r : rows) out << fromAnsi(r.caption);
  return out;
}

std::uint32_t stamp(int y, int m, int d) {
  return toDosDateTime(QDateTime(QDate(y, m, d), QTime(12, 0)));
}

struct CountingProgress : RebuildProgress {
  int max = -1, steps = 0, finished = 0;
  void start(int m) override { max = m; }
  void step() override { ++steps; }
  void finish() override { ++finished; }
};

}  // namespace

class TestListBuilder : public QObject {
  Q_OBJECT

 private slots:
  void upRowComesFirstOutsideTheRoot() {
    const LinkList list = makeList({{"Favorites\\A\\"}, {"Favorites\\A\\link", "http://a/"}});
    QCOMPARE(captions(BuildRows(list, at("Favorites\\"), false)), (QStringList{"A"}));

    const auto empty = BuildRows(makeList({{"Favorites\\A\\"}}), at("Favorites\\A\\", "A"), false);
    QCOMPARE(captions(empty), QStringList{".."});
    QCOMPARE(empty[0].kind, AnsiString("Folder"));
    QCOMPARE(empty[0].image, 0);
    QVERIFY(empty[0].url.empty() && empty[0].path.empty() && empty[0].date == 0);

    // Subfolders arriving out of order, one comparing below "..", stay
    // together after ".." and ahead of the links.
    const LinkList unsorted = makeList({{"Favorites\\A\\z", "http://z/"},
                                        {"Favorites\\A\\M\\"},
                                        {"Favorites\\A\\!bang\\"},
                                        {"Favorites\\A\\C\\"},
                                        {"Favorites\\A\\y", "http://y/"}});
    const auto rows = BuildRows(unsorted, at("Favorites\\A\\", "A"), false);
    QCOMPARE(rows[0].caption, AnsiString(".."));
    QCOMPARE(rows.size(), size_t(6));
    for (int i = 1; i <= 3; ++i) QVERIFY(rows[size_t(i)].isFolder());
    QCOMPARE(captions(rows).mid(4), (QStringList{"z", "y"}));
  }

  void subfolderRowsKeepTheTreesOrder() {
    // Reversed and shuffled folder records show as they come, like the tree.
    const LinkList reversed = makeList({{"Favorites\\B\\"}, {"Favorites\\A\\"}});
    QCOMPARE(captions(BuildRows(reversed, at("Favorites\\"), false)), (QStringList{"B", "A"}));
    const LinkList shuffled =
        makeList({{"Favorites\\C\\"}, {"Favorites\\A\\"}, {"Favorites\\B\\"}});
    QCOMPARE(captions(BuildRows(shuffled, at("Favorites\\"), false)), (QStringList{"C", "A", "B"}));
    const LinkList sorted = makeList({{"Favorites\\A\\"},
                                      {"Favorites\\B\\"},
                                      {"Favorites\\B\\x", "http://x/"},
                                      {"Favorites\\C\\"}});
    QCOMPARE(captions(BuildRows(sorted, at("Favorites\\"), false)), (QStringList{"A", "B", "C"}));

    // A folder that would go before the first row lands after the other
    // subfolder rows, never behind a link met earlier.
    const LinkList linkFirst =
        makeList({{"Favorites\\x", "http://x/"}, {"Favorites\\B\\"}, {"Favorites\\A\\"}});
    QCOMPARE(captions(BuildRows(linkFirst, at("Favorites\\"), false)),
             (QStringList{"B", "A", "x"}));
    const LinkList below = makeList({{"Favorites\\N\\y", "http://y/"},
                                     {"Favorites\\N\\B\\"},
                                     {"Favorites\\N\\A\\"},
                                     {"Favorites\\N\\D\\"}});
    QCOMPARE(captions(BuildRows(below, at("Favorites\\N\\", "N"), false)),
             (QStringList{"..", "B", "A", "D", "y"}));
  }

  void oneRowPerSubfolder() {
    const LinkList list = makeList({{"Favorites\\A\\", "", stamp(2001, 2, 3)},
                                    {"Favorites\\A\\B\\", "", stamp(2005, 1, 1)},
                                    {"Favorites\\A\\B\\x", "http://x/", stamp(2009, 1, 1)},
                                    {"Favorites\\a\\other", "http://o/"},
                                    {"Favorites\\top", "http://t/", stamp(2010, 5, 5)}});
    const auto rows = BuildRows(list, at("Favorites\\"), false);
    QCOMPARE(captions(rows), (QStringList{"A", "top"}));
    QCOMPARE(rows[0].date, stamp(2001, 2, 3));
    QCOMPARE(rows[0].kind, AnsiString("Folder"));
    QCOMPARE(rows[0].path, AnsiString("Favorites\\A\\"));
    QVERIFY(rows[0].url.empty());
    QCOMPARE(rows[1].url, AnsiString("http://t/"));
    QCOMPARE(rows[1].path, AnsiString("Favorites\\"));
    QCOMPARE(rows[1].image, 1);

    // The folder's own record decides the row also when it comes later,
    // and a row reached first through a link is still a folder row.
    const LinkList late = makeList({{"Favorites\\N\\L\\deep", "http://d/", stamp(2009, 1, 1)},
                                    {"Favorites\\N\\", "", stamp(1999, 9, 9)}});
    const auto lateRows = BuildRows(late, at("Favorites\\"), false);
    QCOMPARE(lateRows.size(), size_t(1));
    QCOMPARE(lateRows[0].date, stamp(1999, 9, 9));
    QCOMPARE(lateRows[0].kind, AnsiString("Folder"));
    QVERIFY(lateRows[0].url.empty());
  }

  void explorerMatchesTheFolderExactly() {
    // The folder prefix counts letter case; links of a differently spelt
    // folder do not show.
    const LinkList list =
        makeList({{"Favorites\\News\\a", "http://a/"}, {"Favorites\\news\\b", "http://b/"}});
    QCOMPARE(captions(BuildRows(list, at("Favorites\\News\\", "News"), false)),
             (QStringList{"..", "a"}));
  }

  void flatModeListsLinksWithTheirPaths() {
    const LinkList list = makeList({{"Favorites\\A\\"},
                                    {"Favorites\\A\\one", "http://1/"},
                                    {"Favorites\\A\\B\\"},
                                    {"Favorites\\A\\B\\two", "http://2/"},
                                    {"Favorites\\root", "http://r/"}});
    auto rows = BuildRows(list, at("Favorites\\"), true);
    QCOMPARE(captions(rows), (QStringList{"one", "two", "root"}));
    QCOMPARE(rows[1].path, AnsiString("Favorites\\A\\B\\"));
    QCOMPARE(RowFullName(rows[1], at("Favorites\\"), true), AnsiString("Favorites\\A\\B\\two"));
    // Below a folder, compared without letter case.
    rows = BuildRows(list, at("Favorites\\a\\", "a"), true);
    QCOMPARE(captions(rows), (QStringList{"one", "two"}));
  }

  void mixedStoredEncodingsShareTheirFolder() {
    // As a file may hold them: the folder in Windows-1252 (é = E9), a link
    // below it in UTF-8 (é = C3 A9) because of its Japanese title, and a
    // title holding ':'.
    auto stored = [](std::string_view name, std::string_view kind) {
      LinkRecord r = LinkRecord::make("", "http://x/", 0, kind);
      r.raw[0] = char(name.size());
      std::copy(name.begin(), name.end(), r.raw.begin() + 1);
      r.readTexts();
      return r;
    };
    LinkList list;
    list.append(stored("Favorites\\Caf\xE9\\", "Folder"));
    list.append(stored("Favorites\\Caf\xC3\xA9\\\xE6\x97\xA5\xE6\x9C\xAC", "Url"));
    list.append(stored("Favorites\\Caf\xE9\\std::vector \x96 cppreference", "Url"));
    const QString cafe = QStringLiteral("Caf\u00E9");
    QCOMPARE(captions(BuildRows(list, at("Favorites\\"), false)), QStringList{cafe});
    const FolderPosition inCafe = at(list[0].fullName().data(), "x");
    const QStringList links{QStringLiteral("\u65E5\u672C"),
                            QStringLiteral("std::vector \u2013 cppreference")};
    QCOMPARE(captions(BuildRows(list, inCafe, false)), QStringList{".."} + links);
    const ListRows flat = BuildRows(list, at("Favorites\\"), true);
    QCOMPARE(captions(flat), links);
    QCOMPARE(fromAnsi(flat[0].path), "Favorites\\" + cafe + "\\");
    FolderTreeModel tree;
    RebuildTree(tree, list);
    QCOMPARE(tree.root()->children.size(), size_t(1));
    QCOMPARE(FindRecords(list, toAnsi(QStringLiteral("\u65E5\u672C"))),
             std::vector<std::uint32_t>{1});
    QCOMPARE(FindRecords(list, "STD::"), std::vector<std::uint32_t>{2});
  }

  void findMatchesAPlainSearchInEveryBlock() {
    // Enough records for many filter blocks, titles in several scripts.
    const char* const words[] = {"alpha", "Beta:gamma", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E",
                                 "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82", "caf\xC3\xA9"};
    LinkList list;
    for (int i = 0; i < 100; ++i) {
      const std::string title = std::string(words[i % 5]) + " " + std::to_string(i * 7);
      list.append(LinkRecord::make("Favorites\\F\\" + title, "http://h" + std::to_string(i) + "/",
                                   0, "Url"));
    }
    FindIndex index;
    index.rebuild(list);
    for (const char* needle : {"ALPHA 1", "a:g", "\xE6\x9C\xAC\xE8\xAA\x9E", "\xD0\xB8\xD0\xB2",
                               "h42/", "p:/", "\xC3\xA9 3", "none"}) {
      std::vector<std::uint32_t> want;
      for (std::uint32_t i = 0; i < list.size(); ++i) {
        const std::string text =
            upperAscii(FileName(list[i].fullName())) + "|" + upperAscii(list[i].url());
        if (text.find(upperAscii(needle)) != std::string::npos) want.push_back(i);
      }
      index.resetNarrowing();
      QCOMPARE(index.find(needle), want);
    }
  }

  void findInTheCurrentFolder() {
    const LinkList list = makeList({{"Favorites\\A\\"},
                                    {"Favorites\\A\\My ABC page", "http://one/"},
                                    {"Favorites\\A\\plain", "http://www.xabcx.org/"},
                                    {"Favorites\\A\\other", "http://two/"},
                                    {"Favorites\\abc\\"},
                                    {"Favorites\\abc\\inside", "http://three/"},
                                    {"Favorites\\split ab", "c://no/"},
                                    {"Favorites\\root abc", "http://r/"}});
    FindIndex index;
    index.rebuild(list);
    // The folder part of the name and a match across description and URL
    // do not count.
    std::vector<std::uint32_t> hits = index.find("aBc");
    QCOMPARE(hits, (std::vector<std::uint32_t>{1, 2, 7}));
    QCOMPARE(hits, FindRecords(list, "ABC"));

    const auto rows = BuildRows(list, hits, at("Favorites\\A\\", "A"), true);
    QCOMPARE(captions(rows), (QStringList{"My ABC page", "plain"}));

    // Growing, changing and shrinking the text.
    QCOMPARE(index.find("abc p"), (std::vector<std::uint32_t>{1}));
    QCOMPARE(index.find("abc page"), (std::vector<std::uint32_t>{1}));
    QCOMPARE(index.find("two"), (std::vector<std::uint32_t>{3}));
    QCOMPARE(index.find("xab"), (std::vector<std::uint32_t>{2}));
    QCOMPARE(index.find("ab"), (std::vector<std::uint32_t>{1, 2, 6, 7}));
    index.rebuild(makeList({{"Favorites\\xab", "http://"}}));
    QCOMPARE(index.find("xab"), (std::vector<std::uint32_t>{0}));
  }

  void progressCountsEverySourceRecord() {
    const LinkList list = makeList({{"Favorites\\a", "http://a/"},
                                    {"Favorites\\b", "http://b/"},
                                    {"Favorites\\c", "http://c/"}});
    CountingProgress p;
    BuildRows(list, at("Favorites\\"), false, &p);
    QCOMPARE(p.max, 3);
    QCOMPARE(p.steps, 3);
    QCOMPARE(p.finished, 1);
    CountingProgress q;
    const std::vector<std::uint32_t> subset{2};
    BuildRows(list, subset, at("Favorites\\"), true, &q);
    QCOMPARE(q.max, 3);  // the whole database, also for a find list
    QCOMPARE(q.steps, 1);
  }

  void rowsKeepTheirTextsOnTheirOwn() {
    // Enough text for several storage blocks, from records that are gone
    // before the rows are read.
    ListRows rows;
    {
      LinkList list;
      for (int i = 0; i < 2000; ++i) {
        const AnsiString n = std::to_string(i);
        list.append(LinkRecord::make("Favorites\\F" + n + "\\" + AnsiString(200, 'd') + n,
                                     "http://h/" + n, 0, "Url"));
      }
      rows = BuildRows(list, at("Favorites\\"), true);
    }
    ListRows copy = rows;
    rows = ListRows();
    QCOMPARE(copy.size(), size_t(2000));
    for (size_t i : {size_t(0), size_t(999), size_t(1999)}) {
      const AnsiString n = std::to_string(i);
      QCOMPARE(AnsiString(copy[i].caption), AnsiString(200, 'd') + n);
      QCOMPARE(AnsiString(copy[i].url), "http://h/" + n);
      QCOMPARE(AnsiString(copy[i].path), "Favorites\\F" + n + "\\");
      QCOMPARE(AnsiString(copy[i].kind), AnsiString("Url"));
    }
    // A new caption is kept as well, however long the text it came from.
    AnsiString renamed(255, 'r');
    copy.setCaption(5, renamed);
    renamed.assign(255, 'x');
    QCOMPARE(AnsiString(copy[5].caption), AnsiString(255, 'r'));
    QCOMPARE(AnsiString(copy[6].caption), AnsiString(200, 'd') + "6");
  }

  void rowLookups() {
    const LinkList list = makeList({{"Favorites\\N\\"},
                                    {"Favorites\\N\\Later\\"},
                                    {"Favorites\\N\\Local\\"},
                                    {"Favorites\\N\\link", "http://l/"}});
    const FolderPosition pos = at("Favorites\\N\\", "N");
    const auto rows = BuildRows(list, pos, false);
    QCOMPARE(captions(rows), (QStringList{"..", "Later", "Local", "link"}));
    QCOMPARE(FindRowByCaptionPrefix(rows, "loc"), 2);
    QCOMPARE(FindRowByCaptionPrefix(rows, "L", 3), 3);
    QCOMPARE(FindRowByCaptionPrefix(rows, "La", 3), 1);  // wraps round
    QCOMPARE(FindRowByCaptionPrefix(rows, "zz"), -1);
    QCOMPARE(RowFullName(rows[2], pos, false), AnsiString("Favorites\\N\\Local\\"));
    QCOMPARE(RowFullName(rows[3], pos, false), AnsiString("Favorites\\N\\link"));
    QVERIFY(RowFullName(rows[0], pos, false).empty());
  }
};

QTEST_GUILESS_MAIN(TestListBuilder)
#include "tst_listbuilder.moc"
