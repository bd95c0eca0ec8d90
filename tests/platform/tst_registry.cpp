#include <sys/stat.h>

#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QSysInfo>
#include <QTest>
#include <optional>
#include <thread>

#include "platform/ConfigFile.h"
#include "platform/Registry.h"
#include "support/Files.h"
#include "support/TempDir.h"

using namespace vorlix;
using vorlix::test::readFile;
using vorlix::test::writeFile;

class TestRegistry : public QObject {
  Q_OBJECT

 private slots:
  void missingFileIsAnEmptyHive() {
    test::IsolatedHome home;
    Registry reg;
    QCOMPARE(reg.path(), home.path("config/Vorlix/registry.reg"));
    QVERIFY(reg.keyExists(QStringLiteral("\\")));
    QVERIFY(!reg.keyExists(kProductKey));
    QVERIFY(!reg.valueExists(kSettingsKey, QStringLiteral("LastOpenFile")));
    const auto s = reg.readString(kSettingsKey, QStringLiteral("LastOpenFile"));
    QVERIFY(!s);
    QCOMPARE(s.error, QStringLiteral("Failed to get data for 'LastOpenFile'"));
    QVERIFY(!QFile::exists(reg.path()));  // reading never creates the file
  }

  void typedReadsAndTheirErrors() {
    test::IsolatedHome home;
    Registry reg;
    QVERIFY(reg.writeString(kSettingsKey, QStringLiteral("MaxFiles"), QStringLiteral("10")));
    QVERIFY(reg.writeInteger(kSettingsKey, QStringLiteral("Icons"), 2));
    QVERIFY(reg.writeInteger(kSettingsKey, QStringLiteral("Minus"), -1));
    QCOMPARE(*reg.readString(kSettingsKey, QStringLiteral("MaxFiles")), QStringLiteral("10"));
    QCOMPARE(*reg.readInteger(kSettingsKey, QStringLiteral("Icons")), 2);
    QCOMPARE(*reg.readInteger(kSettingsKey, QStringLiteral("Minus")), -1);

    const auto asInt = reg.readInteger(kSettingsKey, QStringLiteral("MaxFiles"));
    QVERIFY(!asInt);
    QCOMPARE(asInt.error, QStringLiteral("Invalid data type for 'MaxFiles'"));
    const auto asText = reg.readString(kSettingsKey, QStringLiteral("Icons"));
    QVERIFY(!asText);
    QCOMPARE(asText.error, QStringLiteral("Invalid data type for 'Icons'"));

    // Rewriting a value with another type replaces it.
    QVERIFY(reg.writeInteger(kSettingsKey, QStringLiteral("MaxFiles"), 12));
    QCOMPARE(*reg.readInteger(kSettingsKey, QStringLiteral("MaxFiles")), 12);

    const QByteArray text = readFile(reg.path());
    QVERIFY(text.startsWith("Windows Registry Editor Version 5.00\n"));
    QVERIFY(text.contains("[HKEY_CURRENT_USER\\SOFTWARE\\Vorlix\\Settings]\n"));
    QVERIFY(text.contains("\"Icons\"=dword:00000002\n"));
    QVERIFY(text.contains("\"Minus\"=dword:ffffffff\n"));
    QVERIFY(text.contains("\"MaxFiles\"=dword:0000000c\n"));
  }

