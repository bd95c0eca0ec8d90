// New, Open, open recent, Save, Save as, the import command and the first
// showing, on real files in a temporary home.
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include "components/XeStaticText.h"
#include "mainwindow/FileCommands.h"
#include "mainwindow/TreeLinksView.h"
#include "mainwindow/WindowParts.h"
#include "platform/ProfileStrings.h"
#include "platform/Registry.h"
#include "store/ListRows.h"
#include "support/Files.h"
#include "support/MainWindowFixture.h"

using namespace vorlix;
using namespace vorlix::test;

namespace {

const QStringList kSample = {"Favorites\\News\\", "Favorites\\News\\Daily|http://daily.example",
                             "Favorites\\Qt|https://qt.io"};

QString lastOpenFile() {
  Registry reg;
  const auto v = reg.readString(kSettingsKey, QStringLiteral("LastOpenFile"));
  return v ? *v : QString();
}

}  // namespace

class TestFileCommands : public QObject {
  Q_OBJECT

 private slots:
  void startOpensTheLastFile() {
    MainWindowFixture f(kSample);
    QCOMPARE(f.w().windowTitle(), QStringLiteral("Vorlix - links.ldb"));
    QCOMPARE(f.w().view().document().fileName(), f.dbPath());
    QCOMPARE(f.captions(), QStringList({"News", "Qt"}));
    QVERIFY(!f.w().view().document().isDirty());
    QCOMPARE(part<TXeStaticText>(f.w(), "TPath")->text(), QStringLiteral(" Favorites\\"));
    QVERIFY(f.w().view().tree().selected() == f.w().view().tree().root());
  }

  void missingLastFileAsksForTheImport() {
    MainWindowFixture f;  // answers No
    QCOMPARE(f.prompts.asked.front().text,
             QStringLiteral("Do you want to import favorites links from Internet Explorer ?"));
    QVERIFY(!f.prompts.asked.front().sound);
    QCOMPARE(f.w().windowTitle(), QStringLiteral("Vorlix - untitled.ldb"));
    QVERIFY(f.w().view().document().fileName().isEmpty());
    QVERIFY(f.w().view().tree().root());
    QCOMPARE(f.w().view().tree().rowCount(f.w().view().tree().indexFor(f.w().view().tree().root())),
             0);
    QVERIFY(!f.w().view().document().isDirty());
  }

  void openSaveAndSaveAs() {
    MainWindowFixture f;
    TFMainXeVorlix& w = f.w();
    const QString other = writeDatabase(f.home.path("other.ldb"), kSample);
    f.desktop.openNames = {other};
    w.files().FOpenExecute();
    QCOMPARE(w.view().document().fileName(), other);
    QCOMPARE(w.windowTitle(), QStringLiteral("Vorlix - other.ldb"));
    QCOMPARE(lastOpenFile(), other);
    QCOMPARE(readRememberedOpenFolder(), f.home.path() + QLatin1Char('/'));
    QVERIFY(!part<QAction>(w, "FSave")->isEnabled());

    // Save with a file name writes silently and leaves "LastOpenFile" alone.
    Registry().writeString(kSettingsKey, QStringLiteral("LastOpenFile"), QStringLiteral("x"));
    appendRecord(w, LinkRecord::make("Favorites\\New", "u", 0, "Url"));
    QVERIFY(w.files().FSaveExecute());
    QCOMPARE(readFile(other).size(), 4 * kRecordSize);
    QCOMPARE(lastOpenFile(), QStringLiteral("x"));
    QVERIFY(!w.view().document().isDirty() && !part<QAction>(w, "FSave")->isEnabled());
    QVERIFY(f.desktop.saveStartDirs.isEmpty());

    // Save as changes the file, "LastOpenFile" and the caption, which
    // names the file the next Save writes.
    const QString copy = f.home.path("copy.ldb");
    f.desktop.saveNames = {copy};
    QVERIFY(w.files().Saveas1Click());
    QCOMPARE(readFile(copy), readFile(other));
    QCOMPARE(w.view().document().fileName(), copy);
    QCOMPARE(lastOpenFile(), copy);
    QCOMPARE(w.windowTitle(), QStringLiteral("Vorlix - copy.ldb"));
    appendRecord(w, LinkRecord::make("Favorites\\Newer", "u", 0, "Url"));
    QVERIFY(w.files().FSaveExecute());
    QCOMPARE(readFile(copy).size(), 5 * kRecordSize);
    QCOMPARE(readFile(other).size(), 4 * kRecordSize);

    // An untitled database's first Save is a Save as: it names its file too.
    w.files().FNewExecute();
    QCOMPARE(w.windowTitle(), QStringLiteral("Vorlix - untitled.ldb"));
    appendRecord(w, LinkRecord::make("Favorites\\First", "u", 0, "Url"));
    f.desktop.saveNames = {f.home.path("first.ldb")};
    QVERIFY(w.files().FSaveExecute());
    QCOMPARE(w.windowTitle(), QStringLiteral("Vorlix - first.ldb"));

    // The next Open starts in the remembered folder.
    f.desktop.openNames = {};
    w.files().FOpenExecute();
    QCOMPARE(f.desktop.openStartDirs.last(), f.home.path() + QLatin1Char('/'));
  }

