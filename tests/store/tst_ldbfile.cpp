#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "interchange/BookmarkFile.h"
#include "store/Ansi.h"
#include "store/DosDate.h"
#include "store/LdbFile.h"
#include "store/LinkList.h"
#include "support/Files.h"

using namespace vorlix;
using vorlix::test::readFile;
using vorlix::test::writeFile;

class TestLdbFile : public QObject {
  Q_OBJECT

 private slots:
  void recordLayout() {
    LinkRecord r = LinkRecord::make("Favorites\\News\\Daily", "http://x.org", 0x12345678, "Url");
    QCOMPARE(int(static_cast<unsigned char>(r.raw[0])), 20);
    QCOMPARE(std::string(r.raw.data() + 1, 20), std::string("Favorites\\News\\Daily"));
    QCOMPARE(int(static_cast<unsigned char>(r.raw[256])), 12);
    QCOMPARE(static_cast<unsigned char>(r.raw[512]), 0x78);
    QCOMPARE(static_cast<unsigned char>(r.raw[515]), 0x12);
    QCOMPARE(int(r.raw[516]), 3);
    QVERIFY(r.isUrl());
    QVERIFY(!r.isFolder());
    r.setKind("url");
    QVERIFY(!r.isUrl());  // letter case counts
  }

  void cutsAndOversizedLengthBytes() {
    LinkRecord r;
    r.setFullName(std::string(300, 'a'));
    QCOMPARE(r.fullName().size(), size_t(255));
    r.setKind("FolderFolderFolder");
    QCOMPARE(r.kind(), std::string_view("FolderFolde"));
    // A kind length byte of 200 reads as the field's 11 characters.
    r.raw[516] = char(200);
    QCOMPARE(r.kind().size(), size_t(11));
  }

  void roundTripIsByteExact() {
    QTemporaryDir dir;
    QByteArray bytes;
    // Odd records: unknown kind, garbage after the strings, oversized length.
    for (int i = 0; i < 5; ++i) {
      QByteArray rec(kRecordSize, '\0');
      for (int j = 0; j < kRecordSize; ++j) rec[j] = char((i * 31 + j * 7) & 0xFF);
      bytes += rec;
    }
    LinkRecord plain = LinkRecord::make("Favorites\\A\\", "", 0, "Folder");
    bytes += QByteArray(plain.raw.data(), kRecordSize);
    const QString src = dir.filePath("in.ldb");
    writeFile(src, bytes + QByteArray(100, 'x'));  // a trailing partial record

    LinkList list;
    QVERIFY(loadLdbFile(src, list));
    QCOMPARE(list.size(), size_t(6));
    QCOMPARE(list[5].fullName(), std::string_view("Favorites\\A\\"));
    const QString dst = dir.filePath("out.ldb");
    QVERIFY(saveLdbFile(dst, list));
    QCOMPARE(readFile(dst), bytes);
  }

  void emptyAndMissingFiles() {
    QTemporaryDir dir;
    writeFile(dir.filePath("empty.ldb"), {});
    LinkList list;
    list.append(LinkRecord::make("Favorites\\x", "", 0, "Url"));
    QVERIFY(loadLdbFile(dir.filePath("empty.ldb"), list));
    QVERIFY(list.empty());

    list.append(LinkRecord::make("Favorites\\x", "", 0, "Url"));
    const IoResult r = loadLdbFile(dir.filePath("missing.ldb"), list);
    QVERIFY(!r);
    QCOMPARE(r.message, QStringLiteral("File not found"));
    QCOMPARE(list.size(), size_t(1));  // a failed load keeps what was there
    QVERIFY(!QFile::exists(dir.filePath("missing.ldb")));
  }

  void saveReplacesAndSizesExactly() {
    QTemporaryDir dir;
    LinkList list;
    for (int i = 0; i < 7; ++i)
      list.append(LinkRecord::make("Favorites\\l" + std::to_string(i), "u", 0, "Url"));
    const QString p = dir.filePath("db.ldb");
    writeFile(p, QByteArray(10 * kRecordSize, 'z'));
    QVERIFY(saveLdbFile(p, list));
    QCOMPARE(readFile(p).size(), 7 * kRecordSize);
    LinkList back;
    QVERIFY(loadLdbFile(p, back));
    for (size_t i = 0; i < list.size(); ++i) QCOMPARE(back[i].fullName(), list[i].fullName());
    // No temporary file is left behind.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);
  }

  void ansiRoundTrip() {
    // Every byte of a file written before reads as its Windows-1252
    // character and is stored back as the same byte.
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(char(b));
    QCOMPARE(storedBytes(toAnsi(fromAnsi(all))), all);
    QCOMPARE(fromAnsi("\x80"), QString(QChar(0x20AC)));
    QCOMPARE(upperAscii("abz\xe9"), std::string("ABZ\xe9"));  // only a to z
  }

