#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTest>

#include "platform/ProfileStrings.h"
#include "support/Files.h"
#include "support/TempDir.h"

using namespace vorlix;
using vorlix::test::readFile;
using vorlix::test::writeFile;

class TestProfileStrings : public QObject {
  Q_OBJECT

  static AnsiString get(const QByteArray& content, std::string_view section, std::string_view key,
                        int size = 256, std::string_view def = "dflt") {
    return profileStringIn(content, section, key, def, size);
  }

 private slots:
  void readRules() {
    const QByteArray ini =
        "top=before any section\r\n"
        "; a comment\r\n"
        "[ VorlixsPaths ]\r\n"
        "  vorlixs.EXE =  \"C:\\Links\\\"  \r\n"
        "single='quoted'\r\n"
        "odd='mixed\"\r\n"
        "inner=a \"b\" c\r\n"
        "eq=http://x/?a=b\r\n"
        "bare\r\n"
        "empty=\r\n"
        "[Other]\r\n"
        "k=other\r\n"
        "[vorlixspaths]\r\n"
        "late=second section of the same name\r\n";
    QCOMPARE(get(ini, "VorlixsPaths", "Vorlixs.exe"), AnsiString("C:\\Links\\"));
    QCOMPARE(get(ini, "VORLIXSPATHS", "single"), AnsiString("quoted"));
    QCOMPARE(get(ini, "VorlixsPaths", "odd"), AnsiString("'mixed\""));
    QCOMPARE(get(ini, "VorlixsPaths", "inner"), AnsiString("a \"b\" c"));
    QCOMPARE(get(ini, "VorlixsPaths", "eq"), AnsiString("http://x/?a=b"));
    QCOMPARE(get(ini, "VorlixsPaths", "empty"), AnsiString());
    QCOMPARE(get(ini, "VorlixsPaths", "bare"), AnsiString("dflt"));  // no '=': no value
    QCOMPARE(get(ini, "VorlixsPaths", "k"), AnsiString("dflt"));     // other section's key
    QCOMPARE(get(ini, "VorlixsPaths", "late"), AnsiString("dflt"));  // only the first counts
    QCOMPARE(get(ini, "VorlixsPaths", "top"), AnsiString("dflt"));
    QCOMPARE(get(ini, "Missing", "k"), AnsiString("dflt"));
    QCOMPARE(get(ini, "Other", "k"), AnsiString("other"));
    QCOMPARE(get(QByteArray(), "Other", "k", 256, "trailing  "), AnsiString("trailing"));
  }

  void bufferCutsAtSizeMinusOne() {
    const QByteArray ini = "[s]\nk=abcdef\n";
    QCOMPARE(get(ini, "s", "k", 4), AnsiString("abc"));
    QCOMPARE(get(ini, "s", "k", 1), AnsiString());
    QCOMPARE(get(ini, "s", "k", 7), AnsiString("abcdef"));
    QCOMPARE(get(ini, "s", "missing", 3), AnsiString("df"));  // the default is cut too
    QCOMPARE(get("[s]\nk=\"abcdef\"\n", "s", "k", 4), AnsiString("abc"));
  }

  void writeChangesOnlyItsEntry() {
    const QByteArray ini = "; keep me\r\n[A]\r\nOne = 1\r\ntwo=2\r\n\r\n[B]\r\nx=y\r\n";
    QCOMPARE(withProfileString(ini, "a", "ONE", "uno"),
             QByteArray("; keep me\r\n[A]\r\nOne=uno\r\ntwo=2\r\n\r\n[B]\r\nx=y\r\n"));
    QCOMPARE(withProfileString(ini, "A", "three", "3"),
             QByteArray("; keep me\r\n[A]\r\nOne = 1\r\ntwo=2\r\nthree=3\r\n\r\n[B]\r\nx=y\r\n"));
    QCOMPARE(withProfileString(ini, "C", "k", "v"), ini + "\r\n[C]\r\nk=v\r\n");
    // LF files stay LF; a last line without its end gets one before new text.
    QCOMPARE(withProfileString("[A]\nk=1", "A", "n", "2"), QByteArray("[A]\nk=1\nn=2\n"));
    QCOMPARE(withProfileString("[A]", "A", "n", "2"), QByteArray("[A]\r\nn=2\r\n"));
    QCOMPARE(withProfileString(QByteArray(), "S", "k", "v"), QByteArray("[S]\r\nk=v\r\n"));
  }

