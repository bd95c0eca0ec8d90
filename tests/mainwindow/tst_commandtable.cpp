// The main window's command table, enabled state and shortcut routing.
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <QWidget>
#include "components/XeListView.h"
#include "components/XeStaticText.h"
#include "components/XeStatusBar.h"
#include "document/DocumentEdit.h"
#include "editing/AddItemDialog.h"
#include "editing/ClipboardList.h"
#include "mainwindow/EditingHost.h"
#include "mainwindow/FileCommands.h"
#include "mainwindow/ShortcutDispatch.h"
#include "mainwindow/TreeLinksView.h"
#include "mainwindow/WindowParts.h"
#include "support/MainWindowFixture.h"

using namespace vorlix;
using namespace vorlix::test;

namespace {

const QStringList kSample = {"Favorites\\News\\", "Favorites\\News\\Daily|http://daily.example",
                             "Favorites\\Tech\\", "Favorites\\Debian|https://debian.org",
                             "Favorites\\Qt|https://qt.io"};

// The menu as "name:caption:shortcut" entries, "-" for a separator, nested
// menus inline between brackets.
QStringList describe(const QList<QAction*>& actions) {
  QStringList out;
  for (QAction* a : actions) {
    if (a->isSeparator()) {
      out << QStringLiteral("-");
      continue;
    }
    if (QMenu* m = a->menu()) {
      out << m->objectName() + QLatin1Char(':') + a->text() + QStringLiteral(":[");
      out += describe(m->actions());
      out << QStringLiteral("]");
      continue;
    }
    out << a->objectName() + QLatin1Char(':') + a->text() + QLatin1Char(':') +
               a->shortcut().toString();
  }
  return out;
}

void focusList(TFMainXeVorlix& w, int row) {
  part<TXeListView>(w, "ListLinks")->activeView()->setFocus();
  QCoreApplication::processEvents();
  w.view().focusRow(row);
}

}  // namespace

class TestCommandTable : public QObject {
  Q_OBJECT

 private slots:
  void mainMenuOrderCaptionsAndShortcuts() {
    MainWindowFixture f(kSample);
    QStringList menus;
    for (QAction* a : f.w().menuBar()->actions()) menus << a->menu()->objectName();
    QCOMPARE(menus, QStringList({"File1", "Edit1", "View1", "Help1"}));
    QCOMPARE(
        describe(part<QMenu>(f.w(), "File1")->actions()),
        QStringList({"New1:New:Ctrl+N", "Open1:Open:Ctrl+O", "ReOpen1:ReOpen:[", "]",
                     "Save2:Save:Ctrl+S", "Saveas1:Save as:", "-", "Import1:Import:[",
                     "FavoritesLinksfromInternetExplorer1:Favorites Links from Internet "
                     "Explorer:",
                     "FavoritesLinksfromNetscape1:Favorites Links from Netscape:",
                     "BookmarksfromanInstalledBrowser1:Bookmarks from an Installed "
                     "Browser...:",
                     "BookmarksfromanXBELFile1:Bookmarks from an XBEL File...:", "]",
                     "Export1:Export:", "-", "Sync1:Sync:Ctrl+Shift+S",
                     "SyncSettings1:Sync Settings...:",
                     "RestorefromaSnapshot1:Restore from a Snapshot:", "-", "Exit1:Exit:Ctrl+X"}));
    QCOMPARE(describe(part<QMenu>(f.w(), "Edit1")->actions()),
             QStringList({"Undo1:Undo:Ctrl+Z", "Redo1:Redo:Ctrl+Y", "-",
                          "AddUrl1:Add Url...:Ctrl+D", "Edit3:Edit:F4", "-", "Cut1:Delete:Ctrl+X",
                          "Copy1:Copy:Ctrl+C", "Paste1:Paste:Ctrl+V",
                          "SelectAll1:Select All:Ctrl+A", "-", "CheckLinks1:Check Links...:",
                          "FindDuplicates1:Find Duplicates...:", "-", "Settings2:Settings:"}));
    QCOMPARE(describe(part<QMenu>(f.w(), "View1")->actions()),
             QStringList({"Statusbar1:Statusbar:", "Toolbar1:Toolbar:", "-",
                          "ClassicStyle1:Classic Style:", "ExplorerStyle1:Explorer Style:", "-",
                          "LargeIcons1:Large Icons:", "List1:List:", "Details1:Details:", "-",
                          "Urlpreview1:Preview:", "-", "Settings1:Refresh:F5"}));
    QCOMPARE(describe(part<QMenu>(f.w(), "Help1")->actions()),
             QStringList({"Help2:Help:", "-", "About1:About...:"}));
    QVERIFY(!part<QMenu>(f.w(), "ReOpen1")->isEnabled());
    // The bookmark file commands are enabled once their part is connected.
    QVERIFY(part<QAction>(f.w(), "FavoritesLinksfromNetscape1")->isEnabled());
    QVERIFY(part<QAction>(f.w(), "Export1")->isEnabled());
    QVERIFY(part<QAction>(f.w(), "Statusbar1")->isChecked() &&
            part<QAction>(f.w(), "Toolbar1")->isChecked());
    QVERIFY(part<QAction>(f.w(), "ExplorerStyle1")->isChecked() &&
            part<QAction>(f.w(), "Details1")->isChecked());
  }

