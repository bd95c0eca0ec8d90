// Undo and redo in the window: the Edit menu's captions and enabled state,
// the tool buttons, the keys, the views after a step is taken back, and the
// dirty flag against the saved file.
#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include "components/XeListView.h"
#include "components/XeStaticText.h"
#include "mainwindow/FileCommands.h"
#include "mainwindow/TreeLinksView.h"
#include "mainwindow/WindowParts.h"
#include "store/ListRows.h"
#include "support/Files.h"
#include "support/MainWindowFixture.h"

using namespace vorlix;
using namespace vorlix::test;

namespace {

const QStringList kSample = {"Favorites\\A\\", "Favorites\\A\\x|http://x.example",
                             "Favorites\\News|http://news.example"};

QAction* item(TFMainXeVorlix& w, const char* name) {
  return w.findChild<QAction*>(QString::fromLatin1(name));
}

void focusList(TFMainXeVorlix& w) {
  part<TXeListView>(w, "ListLinks")->activeView()->setFocus();
  QCoreApplication::processEvents();
}

}  // namespace

class TestUndoWiring : public QObject {
  Q_OBJECT

 private slots:
  void menuCaptionsAndButtonsFollowTheHistory() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    QAction* undo = item(w, "Undo1");
    QAction* redo = item(w, "Redo1");
    auto* bUndo = w.findChild<QToolButton*>(QStringLiteral("BUndo"));
    QVERIFY(undo && redo && bUndo);
    QCOMPARE(undo->text(), QStringLiteral("Undo"));
    QVERIFY(!undo->isEnabled() && !redo->isEnabled() && !bUndo->isEnabled());

    f.prompts.inputs = {QStringLiteral("Fresh")};
    part<QAction>(w, "ENewFolder")->trigger();
    QCOMPARE(undo->text(), QStringLiteral("Undo New Folder 'Fresh'"));
    QCOMPARE(bUndo->toolTip(), undo->text());
    QCOMPARE(bUndo->accessibleName(), undo->text());
    QVERIFY(undo->isEnabled() && bUndo->isEnabled() && !redo->isEnabled());
    QVERIFY(f.captions().contains("Fresh"));

    undo->trigger();
    QVERIFY(!f.captions().contains("Fresh"));
    QCOMPARE(redo->text(), QStringLiteral("Redo New Folder 'Fresh'"));
    QVERIFY(!undo->isEnabled() && redo->isEnabled());
    QVERIFY(!w.view().document().isDirty() && !part<QAction>(w, "FSave")->isEnabled());

    // Ctrl+Y and Ctrl+Shift+Z redo, Ctrl+Z undoes, from the list.
    focusList(w);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Y, Qt::ControlModifier);
    QVERIFY(f.captions().contains("Fresh"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!f.captions().contains("Fresh"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z,
                    Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(f.captions().contains("Fresh"));
    QVERIFY(w.view().document().isDirty() && part<QAction>(w, "FSave")->isEnabled());
  }

  void ctrlZInTheFindBoxUndoesTyping() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    f.prompts.inputs = {QStringLiteral("Fresh")};
    part<QAction>(w, "ENewFolder")->trigger();
    const size_t records = w.view().document().links().size();
    part<QLineEdit>(w, "EditFind")->setFocus();
    QCoreApplication::processEvents();
    QTest::keyClicks(part<QLineEdit>(w, "EditFind"), QStringLiteral("new"));
    QTest::keyClick(part<QLineEdit>(w, "EditFind"), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(part<QLineEdit>(w, "EditFind")->text() != QStringLiteral("new"));
    QCOMPARE(w.view().document().links().size(), records);
    QVERIFY(w.view().document().history().canUndo());
    QVERIFY(f.prompts.asked.empty());
  }

  void undoingToTheSavedFileClearsDirty() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    const QByteArray original = readFile(f.dbPath());
    // Delete "News" from the list: one step.
    focusList(w);
    w.view().focusRow(f.captions().indexOf("News"));
    part<TXeListView>(w, "ListLinks")
        ->selectionModel()
        ->select(w.view().list().index(f.captions().indexOf("News"), 0),
                 QItemSelectionModel::ClearAndSelect);
    f.prompts.answers = {Answer::Yes};
    part<QAction>(w, "ECut")->trigger();
    QCOMPARE(w.view().document().links().size(), size_t(2));
    QVERIFY(w.files().FSaveExecute());
    QVERIFY(!w.view().document().isDirty());
    item(w, "Undo1")->trigger();
    QVERIFY(w.view().document().isDirty() && part<QAction>(w, "FSave")->isEnabled());
    QCOMPARE(f.captions(), QStringList({"A", "News"}));
    // Saving after edit and undo writes the same bytes as before the edit.
    QVERIFY(w.files().FSaveExecute());
    QCOMPARE(readFile(f.dbPath()), original);
    item(w, "Redo1")->trigger();
    QVERIFY(w.view().document().isDirty());
    item(w, "Undo1")->trigger();
    QVERIFY(!w.view().document().isDirty() && !part<QAction>(w, "FSave")->isEnabled());
  }

  void viewsFollowAStepTakenBack() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    // Inside A, make a folder, enter it, then take it back: the list shows A.
    focusList(w);
    w.view().focusRow(f.captions().indexOf("A"));
    w.view().openCurrentRow(true);
    f.prompts.inputs = {QStringLiteral("Inner")};
    part<QAction>(w, "ENewFolder")->trigger();
    QVERIFY(f.captions().contains("Inner"));
    w.view().focusRow(f.captions().indexOf("Inner"));
    w.view().openCurrentRow(false);
    QCOMPARE(part<TXeStaticText>(w, "TPath")->text(), QStringLiteral(" Favorites\\A\\Inner\\"));
    item(w, "Undo1")->trigger();
    QCOMPARE(part<TXeStaticText>(w, "TPath")->text(), QStringLiteral(" Favorites\\A\\"));
    QCOMPARE(f.captions(), QStringList({"..", "x"}));
    QCOMPARE(w.view().tree().selected(), childNamed(w.view().tree().root(), "A"));
  }

  void importIsUndoneBeforeASaveWritesItOver() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    QDir(f.home.path()).mkpath(QStringLiteral("fav"));
    f.desktop.folders = {f.home.path(QStringLiteral("fav"))};
    f.prompts.answers = {Answer::No};  // replace the content
    w.files().Import1Click();
    QVERIFY(w.view().document().links().empty());
    QCOMPARE(w.view().document().fileName(), f.dbPath());
    QCOMPARE(item(w, "Undo1")->text(), QStringLiteral("Undo Import Favorites"));
    item(w, "Undo1")->trigger();
    QCOMPARE(w.view().document().links().size(), size_t(3));
    QVERIFY(!w.view().document().isDirty());
    // Open starts a fresh history.
    f.desktop.openNames = {f.dbPath()};
    w.files().FOpenExecute();
    QVERIFY(!item(w, "Undo1")->isEnabled() && !item(w, "Redo1")->isEnabled());
  }
};

QTEST_MAIN(TestUndoWiring)
#include "tst_undowiring.moc"
