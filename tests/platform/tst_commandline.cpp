#include <QDir>
#include <QTest>

#include "platform/CommandLine.h"
#include "support/Files.h"
#include "support/TempDir.h"

using namespace vorlix;

class TestCommandLine : public QObject {
  Q_OBJECT

 private slots:
  void onlyAnExistingLdbFileIsADatabase() {
    test::IsolatedHome home;
    const QString db = home.path("links.LDB");
    test::writeFile(db, QByteArray());
    QDir().mkpath(home.path("folder.ldb"));
    QCOMPARE(databaseArgument({db}), db);
    QCOMPARE(databaseArgument({db, QStringLiteral("description")}), db);
    QVERIFY(databaseArgument({}).isEmpty());
    QVERIFY(databaseArgument({home.path("missing.ldb")}).isEmpty());
    QVERIFY(databaseArgument({home.path("folder.ldb")}).isEmpty());
    QVERIFY(databaseArgument({QStringLiteral("https://example.org/a.ldb")}).isEmpty());
    test::writeFile(home.path("notes.txt"), QByteArray());
    QVERIFY(databaseArgument({home.path("notes.txt")}).isEmpty());
  }

  void aRelativeDatabaseIsHandedOverAbsolute() {
    test::IsolatedHome home;
    test::writeFile(home.path("a.ldb"), QByteArray());
    const QString old = QDir::currentPath();
    QDir::setCurrent(home.path());
    const QStringList out = handOverParams({QStringLiteral("a.ldb")});
    QDir::setCurrent(old);
    QCOMPARE(out, QStringList({home.path("a.ldb")}));
    const QStringList url = {QStringLiteral("https://example.org"), QStringLiteral("Example")};
    QCOMPARE(handOverParams(url), url);
  }
};

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