  void aBareCarriageReturnEndsALine() {
    // Reader and writer take CR LF, LF and a lone CR alike as a line end.
    QCOMPARE(profileStringIn("[A]\rk=1\r[B]\rk=2", "B", "k", "", 10), AnsiString("2"));
    QCOMPARE(withProfileString("[VorlixsPaths]\r", "VorlixsPaths", "Vorlixs.exe", "/home/u/"),
             QByteArray("[VorlixsPaths]\rVorlixs.exe=/home/u/\r\n"));
    QCOMPARE(withProfileString("[A]\rk=1\r", "A", "k", "2"), QByteArray("[A]\rk=2\r\n"));

    test::IsolatedHome home;
    writeFile(vorlixsIniPath(), "[VorlixsPaths]\r");
    QVERIFY(writeRememberedOpenFolder(QStringLiteral("/home/u")));
    QCOMPARE(readRememberedOpenFolder(), QStringLiteral("/home/u/"));
  }

  void aValueThatWouldNotReadBackIsRefused() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("x.ini"));
    writeFile(file, "[S]\r\nk=old\r\n");
    QString error;
    QVERIFY(!writeProfileString(file, "a]b", "k", "v", &error));  // no such section can be read
    QVERIFY(!error.isEmpty());
    QVERIFY(!writeProfileString(file, "S", "k=x", "v"));  // nor such a key
    QCOMPARE(readFile(file), QByteArray("[S]\r\nk=old\r\n"));
    QVERIFY(writeProfileString(file, "S", "k", "  spaced  "));
    QCOMPARE(readProfileString(file, "S", "k", "", 100), AnsiString("spaced"));
  }

  void rememberedOpenFolder() {
    test::IsolatedHome home;
    QCOMPARE(vorlixsIniPath(), home.path("config/Vorlix/Vorlixs.ini"));
    QCOMPARE(readRememberedOpenFolder(), QString());
    QVERIFY(writeRememberedOpenFolder(QStringLiteral("/data/Café")));
    QCOMPARE(readRememberedOpenFolder(), QStringLiteral("/data/Café/"));
    QCOMPARE(readFile(vorlixsIniPath()),
             QByteArray("[VorlixsPaths]\r\nVorlixs.exe=/data/Caf\xE9/\r\n"));

    // Read through a 256-byte buffer: 255 characters at most.
    const QString longFolder = QLatin1Char('/') + QString(300, QLatin1Char('d')) + QLatin1Char('/');
    QVERIFY(writeRememberedOpenFolder(longFolder));
    QCOMPARE(readRememberedOpenFolder(), longFolder.left(255));

    // A value that would break the file is refused and the old one kept.
    QVERIFY(!writeRememberedOpenFolder(QStringLiteral("/a\nb/")));
    QCOMPARE(readRememberedOpenFolder(), longFolder.left(255));
  }

  void shortcutUrl() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("News.url"));
    const QByteArray longUrl = "http://example.org/" + QByteArray(3000, 'x');
    writeFile(file, "[DEFAULT]\r\nBASEURL=http://wrong/\r\n[InternetShortcut]\r\nURL=" + longUrl +
                        "\r\nIconIndex=0\r\n");
    const AnsiString url = readShortcutUrl(file);
    QCOMPARE(url.size(), size_t(2047));
    QCOMPARE(url, AnsiString(longUrl.left(2047).constData()));
    QCOMPARE(readShortcutUrl(dir.filePath(QStringLiteral("missing.url"))), AnsiString());
    writeFile(file, "[InternetShortcut]\nurl = http://caf\xE9.fr/ \n");
    QCOMPARE(readShortcutUrl(file), AnsiString("http://caf\xE9.fr/"));

    // A FIFO named like a shortcut must not wait for a writer, nor can an
    // ini file that is one be written over.
    const QString fifo = dir.filePath(QStringLiteral("Pipe.url"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QCOMPARE(readShortcutUrl(fifo), AnsiString());
    QString error;
    QVERIFY(!writeProfileString(fifo, "S", "k", "v", &error));
    QVERIFY2(error.contains(QStringLiteral("not a regular file")), qPrintable(error));
  }
};

QTEST_GUILESS_MAIN(TestProfileStrings)
#include "tst_profilestrings.moc"
