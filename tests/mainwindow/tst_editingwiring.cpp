// The editing commands reached from the window: menu and tree popup entries,
// label editing in the tree, and a drag from the list dropped on the tree
// through the events the tree receives.
#include <QAction>
#include <QDropEvent>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTest>

#include "components/XeListView.h"
#include "components/XeStaticText.h"
#include "mainwindow/EditingHost.h"
#include "mainwindow/TreeLinksView.h"
#include "mainwindow/WindowParts.h"
#include "store/ListBuilder.h"
#include "store/ListRows.h"
#include "support/MainWindowFixture.h"

using namespace vorlix;
using namespace vorlix::test;

namespace {

const QStringList kSample = {"Favorites\\A\\", "Favorites\\A\\x|http://x.example", "Favorites\\B\\",
                             "Favorites\\News|http://news.example",
                             "Favorites\\Newsletter|http://letter.example"};

QStringList names(const LinkList& list) {
  QStringList out;
  for (const LinkRecord& r : list) out << fromAnsi(r.fullName());
  return out;
}

// Sends the enter, move and drop events a real drag produces over `node`.
bool dropOn(TreeLinksView* tree, FolderNode* node, QMimeData* data) {
  const QPoint p = tree->visualRect(tree->folderModel()->indexFor(node)).center();
  QDragEnterEvent enter(p, Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(tree->viewport(), &enter);
  if (!enter.isAccepted()) return false;
  QDragMoveEvent move(p, Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(tree->viewport(), &move);
  QDropEvent drop(QPointF(p), Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(tree->viewport(), &drop);
  // Data from elsewhere is judged by its formats while it moves, and
  // decoded, taken or refused, only when it is dropped.
  return drop.isAccepted();
}

}  // namespace

class TestEditingWiring : public QObject {
  Q_OBJECT

 private slots:
  void dragRowsOntoATreeFolder() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    QCOMPARE(f.captions(), QStringList({"A", "B", "News", "Newsletter"}));
    // Select A and News, start the drag as the list does, drop on B.
    part<TXeListView>(w, "ListLinks")->activeView()->setFocus();
    w.view().focusRow(0);
    part<TXeListView>(w, "ListLinks")
        ->selectionModel()
        ->select(w.view().list().index(2, 0),
                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
    std::unique_ptr<QMimeData> data(w.ListLinksStartDrag());
    FolderNode* b = childNamed(w.view().tree().root(), "B");
    QVERIFY(dropOn(part<TreeLinksView>(w, "TreeLinks"), b, data.get()));
    QCOMPARE(names(w.view().document().links()),
             QStringList({"Favorites\\B\\", "Favorites\\B\\A\\", "Favorites\\B\\A\\x",
                          "Favorites\\B\\News", "Favorites\\Newsletter"}));
    QVERIFY(w.view().document().isDirty());
    QCOMPARE(f.captions(), QStringList({"B", "Newsletter"}));
    // The tree was patched: A now lives under B.
    QVERIFY(!childNamed(w.view().tree().root(), "A"));
    QVERIFY(childNamed(childNamed(w.view().tree().root(), "B"), "A"));

    // Foreign drags are refused.
    QMimeData text;
    text.setText("hello");
    QVERIFY(!dropOn(part<TreeLinksView>(w, "TreeLinks"), w.view().tree().root(), &text));
  }

  void theDropTargetIsHighlighted() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    TreeLinksView* tree = part<TreeLinksView>(w, "TreeLinks");
    FolderNode* root = w.view().tree().root();
    FolderNode* b = childNamed(root, "B");
    part<TXeListView>(w, "ListLinks")->activeView()->setFocus();
    w.view().focusRow(0);
    std::unique_ptr<QMimeData> data(w.ListLinksStartDrag());
    const auto centre = [&](FolderNode* n) {
      return tree->visualRect(w.view().tree().indexFor(n)).center();
    };
    // The row's right end, past the label: the highlight colour or the base.
    const auto highlighted = [&](FolderNode* n) {
      const QRect r = tree->visualRect(w.view().tree().indexFor(n));
      const QImage shot = tree->viewport()->grab().toImage();
      const QColor c = shot.pixelColor(r.right() - 3, r.center().y());
      const QPalette& p = tree->palette();
      return c == p.color(QPalette::Active, QPalette::Highlight) ||
             c == p.color(QPalette::Inactive, QPalette::Highlight);
    };
    const auto moveTo = [&](const QPoint& p) {
      QDragMoveEvent move(p, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
      QCoreApplication::sendEvent(tree->viewport(), &move);
    };

    QVERIFY(!highlighted(b));
    QDragEnterEvent enter(centre(b), Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tree->viewport(), &enter);
    moveTo(centre(b));
    QCOMPARE(tree->dropTarget(), b);
    QVERIFY(highlighted(b));
    QVERIFY(!highlighted(root));  // the selected root steps back meanwhile
    moveTo(centre(root));
    QCOMPARE(tree->dropTarget(), root);
    QVERIFY(highlighted(root));
    QVERIFY(!highlighted(b));

    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(tree->viewport(), &leave);
    QVERIFY(!tree->dropTarget());
    QVERIFY(highlighted(root));  // the selection again
    QVERIFY(!highlighted(b));

    // A drop ends the highlight too; a foreign drag shows none.
    QVERIFY(dropOn(tree, b, data.get()));
    QVERIFY(!tree->dropTarget());
    QMimeData text;
    text.setText("hello");
    QDragMoveEvent foreign(centre(root), Qt::MoveAction, &text, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tree->viewport(), &foreign);
    QVERIFY(!tree->dropTarget());
  }

  void treePopupAndLabelEditing() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    FolderNode* root = w.view().tree().root();
    FolderNode* a = childNamed(root, "A");
    const auto click = [&](FolderNode* n) {
      QTest::mouseClick(
          part<TreeLinksView>(w, "TreeLinks")->viewport(), Qt::LeftButton, {},
          part<TreeLinksView>(w, "TreeLinks")->visualRect(w.view().tree().indexFor(n)).center());
    };
    click(root);
    emit part<QMenu>(w, "PopupTree")->aboutToShow();
    QVERIFY(!part<QAction>(w, "Rename1")->isEnabled() &&
            !part<QAction>(w, "DeleteFolder1")->isEnabled());
    QVERIFY(part<QAction>(w, "NewFolder2")->isEnabled());
    part<TreeLinksView>(w, "TreeLinks")->edit(w.view().tree().indexFor(root));
    QVERIFY(!part<TreeLinksView>(w, "TreeLinks")
                 ->findChild<QLineEdit*>());  // the root's label stays as it is

    click(a);
    emit part<QMenu>(w, "PopupTree")->aboutToShow();
    QVERIFY(part<QAction>(w, "Rename1")->isEnabled() &&
            part<QAction>(w, "DeleteFolder1")->isEnabled());
    // F4 in the tree opens the label editor; Enter renames the folder.
    part<QAction>(w, "Rename1")->trigger();
    auto* editor = part<TreeLinksView>(w, "TreeLinks")->findChild<QLineEdit*>();
    QVERIFY(editor);
    editor->setText("C");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();  // the delegate commits on a queued call
    QCOMPARE(names(w.view().document().links()).mid(0, 2),
             QStringList({"Favorites\\C\\", "Favorites\\C\\x"}));
    QCOMPARE(a->label, AnsiString("C"));
    QCOMPARE(part<TXeStaticText>(w, "TPath")->text(), QStringLiteral(" Favorites\\C\\"));

    // Delete from the tree popup asks about the clicked folder.
    f.prompts.answers = {Answer::Yes};
    part<QAction>(w, "DeleteFolder1")->trigger();
    QCOMPARE(
        f.prompts.lastText(),
        QStringLiteral("Are you sure you want to delete the folder 'C' and all its contents ?"));
    QCOMPARE(names(w.view().document().links()).filter("\\C\\").size(), 0);
  }

  void newFolderAndEditFromTheMenu() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    f.prompts.inputs = {QStringLiteral("Music")};
    part<QAction>(w, "ENewFolder")->trigger();
    QVERIFY(names(w.view().document().links()).contains("Favorites\\Music\\"));
    QVERIFY(childNamed(w.view().tree().root(), "Music"));
    QCOMPARE(f.captions().value(part<TXeListView>(w, "ListLinks")->currentRow()),
             QStringLiteral("Music"));
    QVERIFY(w.view().document().isDirty() && part<QAction>(w, "FSave")->isEnabled());

    // Edit on a folder row renames it.
    part<TXeListView>(w, "ListLinks")->activeView()->setFocus();
    w.view().focusRow(f.captions().indexOf("B"));
    f.prompts.inputs = {QStringLiteral("Books")};
    part<QAction>(w, "EEdit")->trigger();
    QCOMPARE(f.prompts.inputCaptions.last(), QStringLiteral("Rename folder|New folder name"));
    QVERIFY(names(w.view().document().links()).contains("Favorites\\Books\\"));
    QVERIFY(f.captions().contains("Books"));
  }

  // A command that rebuilds the tree and keeps the list's folder leaves that
  // folder selected in the tree, not the root.
  void treeKeepsTheListsFolderAfterARebuild() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    const auto selectedPath = [&] {
      FolderNode* n = w.view().tree().selected();
      return n ? FolderTreeModel::NodePath(n) : AnsiString();
    };
    const auto viewShows = [&](FolderNode* n) {
      return part<TreeLinksView>(w, "TreeLinks")->currentIndex() == w.view().tree().indexFor(n) &&
             part<TreeLinksView>(w, "TreeLinks")
                 ->selectionModel()
                 ->isSelected(w.view().tree().indexFor(n));
    };
    part<TXeListView>(w, "ListLinks")->activeView()->setFocus();
    w.view().focusRow(f.captions().indexOf("News"));
    part<QAction>(w, "ECopy")->trigger();
    QTest::mouseClick(
        part<TreeLinksView>(w, "TreeLinks")->viewport(), Qt::LeftButton, {},
        part<TreeLinksView>(w, "TreeLinks")
            ->visualRect(w.view().tree().indexFor(childNamed(w.view().tree().root(), "A")))
            .center());
    QCOMPARE(f.captions(), QStringList({"..", "x"}));

    // Paste with a link row current, from the list.
    part<TXeListView>(w, "ListLinks")->activeView()->setFocus();
    w.view().focusRow(1);
    part<QAction>(w, "EPaste")->trigger();
    QCOMPARE(f.captions(), QStringList({"..", "News", "x"}));
    QCOMPARE(w.view().position().currentPath, AnsiString("Favorites\\A\\"));
    QCOMPARE(selectedPath(), AnsiString("Favorites\\A\\"));
    QVERIFY(viewShows(w.view().tree().selected()));

    // Deleting another folder keeps A shown and selected.
    f.prompts.answers = {Answer::Yes};
    w.editor()->folders.deleteFolder(childNamed(w.view().tree().root(), "B"));
    QVERIFY(!childNamed(w.view().tree().root(), "B"));
    QCOMPARE(w.view().position().currentPath, AnsiString("Favorites\\A\\"));
    QCOMPARE(selectedPath(), AnsiString("Favorites\\A\\"));
    QVERIFY(viewShows(w.view().tree().selected()));

    // Undo rebuilds the tree as well.
    w.view().document().undo();
    QVERIFY(childNamed(w.view().tree().root(), "B"));
    QCOMPARE(selectedPath(), AnsiString("Favorites\\A\\"));
  }

