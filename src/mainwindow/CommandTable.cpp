// The actions and menus of the main window, in the order and with the
// captions, hints and shortcuts the program shows.
#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include "components/ImageList.h"
#include "components/XeListView.h"
#include "mainwindow/CommandItems.h"
#include "mainwindow/FileCommands.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/ShortcutDispatch.h"
#include "mainwindow/TreeLinksView.h"
#include "mainwindow/UndoCommands.h"

namespace vorlix {

void TFMainXeVorlix::buildCommands() {
  FNew = makeAction(this, "FNew", QStringLiteral("New"), QKeySequence(QStringLiteral("Ctrl+N")));
  FNew->setIcon(ImageList::commandIcon(QStringLiteral("new")));
  FOpen = makeAction(this, "FOpen", QStringLiteral("Open"), QKeySequence(QStringLiteral("Ctrl+O")));
  FOpen->setIcon(ImageList::commandIcon(QStringLiteral("open")));
  FSave = makeAction(this, "FSave", QStringLiteral("Save"), QKeySequence(QStringLiteral("Ctrl+S")));
  FSave->setIcon(ImageList::commandIcon(QStringLiteral("save")));
  FSave->setEnabled(false);
  EEdit = makeAction(this, "EEdit", QStringLiteral("Edit"), QKeySequence(Qt::Key_F4));
  EEdit->setIcon(ImageList::commandIcon(QStringLiteral("edit")));
  ECut = makeAction(this, "ECut", QStringLiteral("Delete"), QKeySequence(QStringLiteral("Ctrl+X")));
  ECut->setIcon(ImageList::commandIcon(QStringLiteral("delete")));
  ECopy = makeAction(this, "ECopy", QStringLiteral("Copy"), QKeySequence(QStringLiteral("Ctrl+C")));
  ECopy->setIcon(ImageList::commandIcon(QStringLiteral("copy")));
  EPaste =
      makeAction(this, "EPaste", QStringLiteral("Paste"), QKeySequence(QStringLiteral("Ctrl+V")));
  EPaste->setIcon(ImageList::commandIcon(QStringLiteral("paste")));
  ESelect = makeAction(this, "ESelect", QStringLiteral("Select All"),
                       QKeySequence(QStringLiteral("Ctrl+A")));
  BFind = makeAction(this, "BFind", QStringLiteral("Find"), QKeySequence(QStringLiteral("Ctrl+F")));
  ENewFolder =
      makeAction(this, "ENewFolder", QStringLiteral("New Folder"), QKeySequence(Qt::Key_F7));

  ESelect->setIcon(ImageList::commandIcon(QStringLiteral("select-all")));
  BFind->setIcon(ImageList::commandIcon(QStringLiteral("find")));
  ENewFolder->setIcon(ImageList::commandIcon(QStringLiteral("new-folder")));
  QAction* undo =
      makeAction(this, "EUndo", QStringLiteral("Undo"), QKeySequence(QStringLiteral("Ctrl+Z")));
  undo->setIcon(ImageList::commandIcon(QStringLiteral("undo")));
  QAction* redo =
      makeAction(this, "ERedo", QStringLiteral("Redo"), QKeySequence(QStringLiteral("Ctrl+Y")));
  redo->setShortcuts(
      {QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});
  redo->setIcon(ImageList::commandIcon(QStringLiteral("redo")));
  new UndoCommands(doc_, undo, redo, this);

  connect(FNew, &QAction::triggered, this, [this] { files_->FNewExecute(); });
  connect(FOpen, &QAction::triggered, this, [this] { files_->FOpenExecute(); });
  connect(FSave, &QAction::triggered, this, [this] { files_->FSaveExecute(); });
  connect(ESelect, &QAction::triggered, this, &TFMainXeVorlix::SelectAllRows);
  connect(BFind, &QAction::triggered, this,
          [this] { EditFind->setFocus(Qt::ShortcutFocusReason); });

  buildMenus();
  buildToolBars();
  buildPopups();

  dispatcher_ = std::make_unique<ShortcutDispatcher>(this);
  dispatcher_->setMainMenu(menuBar());
  dispatcher_->setPopup(ListLinks, PopupList);
  dispatcher_->setPopup(TreeLinks, PopupTree);
  dispatcher_->setActions(
      {FNew, FOpen, FSave, undo, redo, EEdit, ECut, ECopy, EPaste, ESelect, BFind, ENewFolder});
}

void TFMainXeVorlix::buildMenus() {
  QMenuBar* bar = menuBar();
  File1 = bar->addMenu(QStringLiteral("&File"));
  File1->setObjectName(QStringLiteral("File1"));
  New1 = itemFor(this, "New1", FNew);
  Open1 = itemFor(this, "Open1", FOpen);
  File1->addAction(New1);
  File1->addAction(Open1);
  ReOpen1 = File1->addMenu(QStringLiteral("ReOpen"));
  ReOpen1->setObjectName(QStringLiteral("ReOpen1"));
  ReOpen1->setEnabled(false);  // until the recent-files list fills it
  Save2 = itemFor(this, "Save2", FSave);
  Saveas1 = makeAction(this, "Saveas1", QStringLiteral("Save as"));
  Saveas1->setIcon(ImageList::commandIcon(QStringLiteral("save-as")));
  connect(Saveas1, &QAction::triggered, this, [this] { files_->Saveas1Click(); });
  File1->addAction(Save2);
  File1->addAction(Saveas1);
  File1->addSeparator();
  Import1 = File1->addMenu(QStringLiteral("Import"));
  Import1->setObjectName(QStringLiteral("Import1"));
  Import1->setIcon(ImageList::commandIcon(QStringLiteral("import")));
  FavoritesLinksfromInternetExplorer1 =
      makeAction(this, "FavoritesLinksfromInternetExplorer1",
                 QStringLiteral("Favorites Links from Internet Explorer"));
  connect(FavoritesLinksfromInternetExplorer1, &QAction::triggered, this,
          [this] { files_->Import1Click(); });
  FavoritesLinksfromNetscape1 = makeAction(this, "FavoritesLinksfromNetscape1",
                                           QStringLiteral("Favorites Links from Netscape"));
  FavoritesLinksfromNetscape1->setEnabled(false);
  Import1->addAction(FavoritesLinksfromInternetExplorer1);
  Import1->addAction(FavoritesLinksfromNetscape1);
  Export1 = makeAction(this, "Export1", QStringLiteral("Export"));
  Export1->setEnabled(false);
  File1->addAction(Export1);
  File1->addSeparator();
  Exit1 = makeAction(this, "Exit1", QStringLiteral("Exit"), QKeySequence(QStringLiteral("Ctrl+X")));
  Exit1->setIcon(ImageList::commandIcon(QStringLiteral("exit")));
  connect(Exit1, &QAction::triggered, this, &QWidget::close);
  File1->addAction(Exit1);

  Edit1 = bar->addMenu(QStringLiteral("&Edit"));
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Edit1->addAction(itemFor(this, "Undo1", findChild<QAction*>(QStringLiteral("EUndo"))));
  Edit1->addAction(itemFor(this, "Redo1", findChild<QAction*>(QStringLiteral("ERedo"))));
  Edit1->addSeparator();
  Edit3 = itemFor(this, "Edit3", EEdit);
  Cut1 = itemFor(this, "Cut1", ECut);
  Copy1 = itemFor(this, "Copy1", ECopy);
  Paste1 = itemFor(this, "Paste1", EPaste);
  SelectAll1 = itemFor(this, "SelectAll1", ESelect);
  Settings2 = makeAction(this, "Settings2", QStringLiteral("Settings"));
  Settings2->setIcon(ImageList::commandIcon(QStringLiteral("settings")));
  connect(Settings2, &QAction::triggered, this, &TFMainXeVorlix::settingsRequested);
  // The key browsers bookmark a page with.
  QAction* addUrl = makeAction(this, "AddUrl1", QStringLiteral("Add Url..."),
                               QKeySequence(QStringLiteral("Ctrl+D")));
  addUrl->setIcon(ImageList::commandIcon(QStringLiteral("add-url")));
  connect(addUrl, &QAction::triggered, this, &TFMainXeVorlix::BAddClick);
  Edit1->addAction(addUrl);
  Edit1->addAction(Edit3);
  Edit1->addSeparator();
  Edit1->addAction(Cut1);
  Edit1->addAction(Copy1);
  Edit1->addAction(Paste1);
  Edit1->addAction(SelectAll1);
  Edit1->addSeparator();
  // Answered by the health part (link checks and duplicates), which the
  // composition root connects and which enables them.
  for (const auto& [name, caption] : {std::pair{"CheckLinks1", "Check Links..."},
                                      std::pair{"FindDuplicates1", "Find Duplicates..."}}) {
    QAction* item = makeAction(this, name, QString::fromLatin1(caption));
    item->setEnabled(false);
    Edit1->addAction(item);
  }
  Edit1->addSeparator();
  Edit1->addAction(Settings2);

  View1 = bar->addMenu(QStringLiteral("&View"));
  View1->setObjectName(QStringLiteral("View1"));
  Statusbar1 = makeAction(this, "Statusbar1", QStringLiteral("Statusbar"));
  Statusbar1->setCheckable(true);
  Statusbar1->setChecked(true);
  connect(Statusbar1, &QAction::triggered, this, &TFMainXeVorlix::ToggleStatusbar);
  Toolbar1 = makeAction(this, "Toolbar1", QStringLiteral("Toolbar"));
  Toolbar1->setCheckable(true);
  Toolbar1->setChecked(true);
  connect(Toolbar1, &QAction::triggered, this, &TFMainXeVorlix::ToggleToolbar);
  View1->addAction(Statusbar1);
  View1->addAction(Toolbar1);
  View1->addSeparator();

  auto* styles = new QActionGroup(this);
  ClassicStyle1 = makeAction(this, "ClassicStyle1", QStringLiteral("Classic Style"));
  ExplorerStyle1 = makeAction(this, "ExplorerStyle1", QStringLiteral("Explorer Style"));
  for (QAction* a : {ClassicStyle1, ExplorerStyle1}) {
    a->setCheckable(true);
    styles->addAction(a);
    View1->addAction(a);
  }
  ClassicStyle1->setIcon(ImageList::commandIcon(QStringLiteral("classic-style")));
  ExplorerStyle1->setIcon(ImageList::commandIcon(QStringLiteral("explorer-style")));
  ExplorerStyle1->setChecked(true);
  connect(ClassicStyle1, &QAction::triggered, this, [this] { SetClassicStyle(true); });
  connect(ExplorerStyle1, &QAction::triggered, this, [this] { SetClassicStyle(false); });
  View1->addSeparator();

  auto* views = new QActionGroup(this);
  LargeIcons1 = makeAction(this, "LargeIcons1", QStringLiteral("Large Icons"));
  List1 = makeAction(this, "List1", QStringLiteral("List"));
  Details1 = makeAction(this, "Details1", QStringLiteral("Details"));
  int mode = 0;
  for (QAction* a : {LargeIcons1, List1, Details1}) {
    a->setCheckable(true);
    views->addAction(a);
    View1->addAction(a);
    connect(a, &QAction::triggered, this, [this, a, mode] { SetViewMode(mode, a); });
    ++mode;
  }
  LargeIcons1->setIcon(ImageList::commandIcon(QStringLiteral("large-icons")));
  List1->setIcon(ImageList::commandIcon(QStringLiteral("list")));
  Details1->setIcon(ImageList::commandIcon(QStringLiteral("report")));
  Details1->setChecked(true);
  View1->addSeparator();
  Urlpreview1 = makeAction(this, "Urlpreview1", QStringLiteral("Preview"));
  Urlpreview1->setIcon(ImageList::commandIcon(QStringLiteral("preview")));
  connect(Urlpreview1, &QAction::triggered, this, &TFMainXeVorlix::previewToggleRequested);
  View1->addAction(Urlpreview1);
  View1->addSeparator();
  Settings1 = makeAction(this, "Settings1", QStringLiteral("Refresh"), QKeySequence(Qt::Key_F5));
  Settings1->setIcon(ImageList::commandIcon(QStringLiteral("refresh")));
  connect(Settings1, &QAction::triggered, view_.get(), &FolderView::rebuildList);
  View1->addAction(Settings1);

  Help1 = bar->addMenu(QStringLiteral("&Help"));
  Help1->setObjectName(QStringLiteral("Help1"));
  Help2 = makeAction(this, "Help2", QStringLiteral("Help"));
  Help2->setIcon(ImageList::commandIcon(QStringLiteral("help")));
  connect(Help2, &QAction::triggered, this, &TFMainXeVorlix::HelpClick);
  About1 = makeAction(this, "About1", QStringLiteral("About..."));
  About1->setIcon(ImageList::commandIcon(QStringLiteral("about")));
  connect(About1, &QAction::triggered, this, &TFMainXeVorlix::AboutClick);
  Help1->addAction(Help2);
  Help1->addSeparator();
  Help1->addAction(About1);
}

}  // namespace vorlix