  void helpWithoutItsDocumentSaysWhereItLooked() {
    MainWindowFixture f(kSample);
    part<QAction>(f.w(), "Help2")->trigger();
    QVERIFY(f.desktop.openedFiles.isEmpty());
    QVERIFY(f.prompts.lastText().startsWith(QStringLiteral("The help document is missing.")));
    QVERIFY(f.prompts.lastText().contains(QCoreApplication::applicationDirPath() +
                                          QStringLiteral("/vorlix-help.html")));
  }

  void popupsAndToolButtons() {
    MainWindowFixture f(kSample);
    QCOMPARE(describe(part<QMenu>(f.w(), "PopupList")->actions()),
             QStringList({"OpenNew:Browse in new window:", "OpenSame:Browse in active window:", "-",
                          "NewFolder1:New Folder:F7", "-", "Edit2:Edit:Ctrl+E", "-",
                          "Cut2:Delete:Ctrl+X", "Copy2:Copy:Ctrl+C", "Paste2:Paste:Ctrl+V", "-",
                          "CopyURL1:Copy URL:Ctrl+U", "-", "SelectAll2:Select All:Ctrl+A"}));
    QCOMPARE(describe(part<QMenu>(f.w(), "PopupTree")->actions()),
             QStringList({"NewFolder2:New Folder:F7", "Rename1:Edit:F4", "-",
                          "DeleteFolder1:Delete:Ctrl+X"}));
    QCOMPARE(describe(part<QMenu>(f.w(), "PopupTray")->actions()),
             QStringList({"Restore1:Restore:", "-", "Exit2:Exit:"}));

    const QList<QPair<QString, QString>> hints = {
        {"BNew", "New"},
        {"BOpen", "Open"},
        {"BSave", "Save"},
        {"BCut", "Delete an item or a group of selected items"},
        {"BCopy", "Copy an item or a group of selected items"},
        {"BPaste", "Paste an item or a group of selected items"},
        {"BEdit", "Edit current URL or folder"},
        {"BAdd", "Add a new URL"},
        {"BRefresh", "Refresh"},
        {"ToolButton6", "Large icons"},
        {"ToolButton9", "List"},
        {"ToolButton10", "Report"},
        {"ToolButton12", "Classic style"},
        {"ToolButton11", "Explorer style"},
        {"ToolButton1", "Exit"},
        {"ToolButton2", "Hide/Show treeview panel"},
        {"ToolButton3", "Show/Hide preview browser"}};
    for (const auto& [name, hint] : hints) {
      auto* b = f.w().findChild<QToolButton*>(name);
      QVERIFY2(b, qPrintable(name));
      QCOMPARE(b->toolTip(), hint);
      QCOMPARE(b->accessibleName(), hint);  // for screen readers, not only a description
      QVERIFY2(!b->icon().isNull(), qPrintable(name));
    }
    QCOMPARE(part<QLineEdit>(f.w(), "EditFind")->accessibleName(), QStringLiteral("Find"));
    // Every key a menu item takes shows in the menu, popups included.
    for (QMenu* m :
         {part<QMenu>(f.w(), "File1"), part<QMenu>(f.w(), "Edit1"), part<QMenu>(f.w(), "View1"),
          part<QMenu>(f.w(), "PopupList"), part<QMenu>(f.w(), "PopupTree")})
      for (QAction* a : m->actions())
        QVERIFY2(a->shortcut().isEmpty() || a->isShortcutVisibleInContextMenu(),
                 qPrintable(a->objectName()));
    QVERIFY(part<QToolButton>(f.w(), "ToolButton10")->isChecked() &&
            part<QToolButton>(f.w(), "ToolButton11")->isChecked());
    QVERIFY(!part<QToolButton>(f.w(), "ToolButton6")->isChecked() &&
            !part<QToolButton>(f.w(), "ToolButton12")->isChecked());
    QCOMPARE(part<QToolBar>(f.w(), "ToolBar")->windowTitle(), QStringLiteral("System"));
    QCOMPARE(part<QToolBar>(f.w(), "ToolBar2")->windowTitle(), QStringLiteral("Find"));
    QCOMPARE(part<QLineEdit>(f.w(), "EditFind")->parentWidget(), part<QToolBar>(f.w(), "ToolBar2"));
    QCOMPARE(part<TXeStaticText>(f.w(), "TreeTopText")->text(), QStringLiteral("Folders"));
    QCOMPARE(f.w().size(), QSize(779, 570));
  }

