#include <sys/stat.h>

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include "components/RecentFiles.h"
#include "platform/Registry.h"
#include "support/Files.h"
#include "support/TempDir.h"

using namespace vorlix;

namespace {

const QString kKey = QStringLiteral("\\SOFTWARE\\Vorlix");
const QString kHistory = QStringLiteral("\\SOFTWARE\\Vorlix\\FileHistory");

QStringList captions(const QMenu& menu) {
  QStringList out;
  for (const QAction* a : menu.actions()) out << a->text();
  return out;
}

// Recent files over a fresh registry, with real files to add.
struct Fixture {
  test::IsolatedHome home;
  Registry reg;
  QMenu menu;
  TRecentFiles rf{reg};

  Fixture(int maxFiles = 10) {
    menu.setEnabled(false);  // as the window designs ReOpen
    rf.setMenu(&menu);
    rf.setMaxFiles(maxFiles);
  }
  QString file(const QString& name) {
    const QString p = home.path(QStringLiteral("dbs/") + name);
    if (!QFileInfo::exists(p)) test::writeFile(p, QByteArray());
    return p;
  }
};

}  // namespace

class TestRecentFiles : public QObject {
  Q_OBJECT

 private slots:
  // The list's registry key follows the application's name.
  void initTestCase() { QCoreApplication::setApplicationName(QStringLiteral("Vorlix")); }

  void numberingGoesFromNineToLetters() {
    QCOMPARE(RecentFileList::numberChar(0), QChar('1'));
    QCOMPARE(RecentFileList::numberChar(8), QChar('9'));
    QCOMPARE(RecentFileList::numberChar(9), QChar('A'));
    QCOMPARE(RecentFileList::numberChar(34), QChar('Z'));
    QCOMPARE(RecentFileList::caption(9, QStringLiteral("/x.ldb")), QStringLiteral("&A /x.ldb"));
  }

  void addingMovesToTopWithoutDuplicatesAndCaseCounts() {
    Fixture f;
    const QString a = f.file("a.ldb"), b = f.file("b.ldb"), upper = f.file("A.ldb");
    f.rf.AddFile(a);
    QVERIFY(f.menu.isEnabled());  // the first addition enables the submenu
    f.rf.AddFile(b);
    f.rf.AddFile(a);
    QCOMPARE(captions(f.menu), QStringList({"&1 " + a, "&2 " + b}));
    f.rf.AddFile(upper);  // another letter case is another file
    QCOMPARE(f.rf.list().files(), QStringList({upper, a, b}));
    QCOMPARE(captions(f.menu).last(), "&3 " + b);
  }

  void nothingJoinsThatIsMissingEmptyOrOverALimitOfZero() {
    Fixture f(0);
    f.rf.AddFile(f.file("a.ldb"));
    QVERIFY(f.rf.entries().empty());
    f.rf.setMaxFiles(5);
    f.rf.AddFile(QString());
    f.rf.AddFile(f.home.path("nowhere.ldb"));
    f.rf.AddFile(f.home.path("dbs"));  // a folder is not a file
    QVERIFY(f.rf.entries().empty());
    QVERIFY(!f.menu.isEnabled());
  }

  void onlyOrdinaryFilesJoin() {
    Fixture f;
    const QString fifo = f.home.path("pipe.ldb");
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // Each passes a plain "is it a file" look or opens without error.
    for (const QString& odd : {fifo, QStringLiteral("/dev/null"), QStringLiteral("/proc/self/mem"),
                               QStringLiteral("/proc/self/environ")})
      f.rf.AddFile(odd);
    QVERIFY(f.rf.entries().empty());
    const QString real = f.file("real.ldb");
    f.rf.AddFile(real);
    QCOMPARE(f.rf.list().files(), QStringList{real});
  }

  void aFullListLosesItsLastEntry() {
    Fixture f(3);
    const QString f1 = f.file("f1"), f2 = f.file("f2"), f3 = f.file("f3"), f4 = f.file("f4");
    for (const QString& p : {f3, f2, f1}) f.rf.AddFile(p);
    f.rf.AddFile(f4);
    QCOMPARE(f.rf.list().files(), QStringList({f4, f1, f2}));
    QCOMPARE(f.menu.actions().size(), 3);
  }

  void aLoweredLimitShortensOneEntryPerAddition() {
    Fixture f(10);
    QStringList names;
    for (int i = 0; i < 11; ++i) names << f.file(QStringLiteral("f%1").arg(i));
    for (int i = 0; i < 10; ++i) f.rf.AddFile(names[i]);
    f.rf.setMaxFiles(3);
    QCOMPARE(f.rf.entries().size(), size_t(10));
    f.rf.AddFile(names[10]);
    QCOMPARE(f.rf.entries().size(), size_t(10));  // one in, one out
    QCOMPARE(f.rf.list().files().first(), names[10]);
    f.rf.AddFile(names[5]);  // a move: still one removal
    QCOMPARE(f.rf.entries().size(), size_t(9));
  }

  void theTenthEntryIsNumberedAAndStoredAsFileA() {
    Fixture f(10);
    QStringList names;
    for (int i = 0; i < 10; ++i) names << f.file(QStringLiteral("f%1.ldb").arg(i));
    for (const QString& n : names) f.rf.AddFile(n);
    const QAction* last = f.rf.entries().back();
    QVERIFY(last->text().startsWith(QStringLiteral("&A ")));
    f.rf.SaveToRegistry();
    QCOMPARE(*f.reg.readString(kHistory, QStringLiteral("FileA")), names.first());
    QCOMPARE(*f.reg.readString(kHistory, QStringLiteral("File1")), names.last());
    QCOMPARE(f.reg.valueNames(kHistory).size(), 10);
  }