  void keysIgnoreCaseAndDeleteWithEverythingBelow() {
    test::IsolatedHome home;
    Registry reg;
    QVERIFY(reg.createKey(QStringLiteral("\\SOFTWARE\\Vorlix\\FileHistory")));
    QVERIFY(reg.keyExists(QStringLiteral("\\software\\VORLIX")));
    QVERIFY(reg.keyExists(QStringLiteral("SOFTWARE\\Vorlix\\FileHistory\\")));
    QVERIFY(!reg.keyExists(QStringLiteral("\\SOFTWARE\\Vorl")));  // no prefix matches
    QVERIFY(reg.writeString(QStringLiteral("\\Software\\vorlix\\settings"),
                            QStringLiteral("LastOpenFile"), QStringLiteral("/a.ldb")));
    QVERIFY(
        reg.writeString(kSettingsKey, QStringLiteral("lastopenfile"), QStringLiteral("/b.ldb")));
    QCOMPARE(reg.valueNames(kSettingsKey), QStringList{QStringLiteral("LastOpenFile")});
    QCOMPARE(*reg.readString(kSettingsKey, QStringLiteral("LASTOPENFILE")),
             QStringLiteral("/b.ldb"));
    QVERIFY(reg.writeInteger(QStringLiteral("\\SOFTWARE\\Other"), QStringLiteral("Keep"), 1));
    QCOMPARE(reg.subKeyNames(kProductKey).size(), 2);

    QVERIFY(reg.deleteValue(kSettingsKey, QStringLiteral("LastOpenFile")));
    QVERIFY(!reg.valueExists(kSettingsKey, QStringLiteral("LastOpenFile")));
    QVERIFY(reg.keyExists(kSettingsKey));  // an empty key stays

    QVERIFY(reg.deleteKey(QStringLiteral("\\software\\vorlix")));
    QVERIFY(!reg.keyExists(kProductKey));
    QVERIFY(!reg.keyExists(kSettingsKey));
    QVERIFY(!reg.deleteKey(kProductKey));  // already gone
    QVERIFY(reg.keyExists(QStringLiteral("\\SOFTWARE")));
    QCOMPARE(*reg.readInteger(QStringLiteral("\\SOFTWARE\\Other"), QStringLiteral("Keep")), 1);
  }

  void twoCopiesKeepEachOthersValues() {
    test::IsolatedHome home;
    Registry a, b;
    QVERIFY(a.writeString(kSettingsKey, QStringLiteral("A"), QStringLiteral("1")));
    QVERIFY(b.writeString(kSettingsKey, QStringLiteral("B"), QStringLiteral("2")));
    QVERIFY(a.writeInteger(kSettingsKey, QStringLiteral("C"), 3));
    QCOMPARE(b.valueNames(kSettingsKey),
             (QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}));