  void selectionStateFollowsRowsAndFocus() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    // Root: News, Tech, Debian, Qt.
    QCOMPARE(f.captions(), QStringList({"News", "Tech", "Debian", "Qt"}));
    focusList(w, 2);
    QVERIFY(part<QAction>(w, "ECut")->isEnabled() && part<QAction>(w, "ECopy")->isEnabled() &&
            part<QAction>(w, "EEdit")->isEnabled());
    QVERIFY(part<QAction>(w, "OpenNew")->isEnabled() && part<QAction>(w, "OpenSame")->isEnabled() &&
            part<QAction>(w, "CopyURL1")->isEnabled());
    QVERIFY(part<QToolButton>(w, "BCut")->isEnabled() && part<QAction>(w, "Cut2")->isEnabled() &&
            part<QAction>(w, "Edit3")->isEnabled());

    // A folder row: Delete, Copy and Edit, but no browsing.
    w.view().focusRow(0);
    QVERIFY(part<QAction>(w, "ECut")->isEnabled() && part<QAction>(w, "ECopy")->isEnabled() &&
            part<QAction>(w, "EEdit")->isEnabled());
    QVERIFY(!part<QAction>(w, "OpenNew")->isEnabled() &&
            !part<QAction>(w, "OpenSame")->isEnabled() &&
            !part<QAction>(w, "CopyURL1")->isEnabled());

    // Focusing the tree disables them whatever the list selects.
    part<TreeLinksView>(w, "TreeLinks")->setFocus();
    QCoreApplication::processEvents();
    QVERIFY(!part<QAction>(w, "ECut")->isEnabled() && !part<QAction>(w, "ECopy")->isEnabled() &&
            !part<QAction>(w, "EEdit")->isEnabled());