  void saveReplacesAndLoadRestoresTheOrderDroppingMissingFiles() {
    Fixture f(10);
    const QString a = f.file("a"), b = f.file("b"), c = f.file("c");
    // Stale values of a longer list must not survive a save.
    f.reg.writeString(kHistory, QStringLiteral("File9"), a);
    for (const QString& p : {c, b, a}) f.rf.AddFile(p);
    f.rf.SaveToRegistry();
    QCOMPARE(f.reg.valueNames(kHistory), QStringList({"File1", "File2", "File3"}));

    QFile::remove(b);
    QMenu menu2;
    TRecentFiles again(f.reg);
    again.setMenu(&menu2);
    again.setMaxFiles(10);
    again.LoadFromRegistry();
    QCOMPARE(again.list().files(), QStringList({a, c}));
    QCOMPARE(captions(menu2), QStringList({"&1 " + a, "&2 " + c}));

    // Values past the limit are not read: File3 (c) stays out.
    f.reg.writeString(kHistory, QStringLiteral("File2"), QString());
    TRecentFiles small(f.reg);
    QMenu menu3;
    small.setMenu(&menu3);
    small.setMaxFiles(2);
    small.LoadFromRegistry();
    QCOMPARE(small.list().files(), QStringList({a}));
  }

  void loadingWithoutAKeyOrWithWrongValuesIsQuiet() {
    Fixture f(5);
    f.rf.LoadFromRegistry();  // no key at all
    QVERIFY(f.rf.entries().empty());
    QVERIFY(!f.reg.keyExists(kHistory));
    f.reg.writeInteger(kHistory, QStringLiteral("File1"), 7);
    f.reg.writeString(kHistory, QStringLiteral("File2"), f.file("ok"));
    f.rf.LoadFromRegistry();
    QCOMPARE(f.rf.list().files(), QStringList({f.file("ok")}));
  }

  void anUnsavedRunStillReplacesTheStoredList() {
    // "Save entries" off: the run starts empty, and its list is saved at exit.
    Fixture f(10);
    f.reg.writeString(kHistory, QStringLiteral("File1"), f.file("old"));
    f.rf.AddFile(f.file("new"));
    f.rf.SaveToRegistry();
    QCOMPARE(f.reg.valueNames(kHistory), QStringList({"File1"}));
    QCOMPARE(*f.reg.readString(kHistory, QStringLiteral("File1")), f.file("new"));
  }

  void choosingAnEntryReportsItsFileAndHonoursDeleteEntry() {
    Fixture f;
    const QString a = f.file("a"), b = f.file("b");
    f.rf.AddFile(b);
    f.rf.AddFile(a);
    QSignalSpy clicked(&f.rf, &TRecentFiles::OnClick);
    f.menu.actions().at(1)->trigger();
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(clicked.at(0).at(0).toString(), b);
    QCOMPARE(f.rf.list().files(), QStringList({a, b}));  // the entry keeps its place

    f.rf.setDeleteEntry(true);
    f.menu.actions().at(0)->trigger();
    QCOMPARE(clicked.at(1).at(0).toString(), a);
    QCOMPARE(captions(f.menu), QStringList({"&1 " + b}));  // renumbered
    QVERIFY(f.menu.isEnabled());                           // not a stand-alone menu: left as it was

    f.rf.setStandAloneMenu(true);
    f.menu.actions().at(0)->trigger();
    QVERIFY(f.menu.actions().isEmpty());
    QVERIFY(!f.menu.isEnabled());
  }

  void clearingEmptiesTheStoredListAndTheMenu() {
    Fixture f;
    f.rf.AddFile(f.file("a"));
    f.rf.SaveToRegistry();
    f.reg.writeString(kKey + QStringLiteral("\\Settings"), QStringLiteral("LastOpenFile"), "x");
    QSignalSpy cleared(&f.rf, &TRecentFiles::OnClear);
    f.rf.ClearRegistry();
    f.rf.ClearMenu();
    QVERIFY(f.reg.keyExists(kHistory));
    QVERIFY(f.reg.valueNames(kHistory).isEmpty());
    QVERIFY(f.reg.valueExists(kKey + QStringLiteral("\\Settings"), QStringLiteral("LastOpenFile")));
    QVERIFY(f.menu.actions().isEmpty());
    QCOMPARE(cleared.size(), 1);

    f.reg.deleteKey(kHistory);
    f.rf.ClearRegistry();  // a missing key stays missing
    QVERIFY(!f.reg.keyExists(kHistory));
  }

  void entriesShowAnAmpersandAsItselfAndKeepOtherMenuItemsBelow() {
    Fixture f;
    QAction* other = f.menu.addAction(QStringLiteral("Other"));
    const QString odd = f.file("Tom & Jerry.ldb");
    f.rf.AddFile(odd);
    QCOMPARE(f.menu.actions().size(), 2);
    QCOMPARE(f.menu.actions().first()->text(), "&1 " + QString(odd).replace("&", "&&"));
    QCOMPARE(TRecentFiles::fileNameOf(f.menu.actions().first()), odd);
    QCOMPARE(f.menu.actions().last(), other);
  }

  void withoutAMenuNothingHappens() {
    test::IsolatedHome home;
    Registry reg;
    TRecentFiles rf(reg);
    rf.setMaxFiles(5);
    const QString p = home.path("a.ldb");
    test::writeFile(p, QByteArray());
    rf.AddFile(p);
    rf.SaveToRegistry();
    QVERIFY(rf.entries().empty());
    QVERIFY(!reg.keyExists(kHistory));
  }
};

QTEST_MAIN(TestRecentFiles)
#include "tst_recentfiles.moc"