  void fileDialogsStartInTheLastFolderUsedElseInDocuments() {
    MainWindowFixture f;
    TFMainXeVorlix& w = f.w();
    QDir().mkpath(f.home.path("Documents"));
    QDir().mkpath(f.home.path("sub"));
    appendRecord(w, LinkRecord::make("Favorites\\First", "u", 0, "Url"));
    f.desktop.saveNames = {f.home.path("sub/first.ldb")};
    QVERIFY(w.files().FSaveExecute());
    QCOMPARE(f.desktop.saveStartDirs, QStringList({f.home.path("Documents")}));
    // The folder the database went to is where the next dialog starts,
    // whichever command opens it.
    part<QAction>(w, "Export1")->trigger();
    QCOMPARE(f.desktop.saveStartDirs.last(), f.home.path("sub/"));
    w.files().FOpenExecute();
    QCOMPARE(f.desktop.openStartDirs.last(), f.home.path("sub/"));
  }

  void cancelledSaveKeepsTheChanges() {
    MainWindowFixture f;
    TFMainXeVorlix& w = f.w();
    appendRecord(w, LinkRecord::make("Favorites\\Keep", "u", 0, "Url"));
    // Yes, then the Save dialog is cancelled: New must not go on.
    f.prompts.answers = {Answer::Yes};
    w.files().FNewExecute();
    QCOMPARE(w.view().document().links().size(), size_t(1));
    QVERIFY(w.view().document().isDirty());
    // Cancel on the question itself.
    f.prompts.answers = {Answer::Cancel};
    w.files().FOpenExecute();
    QVERIFY(f.desktop.openStartDirs.isEmpty());
    // No throws the change away.
    f.prompts.answers = {Answer::No};
    w.files().FNewExecute();
    QVERIFY(w.view().document().links().empty() && !w.view().document().isDirty());
  }