    // Writers racing each other: every value must survive.
    auto writer = [](QChar tag) {
      Registry reg;
      for (int i = 0; i < 25; ++i)
        reg.writeInteger(kSettingsKey, QString(tag) + QString::number(i), i);
    };
    std::thread t1(writer, QLatin1Char('x')), t2(writer, QLatin1Char('y'));
    t1.join();
    t2.join();
    QCOMPARE(a.valueNames(kSettingsKey).size(), 3 + 50);
    QCOMPARE(*a.readInteger(kSettingsKey, QStringLiteral("y24")), 24);
  }

  void textRoundTripsThroughEscapes() {
    test::IsolatedHome home;
    const QStringList texts = {QStringLiteral("C:\\dir\\\"quoted\".ldb"), QStringLiteral("\\"),
                               QStringLiteral("two\nlines\r\n"), QStringLiteral("Café € ünï"),
                               QString()};
    {
      Registry reg;
      for (int i = 0; i < texts.size(); ++i)
        QVERIFY(reg.writeString(kSettingsKey, QStringLiteral("T%1").arg(i), texts[i]));
    }
    Registry reg;
    for (int i = 0; i < texts.size(); ++i)
      QCOMPARE(*reg.readString(kSettingsKey, QStringLiteral("T%1").arg(i)), texts[i]);
    const QByteArray file = readFile(reg.path());
    QVERIFY(file.contains("\"T0\"=\"C:\\\\dir\\\\\\\"quoted\\\".ldb\"\n"));
    QVERIFY(file.contains("\"T2\"=hex(1):"));  // a line break cannot stand in quotes
  }

  void readsAnExportWrittenElsewhere() {
    test::IsolatedHome home;
    Registry reg;
    QDir().mkpath(home.path("config/Vorlix"));
    writeFile(reg.path(),
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "; exported by hand\r\n"
              "[HKEY_CURRENT_USER\\SOFTWARE\\Vorlix\\Settings]\r\n"
              "\"Icons\"=dword:00000001\r\n"
              "\"Path\"=hex(2):25,00,48,00,\\\r\n  4f,00,00,00\r\n"
              "@=\"default\"\r\n\r\n");
    QCOMPARE(*reg.readInteger(kSettingsKey, QStringLiteral("Icons")), 1);
    QCOMPARE(*reg.readString(kSettingsKey, QString()), QStringLiteral("default"));
    QCOMPARE(reg.readString(kSettingsKey, QStringLiteral("Path")).error,
             QStringLiteral("Invalid data type for 'Path'"));
    // A value of a type we do not handle survives our own writes.
    QVERIFY(reg.writeInteger(kSettingsKey, QStringLiteral("Style"), 0));
    QVERIFY(readFile(reg.path()).contains("\"Path\"=hex(2):25,00,48,00,4f,00,00,00\n"));
    QVERIFY(reg.valueExists(kSettingsKey, QStringLiteral("Path")));
  }

  void aDanglingHexContinuationDoesNotSwallowTheNextWrite() {
    test::IsolatedHome home;
    Registry reg;
    const QByteArray head =
        "Windows Registry Editor Version 5.00\n\n"
        "[HKEY_CURRENT_USER\\SOFTWARE\\Vorlix\\Settings]\n";
    // The file ends inside a hex value: no continuation line, no newline.
    writeFile(reg.path(), head + "\"A\"=hex:01,\\");
    QVERIFY(reg.writeInteger(kSettingsKey, QStringLiteral("OnlyOne"), 1));
    QCOMPARE(reg.readInteger(kSettingsKey, QStringLiteral("OnlyOne")).value, std::optional(1));
    QVERIFY(reg.valueExists(kSettingsKey, QStringLiteral("A")));
    QVERIFY(readFile(reg.path()).contains("\"A\"=hex:01,\n\"OnlyOne\"=dword:00000001\n"));

    // A '\' followed by the next value ends the hex data there.
    writeFile(reg.path(), head + "\"B\"=hex:02,\\\r\n\"C\"=dword:00000003\r\n");
    QCOMPARE(reg.readInteger(kSettingsKey, QStringLiteral("C")).value, std::optional(3));
    QVERIFY(reg.writeString(kSettingsKey, QStringLiteral("D"), QStringLiteral("d")));
    QCOMPARE(*reg.readString(kSettingsKey, QStringLiteral("D")), QStringLiteral("d"));
    QCOMPARE(reg.readInteger(kSettingsKey, QStringLiteral("C")).value, std::optional(3));
  }

  void rewritingTwiceGivesTheSameFile_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::newRow("blank before a dropped final backslash") << QByteArray("hex(2):41,00, \\");
    QTest::newRow("blank, then a second backslash") << QByteArray("hex(2):41,00,\\ \\");
    QTest::newRow("blank before a continuation") << QByteArray("hex(2):41, \\\n  00,00");
    QTest::newRow("dropped before the next value")
        << QByteArray("hex(2):41,00,\t\\\n\"B\"=dword:00000001");
  }
  void rewritingTwiceGivesTheSameFile() {
    QFETCH(QByteArray, value);
    const QByteArray file = "[HKEY_CURRENT_USER\\K]\n\"A\"=" + value;
    const QByteArray once = RegistryHive::parse(file).serialize();
    const QByteArray twice = RegistryHive::parse(once).serialize();
    QCOMPARE(twice, once);
    QVERIFY(RegistryHive::parse(file).value(QStringLiteral("K"), QStringLiteral("A")));
  }

  void aLockWhoseOwnerIsGoneIsTakenAtOnce_data() {
    QTest::addColumn<QString>("owner");
    QTest::newRow("killed before writing its id") << QString();
    QTest::newRow("ended process") << QStringLiteral("ended");
    QTest::newRow("live lock") << QStringLiteral("live");
  }
  void aLockWhoseOwnerIsGoneIsTakenAtOnce() {
    QFETCH(QString, owner);
    test::IsolatedHome home;
    Registry reg;
    const QString lockPath = reg.path() + QStringLiteral(".lock");
    QDir().mkpath(QFileInfo(lockPath).absolutePath());
    QLockFile live(lockPath);
    if (owner == QLatin1String("live")) {
      QVERIFY(live.tryLock(0));
    } else if (owner == QLatin1String("ended")) {
      QProcess gone;
      gone.start(QStringLiteral("true"));
      QVERIFY(gone.waitForFinished());
      writeFile(lockPath, QByteArray::number(gone.processId()) + "\nvorlix\n" +
                              QSysInfo::machineHostName().toUtf8() + "\n");
    } else {
      writeFile(lockPath, QByteArray());  // fresh: Qt alone would wait 30 s
    }
    const bool wrote = reg.writeInteger(kSettingsKey, QStringLiteral("N"), 1);
    QCOMPARE(wrote, owner != QLatin1String("live"));
    if (!wrote) QVERIFY(reg.lastError().contains(QStringLiteral("locked")));
  }

  void configFilesAreReadOnlyWhenRegularAndSmall_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("readable");
    QTest::newRow("regular") << "regular" << true;
    QTest::newRow("missing") << "missing" << true;
    QTest::newRow("fifo") << "fifo" << false;
    QTest::newRow("folder") << "folder" << false;
    QTest::newRow("device") << "/dev/zero" << false;
    QTest::newRow("one byte too large") << "large" << false;
  }
  void configFilesAreReadOnlyWhenRegularAndSmall() {
    QFETCH(QString, kind);
    QFETCH(bool, readable);
    test::IsolatedHome home;
    QString path = home.path(QStringLiteral("config/x.ini"));
    if (kind == QLatin1String("regular")) writeFile(path, QByteArray(16, 'a'));
    if (kind == QLatin1String("large")) writeFile(path, QByteArray(17, 'a'));
    if (kind == QLatin1String("fifo"))
      QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    if (kind == QLatin1String("folder")) QVERIFY(QDir().mkpath(path));
    if (kind.startsWith(QLatin1Char('/'))) path = kind;
    QByteArray data("old");
    bool exists = true;
    QString error;
    QCOMPARE(readConfigFile(path, data, 16, &exists, &error), readable);
    QCOMPARE(data.size(), kind == QLatin1String("regular") ? 16 : 0);
    QCOMPARE(exists, kind != QLatin1String("missing"));
    QCOMPARE(error.isEmpty(), readable);
  }

  void aWriteThatWouldNotReadBackFails() {
    test::IsolatedHome home;
    Registry reg;
    QVERIFY(reg.writeInteger(kSettingsKey, QStringLiteral("Keep"), 7));
    const QByteArray before = readFile(reg.path());
    // Names the export format cannot hold.
    QVERIFY(!reg.writeString(kSettingsKey, QStringLiteral("two\nlines"), QStringLiteral("x")));
    QVERIFY(!reg.lastError().isEmpty());
    QVERIFY(!reg.writeInteger(QStringLiteral("\\SOFTWARE\\Vorlix\\a]\nb"), QStringLiteral("n"), 1));
    QCOMPARE(readFile(reg.path()), before);
    // Text it can hold, however odd, is written and reads back unit by unit.
    const QString odd = QString(QChar(0xD800)) + QStringLiteral("x") + QChar(0xDC00) + QChar(0) +
                        QStringLiteral("\r\\\"");
    QVERIFY(reg.writeString(kSettingsKey, QStringLiteral("Odd"), odd));
    QCOMPARE(*reg.readString(kSettingsKey, QStringLiteral("Odd")), odd);
    QCOMPARE(*reg.readInteger(kSettingsKey, QStringLiteral("Keep")), 7);
  }

  void repeatedKeysAndValuesMerge() {
    const RegistryHive hive = RegistryHive::parse(
        "[HKEY_CURRENT_USER\\A]\n\"x\"=dword:00000001\n\"Y\"=\"y\"\n"
        "[hkey_current_user\\a]\n\"X\"=dword:00000002\n"
        "[HKEY_CURRENT_USER\\B]\n\"x\"=dword:00000003\n");
    QCOMPARE(hive.valueNames(QStringLiteral("\\A")), (QStringList{"X", "Y"}));
    QCOMPARE(hive.value(QStringLiteral("a"), QStringLiteral("x"))->number, 2);
    QCOMPARE(hive.value(QStringLiteral("b"), QStringLiteral("X"))->number, 3);
    QCOMPARE(hive.subKeyNames(QString()), (QStringList{"A", "B"}));
  }

  void onlyOneAtProcessStart() {
    test::IsolatedHome home;
    Registry reg;
    // Absent: one copy, as the Options dialog's ticked box says.
    QVERIFY(readOnlyOneAtStart(reg));
    QVERIFY(reg.keyExists(kSettingsKey));  // created on the way
    reg.writeInteger(kSettingsKey, QStringLiteral("OnlyOne"), 0);
    QVERIFY(!readOnlyOneAtStart(reg));
    reg.writeString(kSettingsKey, QStringLiteral("OnlyOne"), QStringLiteral("0"));
    QVERIFY(readOnlyOneAtStart(reg));  // wrong type: the start-up default
  }
};

QTEST_GUILESS_MAIN(TestRegistry)
#include "tst_registry.moc"
