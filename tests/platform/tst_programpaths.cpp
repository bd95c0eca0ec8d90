#include <QDir>
#include <QFileInfo>
#include <QTest>

#include "platform/ProgramPaths.h"
#include "support/TempDir.h"

using namespace vorlix;

class TestProgramPaths : public QObject {
  Q_OBJECT

 private slots:
  void databaseFolderFallsBackToTheDataFolder() {
    test::IsolatedHome home;
    QCOMPARE(writableFolderFor(home.path()), home.path());
    const QString data = home.path("data/Vorlix");
    QVERIFY(!QFileInfo::exists(data));
    QCOMPARE(writableFolderFor(home.path("no-such-folder")), data);
    QVERIFY(QFileInfo(data).isDir());  // made ready for the first save
    QCOMPARE(QFileInfo(defaultDatabasePath()).fileName(), QStringLiteral("default.ldb"));
  }

  void favoritesFolderOrHome() {
    test::IsolatedHome home;
    QCOMPARE(favoritesFolder(), home.path());
    QDir(home.path()).mkdir(QStringLiteral("Favorites"));
    QCOMPARE(favoritesFolder(), home.path("Favorites"));
  }
};

QTEST_GUILESS_MAIN(TestProgramPaths)
#include "tst_programpaths.moc"