  void failedLoadKeepsTheOpenDatabase() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    markDirty(w);
    f.prompts.answers = {Answer::No};
    f.desktop.openNames = {f.home.path("gone.ldb")};
    w.files().FOpenExecute();
    QCOMPARE(f.prompts.lastText(), QStringLiteral("File not found"));
    QCOMPARE(f.prompts.asked.back().type, MsgType::Error);
    QCOMPARE(w.view().document().links().size(), size_t(3));
    QCOMPARE(w.view().document().fileName(), f.dbPath());
    QCOMPARE(w.windowTitle(), QStringLiteral("Vorlix - links.ldb"));
    QVERIFY(w.view().document().isDirty());
    QCOMPARE(f.captions(), QStringList({"News", "Qt"}));
  }

  void fileThatIsNoDatabaseIsAskedAbout_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("question");  // empty: opens without one
    QTest::addColumn<int>("records");
    const QByteArray link(LinkRecord::make("Favorites\\a", "http://a/", 0, "Url").raw.data(),
                          kRecordSize);
    QTest::newRow("text") << QByteArray(669, 'x')
                          << "'other.ldb' does not look like a Vorlix database:\r\n141 bytes at "
                             "the end are not a whole record and would be lost at the next "
                             "Save.\r\n1 record is neither a link nor a folder.\r\nOpen it all the "
                             "same ?"
                          << 1;
    QByteArray odd = link;
    odd[517] = 'X';  // kind "Xrl"
    QTest::newRow("unknown kind") << link + odd
                                  << "'other.ldb' does not look like a Vorlix database:\r\n1 "
                                     "record is neither a link nor a folder.\r\nOpen it all the "
                                     "same ?"
                                  << 2;
    QTest::newRow("database") << link + link << QString() << 2;
    QTest::newRow("empty") << QByteArray() << QString() << 0;
  }
  void fileThatIsNoDatabaseIsAskedAbout() {
    QFETCH(QByteArray, content);
    QFETCH(QString, question);
    QFETCH(int, records);
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    const QString other = f.home.path("other.ldb");
    writeFile(other, content);
    const QByteArray db = readFile(f.dbPath());
    for (const Answer answer : {Answer::No, Answer::Yes}) {
      f.prompts.asked.clear();
      f.prompts.answers = {answer};
      f.desktop.openNames = {other};
      w.files().FOpenExecute();
      if (question.isEmpty()) {
        QVERIFY(f.prompts.asked.empty());
      } else {
        QCOMPARE(f.prompts.lastText(), question);
        QCOMPARE(f.prompts.asked.back().preferred, std::optional(Answer::No));
      }
      if (answer == Answer::No && !question.isEmpty()) {
        // No keeps the open database and leaves the file untouched.
        QCOMPARE(w.view().document().fileName(), f.dbPath());
        QCOMPARE(w.view().document().links().size(), size_t(3));
      } else {
        QCOMPARE(w.view().document().fileName(), other);
        QCOMPARE(w.view().document().links().size(), size_t(records));
      }
      QCOMPARE(readFile(other), content);
      QCOMPARE(readFile(f.dbPath()), db);
    }
  }

  void folderIsNoFile() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    QVERIFY(QDir(f.home.path()).mkpath("x.ldb"));
    f.desktop.openNames = {f.home.path("x.ldb")};
    w.files().FOpenExecute();
    QCOMPARE(f.prompts.lastText(), QStringLiteral("x.ldb is a folder, not a file"));
    QCOMPARE(w.view().document().fileName(), f.dbPath());
  }

  void failedSaveKeepsFileAndDirtyFlag() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    const QByteArray before = readFile(f.dbPath());
    appendRecord(w, LinkRecord::make("Favorites\\More", "u", 0, "Url"));
    f.desktop.saveNames = {f.home.path("no/such/folder/x.ldb")};
    QVERIFY(!w.files().Saveas1Click());
    QCOMPARE(f.prompts.lastText(), QStringLiteral("File not found"));
    QVERIFY(w.view().document().isDirty());
    QCOMPARE(w.view().document().fileName(), f.dbPath());  // the failed name was not taken
    QCOMPARE(w.windowTitle(), QStringLiteral("Vorlix - links.ldb"));
    QCOMPARE(readFile(f.dbPath()), before);
  }

  void openWithTheTreeFocusedRebuildsTheListOnce() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    part<TreeLinksView>(w, "TreeLinks")->setFocus();
    QCoreApplication::processEvents();
    QSignalSpy resets(&w.view().list(), &QAbstractItemModel::modelReset);
    f.desktop.openNames = {f.dbPath()};
    w.files().FOpenExecute();
    QCOMPARE(resets.count(), 1);
    QCOMPARE(f.captions(), QStringList({"News", "Qt"}));
  }

  void openRecentOfADeletedFile() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    const QString gone = f.home.path("gone.ldb");
    part<QMenu>(w, "ReOpen1")->addAction(QStringLiteral("1 ") + gone);
    w.files().RebuildOpenDropDown();
    QCOMPARE(part<QMenu>(w, "PopFile")->actions().size(), 1);
    part<QMenu>(w, "PopFile")->actions().first()->trigger();
    QCOMPARE(f.prompts.lastText(), QStringLiteral("File does not exist !"));
    QVERIFY(part<QMenu>(w, "PopFile")->actions().isEmpty());
    QCOMPARE(w.view().document().fileName(), f.dbPath());
    QCOMPARE(w.windowTitle(), QStringLiteral("Vorlix - links.ldb"));

    // An existing one opens.
    const QString other = writeDatabase(f.home.path("other.ldb"), {"Favorites\\Only|x"});
    part<QMenu>(w, "ReOpen1")->addAction(QStringLiteral("2 ") + other);
    w.files().RebuildOpenDropDown();
    part<QMenu>(w, "PopFile")->actions().last()->trigger();
    QCOMPARE(w.view().document().fileName(), other);
    QCOMPARE(f.captions(), QStringList({"Only"}));
    QCOMPARE(lastOpenFile(), other);
  }

  void importReplacesTheDatabase() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    QDir(f.home.path()).mkpath("fav/Tech");
    QFile a(f.home.path("fav/Tech/A.url"));
    QVERIFY(a.open(QIODevice::WriteOnly));
    a.write("[InternetShortcut]\r\nURL=http://a.example/\r\n");
    a.close();
    f.desktop.folders = {f.home.path("fav")};
    // Added by default into a folder named as the Favorites folder, every
    // record there was kept.
    const size_t before = w.view().document().links().size();
    part<QAction>(w, "FavoritesLinksfromInternetExplorer1")->trigger();
    QCOMPARE(w.view().document().links().size(), before + 3);
    QCOMPARE(w.view().document().links()[before].fullName(), std::string_view("Favorites\\fav\\"));
    QCOMPARE(w.view().document().links()[before + 2].fullName(),
             std::string_view("Favorites\\fav\\Tech\\A.url"));
    w.view().document().undo();
    QCOMPARE(w.view().document().links().size(), before);
    f.desktop.folders = {f.home.path("fav")};
    f.prompts.answers = {Answer::No};  // replace the content
    part<QAction>(w, "FavoritesLinksfromInternetExplorer1")->trigger();
    QCOMPARE(w.view().document().links().size(), size_t(2));
    QCOMPARE(w.view().document().links()[0].fullName(), std::string_view("Favorites\\Tech\\"));
    QCOMPARE(w.view().document().links()[1].fullName(), std::string_view("Favorites\\Tech\\A.url"));
    QCOMPARE(w.view().document().links()[1].url(), std::string_view("http://a.example/"));
    QVERIFY(w.view().document().isDirty());
    QCOMPARE(w.files().FavoritesPath, f.home.path("fav"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Vorlix - links.ldb"));  // keeps its file
    QCOMPARE(f.captions(), QStringList({"Tech"}));

    // A cancelled chooser changes nothing.
    f.prompts.answers = {Answer::No};
    part<QAction>(w, "FavoritesLinksfromInternetExplorer1")->trigger();
    QCOMPARE(w.view().document().links().size(), size_t(2));
  }
};

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
