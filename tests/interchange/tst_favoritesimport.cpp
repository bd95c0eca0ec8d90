#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "interchange/FavoritesImport.h"
#include "store/Ansi.h"
#include "store/DosDate.h"
#include "support/FakeDesktop.h"
#include "support/Records.h"

using namespace vorlix;
using vorlix::test::describe;

namespace {

void makeFile(const QString& path, const QByteArray& content) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(content);
}

QByteArray shortcut(const QByteArray& url) { return "[InternetShortcut]\r\nURL=" + url + "\r\n"; }

}  // namespace

class TestFavoritesImport : public QObject {
  Q_OBJECT

 private slots:
  void walkOrderNamesAndKinds() {
    QTemporaryDir tmp;
    const QString fav = tmp.filePath(QStringLiteral("Favs"));
    const QByteArray longUrl = "http://example.org/" + QByteArray(300, 'q');
    makeFile(fav + "/News.url", shortcut("http://news/"));
    makeFile(fav + "/b.URL", shortcut("http://b/"));
    makeFile(fav + "/a.Url", "no section here\r\n");
    makeFile(fav + "/Long.url", shortcut(longUrl));
    makeFile(fav + "/notes.txt", shortcut("http://ignored/"));
    makeFile(fav + "/.dotfile.url", shortcut("http://dot/"));
    makeFile(fav + "/Folder.URL/inner.url", shortcut("http://inner/"));
    makeFile(fav + "/.hidden/x.url", shortcut("http://hidden/"));
    makeFile(fav + "/Tech/A.url", shortcut("http://tech/"));
    makeFile(fav + "/Tech/sub/deep.url", shortcut("http://deep/"));
    makeFile(fav + "/Tech/Sub2/z.url", shortcut("http://z/"));
    QDir().mkpath(fav + "/zeta");

    LinkList list;
    list.append(LinkRecord::make("Favorites\\kept", "", 0, "Url"));  // appended to, not cleared
    FitReport report;
    QCOMPARE(&ImportFavoritesFolder(fav, fav, list, &report), &list);
    // The cut is told, not silent.
    QCOMPARE(report.cutUrls, QStringList{"Favorites\\Long.url"});
    QVERIFY(report.cutTitles.isEmpty());
    const QString cut = QString::fromLatin1(longUrl.left(255));
    QCOMPARE(describe(list), (QStringList{
                                 "Favorites\\kept||Url",
                                 "Favorites\\.dotfile.url|http://dot/|Url",
                                 "Favorites\\a.Url||Url",
                                 "Favorites\\b.URL|http://b/|Url",
                                 "Favorites\\Folder.URL||Folder",
                                 "Favorites\\Long.url|" + cut + "|Url",
                                 "Favorites\\News.url|http://news/|Url",
                                 "Favorites\\Folder.URL\\||Folder",
                                 "Favorites\\Folder.URL\\inner.url|http://inner/|Url",
                                 "Favorites\\Tech\\||Folder",
                                 "Favorites\\Tech\\A.url|http://tech/|Url",
                                 "Favorites\\Tech\\sub\\||Folder",
                                 "Favorites\\Tech\\sub\\deep.url|http://deep/|Url",
                                 "Favorites\\Tech\\Sub2\\||Folder",
                                 "Favorites\\Tech\\Sub2\\z.url|http://z/|Url",
                                 "Favorites\\zeta\\||Folder",
                             }));

    // A walk started below the Favorites folder names records from its root.
    LinkList below;
    ImportFavoritesFolder(fav + "/Tech/", fav, below);
    QCOMPARE(describe(below).first(), QStringLiteral("Favorites\\Tech\\A.url|http://tech/|Url"));
  }

  void namesAndDatesAsStored() {
    QTemporaryDir tmp;
    const QString fav = tmp.path();
    const QDateTime when(QDate(2001, 2, 3), QTime(4, 5, 6));
    makeFile(fav + "/Caf\u00e9 \u20ac.url", shortcut("http://caf\xE9/"));
    makeFile(fav + "/back\\slash.url", shortcut("http://b/"));
    QFile f(fav + "/Caf\u00e9 \u20ac.url");
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(when, QFileDevice::FileModificationTime));
    f.close();