  // Whatever the tree does during a command, the list ends up showing the
  // folder the position names, and that folder exists.
  void listMatchesTheCurrentFolderAfterTreeCommands() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    const auto consistent = [&] {
      const ListRows expected =
          BuildRows(w.view().document().links(), w.view().position(), w.view().flatMode());
      QStringList want;
      for (const ListRow& r : expected) want << fromAnsi(r.caption);
      return f.captions() == want &&
             part<TXeStaticText>(w, "TPath")->text() == fromAnsi(w.view().position().tpathText());
    };
    FolderNode* a = childNamed(w.view().tree().root(), "A");
    QTest::mouseClick(
        part<TreeLinksView>(w, "TreeLinks")->viewport(), Qt::LeftButton, {},
        part<TreeLinksView>(w, "TreeLinks")->visualRect(w.view().tree().indexFor(a)).center());
    QCOMPARE(w.view().position().currentPath, AnsiString("Favorites\\A\\"));
    // New folder with the tree focused.
    f.prompts.inputs = {QStringLiteral("Sub")};
    part<QAction>(w, "NewFolder2")->trigger();
    QVERIFY(consistent());
    // Delete the current folder from the tree popup: its parent becomes current.
    f.prompts.answers = {Answer::Yes};
    part<QAction>(w, "DeleteFolder1")->trigger();
    QCOMPARE(w.view().position().currentPath, AnsiString("Favorites\\"));
    QVERIFY(consistent());
    QCOMPARE(w.view().tree().selected(), w.view().tree().root());
    // Paste into B with the tree focused.
    part<TXeListView>(w, "ListLinks")->activeView()->setFocus();
    w.view().focusRow(f.captions().indexOf("News"));
    part<QAction>(w, "ECopy")->trigger();
    FolderNode* b = childNamed(w.view().tree().root(), "B");
    QTest::mouseClick(
        part<TreeLinksView>(w, "TreeLinks")->viewport(), Qt::LeftButton, {},
        part<TreeLinksView>(w, "TreeLinks")->visualRect(w.view().tree().indexFor(b)).center());
    part<QAction>(w, "EPaste")->trigger();
    QCOMPARE(w.view().position().currentPath, AnsiString("Favorites\\B\\"));
    QVERIFY(consistent());
    QVERIFY(f.captions().contains("News"));
  }
};

QTEST_MAIN(TestEditingWiring)
#include "tst_editingwiring.moc"
