// The tool bars and popup menus of the main window, over the actions of
// its command table.
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

void TFMainXeVorlix::buildToolBars() {
  BNew = actionButton(ToolBar, "BNew", FNew, QStringLiteral("New"));
  BOpen = actionButton(ToolBar, "BOpen", FOpen, QStringLiteral("Open"));
  PopFile = new QMenu(BOpen);
  PopFile->setObjectName(QStringLiteral("PopFile"));
  BOpen->setMenu(PopFile);
  BOpen->setPopupMode(QToolButton::MenuButtonPopup);
  BSave = actionButton(ToolBar, "BSave", FSave, QStringLiteral("Save"));
  ToolBar->addSeparator();
  for (const char* name : {"Undo", "Redo"}) {
    QAction* action = findChild<QAction*>(QLatin1Char('E') + QLatin1String(name));
    QAction* item = findChild<QAction*>(QLatin1String(name) + QLatin1Char('1'));
    const QByteArray button = QByteArray("B") + name;
    followText(action, item, actionButton(ToolBar, button.constData(), action, action->text()));
  }
  ToolBar->addSeparator();
  BCut = actionButton(ToolBar, "BCut", ECut,
                      QStringLiteral("Delete an item or a group of selected items"));
  BCopy = actionButton(ToolBar, "BCopy", ECopy,
                       QStringLiteral("Copy an item or a group of selected items"));
  BPaste = actionButton(ToolBar, "BPaste", EPaste,
                        QStringLiteral("Paste an item or a group of selected items"));
  BEdit = actionButton(ToolBar, "BEdit", EEdit, QStringLiteral("Edit current URL or folder"));
  ToolBar->addSeparator();
  BAdd = toolButton(ToolBar, "BAdd", QStringLiteral("Add a new URL"),
                    ImageList::commandIcon(QStringLiteral("add-url")));
  connect(BAdd, &QToolButton::clicked, this, &TFMainXeVorlix::BAddClick);
  BRefresh = toolButton(ToolBar, "BRefresh", QStringLiteral("Refresh"),
                        ImageList::commandIcon(QStringLiteral("refresh")));
  connect(BRefresh, &QToolButton::clicked, view_.get(), &FolderView::rebuildList);

  ToolBar2->addWidget(EditFind);

  // Two groups of check buttons: the three views, and the two styles.
  auto* viewButtons = new QButtonGroup(this);
  auto* styleButtons = new QButtonGroup(this);
  auto checkButton = [this](const char* name, const QString& hint, QAction* item,
                            QButtonGroup* group) {
    QToolButton* b = toolButton(ToolBar3, name, hint, item->icon());
    b->setCheckable(true);
    group->addButton(b);
    connect(b, &QToolButton::clicked, item, [item] { item->trigger(); });
    return b;
  };
  ToolButton6 = checkButton("ToolButton6", QStringLiteral("Large icons"), LargeIcons1, viewButtons);
  ToolButton9 = checkButton("ToolButton9", QStringLiteral("List"), List1, viewButtons);
  ToolButton10 = checkButton("ToolButton10", QStringLiteral("Report"), Details1, viewButtons);
  ToolButton10->setChecked(true);
  ToolBar3->addSeparator();
  ToolButton12 =
      checkButton("ToolButton12", QStringLiteral("Classic style"), ClassicStyle1, styleButtons);
  ToolButton11 =
      checkButton("ToolButton11", QStringLiteral("Explorer style"), ExplorerStyle1, styleButtons);
  ToolButton11->setChecked(true);
  ToolBar3->addSeparator();
  ToolButton1 = toolButton(ToolBar3, "ToolButton1", QStringLiteral("Exit"),
                           ImageList::commandIcon(QStringLiteral("exit")));
  connect(ToolButton1, &QToolButton::clicked, this, &QWidget::close);
}

void TFMainXeVorlix::buildPopups() {
  PopupList = new QMenu(this);
  PopupList->setObjectName(QStringLiteral("PopupList"));
  OpenNew = makeAction(this, "OpenNew", QStringLiteral("Browse in new window"));
  OpenSame = makeAction(this, "OpenSame", QStringLiteral("Browse in active window"));
  OpenNew->setIcon(ImageList::commandIcon(QStringLiteral("browse-new")));
  OpenSame->setIcon(ImageList::commandIcon(QStringLiteral("browse-same")));
  connect(OpenNew, &QAction::triggered, this, [this] {
    if (const ListRow* r = view_->list().rowAt(view_->currentItem()))
      emit openLinkRequested(fromAnsi(r->url), LinkOpening::NewWindow);
  });
  connect(OpenSame, &QAction::triggered, this, [this] {
    if (const ListRow* r = view_->list().rowAt(view_->currentItem()))
      emit openLinkRequested(fromAnsi(r->url), LinkOpening::ActiveWindow);
  });
  NewFolder1 = itemFor(this, "NewFolder1", ENewFolder);
  Edit2 = itemFor(this, "Edit2", EEdit);
  Edit2->setShortcut(QKeySequence(QStringLiteral("Ctrl+E")));
  Cut2 = itemFor(this, "Cut2", ECut);
  Copy2 = itemFor(this, "Copy2", ECopy);
  Paste2 = itemFor(this, "Paste2", EPaste);
  CopyURL1 = makeAction(this, "CopyURL1", QStringLiteral("Copy URL"),
                        QKeySequence(QStringLiteral("Ctrl+U")));
  CopyURL1->setIcon(ImageList::commandIcon(QStringLiteral("copy-url")));
  connect(CopyURL1, &QAction::triggered, this, &TFMainXeVorlix::CopyUrlClick);
  SelectAll2 = itemFor(this, "SelectAll2", ESelect);
  PopupList->addAction(OpenNew);
  PopupList->addAction(OpenSame);
  PopupList->addSeparator();
  PopupList->addAction(NewFolder1);
  PopupList->addSeparator();
  PopupList->addAction(Edit2);
  PopupList->addSeparator();
  PopupList->addAction(Cut2);
  PopupList->addAction(Copy2);
  PopupList->addAction(Paste2);
  PopupList->addSeparator();
  PopupList->addAction(CopyURL1);
  PopupList->addSeparator();
  PopupList->addAction(SelectAll2);

  PopupTree = new QMenu(this);
  PopupTree->setObjectName(QStringLiteral("PopupTree"));
  NewFolder2 = itemFor(this, "NewFolder2", ENewFolder);
  Rename1 = makeAction(this, "Rename1", QStringLiteral("Edit"), QKeySequence(Qt::Key_F4));
  DeleteFolder1 = makeAction(this, "DeleteFolder1", QStringLiteral("Delete"),
                             QKeySequence(QStringLiteral("Ctrl+X")));
  PopupTree->addAction(NewFolder2);
  PopupTree->addAction(Rename1);
  PopupTree->addSeparator();
  PopupTree->addAction(DeleteFolder1);

  PopupTray = new QMenu(this);
  PopupTray->setObjectName(QStringLiteral("PopupTray"));
  Restore1 = makeAction(this, "Restore1", QStringLiteral("Restore"));
  connect(Restore1, &QAction::triggered, this, &TFMainXeVorlix::RestoreFromTray);
  Exit2 = makeAction(this, "Exit2", QStringLiteral("Exit"));
  connect(Exit2, &QAction::triggered, this, &QWidget::close);
  PopupTray->addAction(Restore1);
  PopupTray->addSeparator();
  PopupTray->addAction(Exit2);
}

}  // namespace vorlix