    LinkList list;
    ImportFavoritesFolder(fav, fav, list);
    QCOMPARE(list.size(), size_t(2));
    QCOMPARE(std::string(list[0].fullName()), std::string("Favorites\\back/slash.url"));
    QCOMPARE(std::string(list[1].storedFullName()), std::string("Favorites\\Caf\xE9 \x80.url"));
    QCOMPARE(std::string(list[1].storedUrl()), std::string("http://caf\xE9/"));
    QCOMPARE(list[1].dateStamp(), toDosDateTime(when));
  }

  void symlinkLoopEnds() {
    QTemporaryDir tmp;
    const QString fav = tmp.filePath(QStringLiteral("Favs"));
    makeFile(fav + "/A/x.url", shortcut("http://x/"));
    QVERIFY(QFile::link(fav, fav + "/A/up"));
    LinkList list;
    ImportFavoritesFolder(fav, fav, list);
    QCOMPARE(describe(list),
             (QStringList{"Favorites\\A\\||Folder", "Favorites\\A\\x.url|http://x/|Url",
                          "Favorites\\A\\up\\||Folder"}));
  }

  void chooserDecidesWhetherAnythingHappens() {
    QTemporaryDir tmp;
    makeFile(tmp.filePath("one.url"), shortcut("http://one/"));
    LinkList list;
    list.append(LinkRecord::make("Favorites\\old", "", 0, "Url"));
    QString favoritesPath = QStringLiteral("/start/here");
    test::FakeDesktop desktop;

    const ImportOutcome cancelled = RunFavoritesImport(desktop, nullptr, favoritesPath, list);
    QVERIFY(!cancelled.chosen);
    QCOMPARE(desktop.folderQuestions, QStringList{"Choose favorites folder:|/start/here"});
    QCOMPARE(favoritesPath, QStringLiteral("/start/here"));
    QCOMPARE(list.size(), size_t(1));

    desktop.folders = {tmp.filePath("not-a-folder")};
    QVERIFY(!RunFavoritesImport(desktop, nullptr, favoritesPath, list).chosen);
    QCOMPARE(list.size(), size_t(1));

    desktop.folders = {tmp.path()};
    const ImportOutcome done = RunFavoritesImport(desktop, nullptr, favoritesPath, list);
    QVERIFY(done.chosen);
    QCOMPARE(done.records, size_t(1));
    QCOMPARE(favoritesPath, tmp.path());
    QCOMPARE(describe(list), QStringList{"Favorites\\one.url|http://one/|Url"});
  }

  // Unreadable entries need a user the permissions apply to: the test runs
  // itself again as "nobody" for the walk.
  void unreadableEntries() {
    const QByteArray childFolder = qgetenv("VORLIX_IMPORT_CHILD");
    if (!childFolder.isEmpty()) {
      LinkList list;
      ImportFavoritesFolder(QString::fromLocal8Bit(childFolder),
                            QString::fromLocal8Bit(childFolder), list);
      for (const QString& line : describe(list)) printf("REC:%s\n", qPrintable(line));
      return;
    }
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (::geteuid() != 0 || setpriv.isEmpty()) QSKIP("needs root and setpriv to change user");

    QTemporaryDir tmp;
    QFile::setPermissions(tmp.path(),
                          QFile::permissions(tmp.path()) | QFile::ReadOther | QFile::ExeOther);
    const QString fav = tmp.path();
    makeFile(fav + "/ok.url", shortcut("http://ok/"));
    makeFile(fav + "/secret.url", shortcut("http://secret/"));
    makeFile(fav + "/Locked/inside.url", shortcut("http://inside/"));
    makeFile(fav + "/Open/in.url", shortcut("http://in/"));
    QFile::setPermissions(fav + "/secret.url", QFile::Permissions());
    QFile::setPermissions(fav + "/Locked", QFile::Permissions());

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VORLIX_IMPORT_CHILD"), fav);
    child.setProcessEnvironment(env);
    child.start(setpriv, {"--reuid=65534", "--regid=65534", "--clear-groups",
                          QCoreApplication::applicationFilePath(), "unreadableEntries"});
    QVERIFY(child.waitForFinished(60000));
    QStringList records;
    for (const QByteArray& line : child.readAllStandardOutput().split('\n'))
      if (line.startsWith("REC:")) records << QString::fromLocal8Bit(line.mid(4));
    if (records.isEmpty() && child.exitCode() != 0)
      QSKIP("the test program cannot run as nobody here");
    QCOMPARE(records,
             (QStringList{"Favorites\\ok.url|http://ok/|Url",
                          "Favorites\\secret.url||Url",   // unreadable: no URL
                          "Favorites\\Locked\\||Folder",  // but nothing from inside
                          "Favorites\\Open\\||Folder", "Favorites\\Open\\in.url|http://in/|Url"}));
  }
};

QTEST_GUILESS_MAIN(TestFavoritesImport)
#include "tst_favoritesimport.moc"