  void textRoundTrip_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("utf8");  // stored as UTF-8, else Windows-1252
    QTest::newRow("latin") << QStringLiteral("Caf\u00E9 \u20AC \u0152uvre") << false;
    QTest::newRow("chinese") << QStringLiteral("\u4E2D\u6587\u4E66\u7B7E") << true;
    QTest::newRow("japanese") << QStringLiteral("\u65E5\u672C\u8A9E\u306E\u30DA\u30FC\u30B8")
                              << true;
    QTest::newRow("cyrillic") << QStringLiteral("\u041F\u0440\u0438\u0432\u0435\u0442") << true;
    QTest::newRow("greek") << QStringLiteral("\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC")
                           << true;
    QTest::newRow("arabic") << QStringLiteral("\u0645\u0631\u062D\u0628\u0627") << true;
    QTest::newRow("emoji") << QStringLiteral("\U0001F600 \U0001F44D\U0001F3FD") << true;
    QTest::newRow("combining") << QStringLiteral("e\u0301 n\u0303 a\u0308") << true;
    // Its Windows-1252 bytes C3 A9 would read as UTF-8 "é".
    QTest::newRow("looks like UTF-8") << QStringLiteral("\u00C3\u00A9") << true;
  }
  void textRoundTrip() {
    QFETCH(QString, text);
    QFETCH(bool, utf8);
    QTemporaryDir dir;
    LinkList list;
    list.append(LinkRecord::make(toAnsi("Favorites\\" + text + "\\"), "", 0, "Folder"));
    list.append(LinkRecord::make(toAnsi("Favorites\\" + text + "\\" + text),
                                 toAnsi("http://x/" + text), 0, "Url"));
    const QString file = dir.filePath("t.ldb");
    QVERIFY(saveLdbFile(file, list));
    LinkList back;
    QVERIFY(loadLdbFile(file, back));
    QCOMPARE(fromAnsi(back[1].fullName()), "Favorites\\" + text + "\\" + text);
    QCOMPARE(fromAnsi(back[1].url()), "http://x/" + text);
    QCOMPARE(isUtf8(back[0].storedFullName()) && !isAscii(back[0].storedFullName()), utf8);
    // Exported as a bookmark file and read back: the same texts.
    const BookmarkImport reread = ParseBookmarks(FormatBookmarks(back), 0, QStringLiteral("x"));
    QCOMPARE(reread.links.size(), size_t(2));
    QCOMPARE(fromAnsi(reread.links[1].fullName()), fromAnsi(back[1].fullName()));
    QCOMPARE(fromAnsi(reread.links[1].url()), "http://x/" + text);
    // Loaded and saved again without a change: the same bytes.
    const QString again = dir.filePath("again.ldb");
    QVERIFY(saveLdbFile(again, back));
    QCOMPARE(readFile(again), readFile(file));
  }

  void cutsFallBetweenCharacters_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("kept");
    const QString cjk(300, QChar(0x65E5));
    QTest::newRow("three bytes each") << cjk << cjk.left(85);
    const QString latin(300, QChar(0xE9));
    QTest::newRow("one byte each") << latin << latin.left(255);
    QTest::newRow("the only wide one falls off")
        << QString(254, QChar(0xE9)) + QChar(0x65E5) << QString(254, QChar(0xE9));
    QString marks;
    for (int i = 0; i < 200; ++i) marks += QStringLiteral("e\u0301");
    QTest::newRow("no mark without its letter") << marks << marks.left(2 * 85);
    QString emoji;
    for (int i = 0; i < 70; ++i) emoji += QStringLiteral("\U0001F600");
    QTest::newRow("no half emoji") << emoji << emoji.left(2 * 63);
  }
  void cutsFallBetweenCharacters() {
    QFETCH(QString, text);
    QFETCH(QString, kept);
    LinkRecord r;
    r.setFullName(toAnsi(text));
    QCOMPARE(fromAnsi(r.fullName()), kept);
    QVERIFY(r.storedFullName().size() <= size_t(kMaxText));
  }

  void dosDates() {
    const QDateTime t(QDate(2024, 2, 29), QTime(13, 45, 58));
    const auto stamp = toDosDateTime(t);
    QCOMPARE(fromDosDateTime(stamp).value(), t);
    QCOMPARE(toDosDateTime(QDateTime(QDate(1979, 12, 31), QTime(0, 0))), 0u);
    QVERIFY(!fromDosDateTime(0).has_value());
    QVERIFY(!fromDosDateTime(0xFFFFFFFF).has_value());
  }
};

QTEST_GUILESS_MAIN(TestLdbFile)
#include "tst_ldbfile.moc"