    // The ".." row of a subfolder.
    w.view().openCurrentRow(false);  // row 0 was News: enter it
    QCOMPARE(f.captions().value(0), QStringLiteral(".."));
    focusList(w, 0);
    QVERIFY(!part<QAction>(w, "ECut")->isEnabled() && !part<QAction>(w, "ECopy")->isEnabled() &&
            !part<QAction>(w, "EEdit")->isEnabled());
  }

  void pasteAndSaveState() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    QVERIFY(!part<QAction>(w, "EPaste")->isEnabled());
    QVERIFY(!part<QAction>(w, "FSave")->isEnabled() &&
            !part<QToolButton>(w, "BSave")->isEnabled() && !part<QAction>(w, "Save2")->isEnabled());
    focusList(w, 3);  // Qt
    part<QAction>(w, "ECopy")->trigger();
    QVERIFY(part<QAction>(w, "EPaste")->isEnabled());
    // Paste stays enabled once the list has lost the focus.
    part<QLineEdit>(w, "EditFind")->setFocus();
    QCoreApplication::processEvents();
    QVERIFY(part<QAction>(w, "EPaste")->isEnabled() &&
            part<QToolButton>(w, "BPaste")->isEnabled() && part<QAction>(w, "Paste1")->isEnabled());

    markDirty(w);
    QVERIFY(part<QAction>(w, "FSave")->isEnabled() && part<QToolButton>(w, "BSave")->isEnabled());
    f.prompts.answers = {Answer::No};
    w.files().FNewExecute();  // dirty: asks; No goes on
    QCOMPARE(f.prompts.lastText(), QStringLiteral("Save the new modification ?"));
    QVERIFY(!part<QAction>(w, "FSave")->isEnabled());
    QVERIFY(part<QAction>(w, "EPaste")->isEnabled());  // the clipboard survives New
  }

  void shortcutsFollowTheFocus() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    ShortcutDispatcher& d = *w.dispatcher();
    const QKeySequence ctrlX(QStringLiteral("Ctrl+X"));
    const QKeySequence f4(Qt::Key_F4);

    focusList(w, 2);
    QWidget* listFocus = QApplication::focusWidget();
    QCOMPARE(d.find(listFocus, ctrlX), part<QAction>(w, "Cut2"));
    QCOMPARE(d.find(listFocus, QKeySequence(QStringLiteral("Ctrl+E"))), part<QAction>(w, "Edit2"));
    QCOMPARE(d.find(listFocus, QKeySequence(QStringLiteral("Ctrl+U"))),
             part<QAction>(w, "CopyURL1"));
    QCOMPARE(d.find(listFocus, f4), part<QAction>(w, "Edit3"));

    QCOMPARE(d.find(part<TreeLinksView>(w, "TreeLinks"), ctrlX), part<QAction>(w, "DeleteFolder1"));
    QCOMPARE(d.find(part<TreeLinksView>(w, "TreeLinks"), f4), part<QAction>(w, "Rename1"));
    QCOMPARE(d.find(part<QLineEdit>(w, "EditFind"), ctrlX), part<QAction>(w, "Exit1"));
    QCOMPARE(d.find(part<QLineEdit>(w, "EditFind"), f4), part<QAction>(w, "Edit3"));
    QCOMPARE(d.find(part<QLineEdit>(w, "EditFind"), QKeySequence(QStringLiteral("Ctrl+E"))),
             nullptr);
    QCOMPARE(d.find(part<QLineEdit>(w, "EditFind"), QKeySequence(Qt::Key_F7)),
             part<QAction>(w, "ENewFolder"));
    QCOMPARE(d.find(part<QLineEdit>(w, "EditFind"), QKeySequence(QStringLiteral("Ctrl+F"))),
             part<QAction>(w, "BFind"));

    // Ctrl+X in the list runs Delete, which asks its question.
    f.prompts.answers = {Answer::No};
    QTest::keyClick(listFocus, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(f.prompts.lastText(),
             QStringLiteral("Are you sure you want to delete the item 'Debian' ?"));
  }

  void disabledFirstMatchSwallowsTheKey() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    // The tree popup's Delete is disabled on the root: Ctrl+X in the tree
    // must neither delete nor reach File > Exit.
    part<TreeLinksView>(w, "TreeLinks")->setFocus();
    QCoreApplication::processEvents();
    part<QAction>(w, "DeleteFolder1")->setEnabled(false);
    const size_t asked = f.prompts.asked.size();
    QTest::keyClick(part<TreeLinksView>(w, "TreeLinks"), Qt::Key_X, Qt::ControlModifier);
    QVERIFY(w.isVisible());
    QCOMPARE(f.prompts.asked.size(), asked);

    // In the find box the editing keys act on its text: Ctrl+X cuts it and
    // Ctrl+A selects all of it, however the menus would read the key.
    markDirty(w);
    part<QLineEdit>(w, "EditFind")->setFocus();
    QCoreApplication::processEvents();
    QTest::keyClicks(part<QLineEdit>(w, "EditFind"), QStringLiteral("ab"));
    QTest::keyClick(part<QLineEdit>(w, "EditFind"), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(part<QLineEdit>(w, "EditFind"), Qt::Key_X, Qt::ControlModifier);
    QVERIFY(w.isVisible());
    QCOMPARE(f.prompts.asked.size(), asked);
    QVERIFY(part<QLineEdit>(w, "EditFind")->text().isEmpty());
    QVERIFY(part<TXeListView>(w, "ListLinks")->selectedRows().isEmpty());

    // Outside the list, the tree and text fields Ctrl+X is File > Exit,
    // which asks first when dirty.
    f.prompts.answers = {Answer::Cancel};
    QVERIFY(w.dispatcher()->dispatch(part<TXeStaticText>(w, "TPath"),
                                     QKeySequence(QStringLiteral("Ctrl+X"))));
    QCOMPARE(f.prompts.lastText(), QStringLiteral("Save the new modification ?"));
    QVERIFY(w.isVisible());  // Cancel keeps the window open
    QCOMPARE(w.view().document().links().size(), size_t(5));
    markClean(w);
    w.dispatcher()->dispatch(part<TXeStaticText>(w, "TPath"),
                             QKeySequence(QStringLiteral("Ctrl+X")));
    QVERIFY(!w.isVisible());
  }

  void addedKeys() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    QCOMPARE(f.captions(), QStringList({"News", "Tech", "Debian", "Qt"}));

    // Delete in the list deletes the selected rows, asking first.
    focusList(w, 2);
    f.prompts.answers = {Answer::No};
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    QCOMPARE(f.prompts.lastText(),
             QStringLiteral("Are you sure you want to delete the item 'Debian' ?"));
    QCOMPARE(w.view().document().links().size(), size_t(5));

    // Backspace goes up like "..", onto the folder left; at the root it
    // does nothing.
    focusList(w, 0);
    w.view().openCurrentRow(false);
    QCOMPARE(f.captions(), QStringList({"..", "Daily"}));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QCOMPARE(w.view().position().currentPath, AnsiString("Favorites\\"));
    QCOMPARE(part<TXeListView>(w, "ListLinks")->currentRow(), 0);  // News
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QCOMPARE(w.view().position().currentPath, AnsiString("Favorites\\"));

    // Delete in the tree deletes the folder the keyboard selected, not the
    // one last clicked; the root is never deleted.
    FolderNode* root = w.view().tree().root();
    QTest::mouseClick(
        part<TreeLinksView>(w, "TreeLinks")->viewport(), Qt::LeftButton, {},
        part<TreeLinksView>(w, "TreeLinks")->visualRect(w.view().tree().indexFor(root)).center());
    part<TreeLinksView>(w, "TreeLinks")->setFocus();
    QCoreApplication::processEvents();
    const size_t asked = f.prompts.asked.size();
    QTest::keyClick(part<TreeLinksView>(w, "TreeLinks"), Qt::Key_Delete);
    QCOMPARE(f.prompts.asked.size(), asked);
    part<TreeLinksView>(w, "TreeLinks")
        ->setCurrentIndex(w.view().tree().indexFor(childNamed(root, "Tech")));
    f.prompts.answers = {Answer::Yes};
    QTest::keyClick(part<TreeLinksView>(w, "TreeLinks"), Qt::Key_Delete);
    QCOMPARE(f.prompts.lastText(),
             QStringLiteral("Are you sure you want to delete the folder 'Tech' and all its "
                            "contents ?"));
    QVERIFY(!childNamed(w.view().tree().root(), "Tech"));
    QCOMPARE(w.view().document().links().size(), size_t(4));

    // F5 refreshes the list; Ctrl+O asks for a database to open.
    focusList(w, 0);
    {
      DocumentEdit edit(w.view().document(), QStringLiteral("Add 'Zed'"));
      edit.links().append(LinkRecord::make("Favorites\\Zed", "http://zed.example", 0, "Url"));
      edit.commit();
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F5);
    QVERIFY(f.captions().contains("Zed"));
    markClean(w);
    const qsizetype opens = f.desktop.openStartDirs.size();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(f.desktop.openStartDirs.size(), opens + 1);

    // Ctrl+D, the key browsers bookmark with, opens the Add Url dialog.
    QString opened;
    QTimer poll;
    poll.setInterval(10);
    connect(&poll, &QTimer::timeout, this, [&] {
      if (!part<TFAddItem>(w, "FAddItem")->isVisible()) return;
      poll.stop();
      opened = part<TFAddItem>(w, "FAddItem")->windowTitle();
      part<TFAddItem>(w, "FAddItem")->reject();
    });
    poll.start();
    focusList(w, 0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(opened, QStringLiteral("Add Url"));

    // In the find box Delete and Backspace edit the text and nothing else.
    part<QLineEdit>(w, "EditFind")->setFocus();
    QCoreApplication::processEvents();
    const size_t before = f.prompts.asked.size();
    QTest::keyClicks(part<QLineEdit>(w, "EditFind"), "zedx");
    QTest::keyClick(part<QLineEdit>(w, "EditFind"), Qt::Key_Backspace);
    QTest::keyClick(part<QLineEdit>(w, "EditFind"), Qt::Key_Home);
    QTest::keyClick(part<QLineEdit>(w, "EditFind"), Qt::Key_Delete);
    QCOMPARE(part<QLineEdit>(w, "EditFind")->text(), QString("ed"));
    QCOMPARE(f.prompts.asked.size(), before);
    QCOMPARE(w.view().document().links().size(), size_t(5));
  }

  void smallCommands() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    focusList(w, 2);
    part<QAction>(w, "CopyURL1")->trigger();
    QCOMPARE(f.desktop.clipboard, QStringLiteral("https://debian.org"));
    part<QAction>(w, "ESelect")->trigger();
    QCOMPARE(part<TXeListView>(w, "ListLinks")->selectedRows().size(), 4);

    part<QAction>(w, "Toolbar1")->trigger();
    QVERIFY(!part<QWidget>(w, "ControlBar")->isVisible());
    part<QAction>(w, "Toolbar1")->trigger();
    QVERIFY(part<QWidget>(w, "ControlBar")->isVisible());
    part<QAction>(w, "Statusbar1")->trigger();
    QVERIFY(!part<TXeStatusBar>(w, "XeStatusBar")->isVisible());

    // Hiding the folder pane keeps its header and button in the path header.
    part<QToolButton>(w, "ToolButton2")->click();
    QVERIFY(!part<QWidget>(w, "Panel2")->isVisible());
    QCOMPARE(part<TXeStaticText>(w, "TreeTopText")->parentWidget(), part<QWidget>(w, "PathHeader"));
    QVERIFY(part<QToolButton>(w, "ToolButton2")->isVisible());
    QVERIFY(part<TXeStaticText>(w, "TreeTopText")->geometry().left() <=
            part<TXeStaticText>(w, "TPath")->geometry().left());
    part<QToolButton>(w, "ToolButton2")->click();
    QVERIFY(part<QWidget>(w, "Panel2")->isVisible());
    QCOMPARE(part<TXeStaticText>(w, "TreeTopText")->parentWidget(), part<QWidget>(w, "Panel2"));
  }
};

QTEST_MAIN(TestCommandTable)
#include "tst_commandtable.moc"
