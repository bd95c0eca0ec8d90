// Building the main window's controls and the small commands that only show,
// hide or move them.
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

#include "components/AboutBox.h"
#include "components/ImageList.h"
#include "components/PanelSplitter.h"
#include "components/XeListView.h"
#include "components/XeStaticText.h"
#include "components/XeStatusBar.h"
#include "document/LinkDocument.h"
#include "editing/AddItemDialog.h"
#include "mainwindow/EditingHost.h"
#include "mainwindow/FileCommands.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/RebuildProgressBar.h"
#include "mainwindow/ShortcutDispatch.h"
#include "mainwindow/TreeLinksView.h"
#include "platform/ProgramPaths.h"
#include "platform/Prompts.h"

namespace vorlix {

namespace {
constexpr int kHeaderHeight = TXeStaticText::kHeaderHeight;
const ImageList& paneImages() {
  static const ImageList images = ImageList::paneToggleImages();
  return images;
}
}  // namespace

TFMainXeVorlix::TFMainXeVorlix(LinkDocument& document, Settings& settings, Prompts& prompts,
                               DesktopServices& desktop, QWidget* parent)
    : QMainWindow(parent),
      doc_(document),
      settings_(settings),
      prompts_(prompts),
      desktop_(desktop),
      view_(std::make_unique<FolderView>(document)) {
  setObjectName(QStringLiteral("FMainXeVorlix"));
  setWindowTitle(QStringLiteral("Vorlix"));
  setWindowIcon(ImageList::programIcon());
  buildLayout();
  buildCommands();
  connectViews();
  connectEditing();
  files_ = new FileCommands(*view_, prompts_, desktop_, settings_, editor_->clipboard, this,
                            PopFile, ReOpen1);
  connect(&doc_, &LinkDocument::fileNameChanged, this, &TFMainXeVorlix::showCaption);
  resize(779, 570);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect avail = screen->availableGeometry();
    move(avail.center() - rect().center());
  }
  FAddItem = new TFAddItem(this, *editor_);
  FAbout = new TFAbout(this);
  // The enabled state follows every change of the active window.
  connect(qApp, &QGuiApplication::focusWindowChanged, this, [this] { UpdateCommandState(); });
  connect(&doc_, &LinkDocument::dirtyChanged, this, &TFMainXeVorlix::UpdateCommandState);
}

TFMainXeVorlix::~TFMainXeVorlix() {
  // The controls report focus and selection changes to this window; take
  // them down while the window's own state still exists.
  disconnect(qApp, nullptr, this, nullptr);
  delete centralWidget();
}

void TFMainXeVorlix::buildLayout() {
  auto* central = new QWidget(this);
  auto* outer = new QVBoxLayout(central);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSpacing(0);

  // The control bar holds the three tool bars side by side.
  ControlBar = new QWidget(central);
  ControlBar->setObjectName(QStringLiteral("ControlBar"));
  auto* bars = new QHBoxLayout(ControlBar);
  bars->setContentsMargins(2, 1, 2, 1);
  bars->setSpacing(6);
  ToolBar = new QToolBar(QStringLiteral("System"), ControlBar);
  ToolBar->setObjectName(QStringLiteral("ToolBar"));
  ToolBar2 = new QToolBar(QStringLiteral("Find"), ControlBar);
  ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
  ToolBar3 = new QToolBar(QStringLiteral("ToolBar3"), ControlBar);
  ToolBar3->setObjectName(QStringLiteral("ToolBar3"));
  for (QToolBar* t : {ToolBar, ToolBar2, ToolBar3}) {
    t->setIconSize(QSize(16, 16));
    t->setMovable(false);
    bars->addWidget(t);
  }
  bars->addStretch(1);
  EditFind = new QLineEdit(ToolBar2);
  EditFind->setObjectName(QStringLiteral("EditFind"));
  EditFind->setToolTip(QStringLiteral("Find"));
  EditFind->setAccessibleName(QStringLiteral("Find"));
  EditFind->setPlaceholderText(QStringLiteral("Find"));
  EditFind->setClearButtonEnabled(true);
  EditFind->setFixedWidth(180);
  outer->addWidget(ControlBar);

  // Folder pane | list pane, with the preview dock panel and its splitter
  // bar below both.
  Splitter1 = new QSplitter(Qt::Horizontal, central);
  Splitter1->setObjectName(QStringLiteral("Splitter1"));
  Splitter1->setHandleWidth(2);

  Panel2 = new QWidget(Splitter1);
  Panel2->setObjectName(QStringLiteral("Panel2"));
  auto* folderLayout = new QVBoxLayout(Panel2);
  folderLayout->setContentsMargins(0, 0, 0, 0);
  folderLayout->setSpacing(0);
  TreeTopText = new TXeStaticText(QStringLiteral("Folders"), Panel2);
  TreeTopText->setObjectName(QStringLiteral("TreeTopText"));
  TreeTopText->setFixedHeight(kHeaderHeight + 4);
  ToolButton2 =
      TreeTopText->addEndButton(paneImages().icon(imgPaneVisible),
                                QStringLiteral("Hide/Show treeview panel"), Qt::AlignRight);
  ToolButton2->setObjectName(QStringLiteral("ToolButton2"));
  ToolButton2->setProperty("imageIndex", 0);
  folderLayout->addWidget(TreeTopText);
  TreeLinks = new TreeLinksView(Panel2);
  TreeLinks->setObjectName(QStringLiteral("TreeLinks"));
  view_->tree().setExtraItemFlags(Qt::ItemIsEditable);  // labels are edited in place
  TreeLinks->setModel(&view_->tree());
  folderLayout->addWidget(TreeLinks);

  auto* listPane = new QWidget(Splitter1);
  listPane->setObjectName(QStringLiteral("ListPane"));
  auto* listLayout = new QVBoxLayout(listPane);
  listLayout->setContentsMargins(0, 0, 0, 0);
  listLayout->setSpacing(0);
  PathHeader = new QWidget(listPane);
  PathHeader->setObjectName(QStringLiteral("PathHeader"));
  auto* pathLayout = new QHBoxLayout(PathHeader);
  pathLayout->setContentsMargins(0, 0, 0, 0);
  pathLayout->setSpacing(0);
  TPath = new TXeStaticText(QStringLiteral(" Favorites\\"), PathHeader);
  TPath->setObjectName(QStringLiteral("TPath"));
  TPath->setFixedHeight(kHeaderHeight + 4);
  ToolButton3 = TPath->addEndButton(ImageList::commandIcon(QStringLiteral("preview")),
                                    QStringLiteral("Show/Hide preview browser"), Qt::AlignRight);
  ToolButton3->setObjectName(QStringLiteral("ToolButton3"));
  pathLayout->addWidget(TPath, 1);
  listLayout->addWidget(PathHeader);
  ListLinks = new TXeListView(listPane);
  ListLinks->setObjectName(QStringLiteral("ListLinks"));
  ListLinks->setModel(&view_->list());
  ListLinks->setMinimumHeight(50);
  ListLinks->setSmallImages(ImageList::smallImages());
  ListLinks->setLargeImages(ImageList::largeImages());
  ListLinks->setImageIndexRole(LinkListModel::ImageIndexRole);
  ListLinks->setColumnImageIndexUp(imgSortUp);
  ListLinks->setColumnImageIndexDown(imgSortDown);
  ListLinks->setSortDirection(sdAscending);
  const int widths[] = {300, 200, 70, 45, 300};
  for (int c = 0; c < 5; ++c) ListLinks->setColumnWidth(c, widths[c]);
  listLayout->addWidget(ListLinks, 1);
  Splitter1->addWidget(Panel2);
  Splitter1->addWidget(listPane);
  Splitter1->setStretchFactor(0, 0);
  Splitter1->setStretchFactor(1, 1);
  Splitter1->setSizes({201, 576});

  outer->addWidget(Splitter1, 1);
  Panel10 = new QWidget(central);
  Panel10->setObjectName(QStringLiteral("Panel10"));
  Panel10->setFixedHeight(107);
  Panel10->hide();  // shown when the preview pane is switched on
  Splitter2 = new TPanelSplitter(Panel10, central);
  Splitter2->setObjectName(QStringLiteral("Splitter2"));
  Splitter2->hide();
  outer->addWidget(Splitter2);
  outer->addWidget(Panel10);
  setCentralWidget(central);

  XeStatusBar = new TXeStatusBar(this);
  XeStatusBar->setObjectName(QStringLiteral("XeStatusBar"));
  // The progress bar, the count of rows listed, and the notices of imports
  // and exports, each in a panel of its own.
  XeStatusBar->setPanelWidths({201, 90, 50});
  XeStatusBar->setNoticePanel(2);
  prgbar = new QProgressBar(XeStatusBar);
  prgbar->setObjectName(QStringLiteral("prgbar"));
  prgbar->setTextVisible(false);
  prgbar->setMaximumHeight(14);
  XeStatusBar->placeOverPanel(prgbar, 0);
  setStatusBar(XeStatusBar);
}

void TFMainXeVorlix::ToolButton2Click() {
  if (ToolButton2->property("imageIndex").toInt() == 0) {
    // Keep the header and its button reachable at the left of the path header.
    Panel2->hide();
    static_cast<QVBoxLayout*>(Panel2->layout())->removeWidget(TreeTopText);
    TreeTopText->setParent(PathHeader);
    static_cast<QHBoxLayout*>(PathHeader->layout())->insertWidget(0, TreeTopText);
    TreeTopText->setFixedWidth(ToolButton2->parentWidget()->sizeHint().width());
    TreeTopText->show();
    ToolButton2->setIcon(paneImages().icon(imgPaneHidden));
    ToolButton2->setProperty("imageIndex", 1);
  } else {
    static_cast<QHBoxLayout*>(PathHeader->layout())->removeWidget(TreeTopText);
    TreeTopText->setParent(Panel2);
    static_cast<QVBoxLayout*>(Panel2->layout())->insertWidget(0, TreeTopText);
    TreeTopText->setMinimumWidth(0);
    TreeTopText->setMaximumWidth(QWIDGETSIZE_MAX);
    TreeTopText->show();
    Panel2->show();
    ToolButton2->setIcon(paneImages().icon(imgPaneVisible));
    ToolButton2->setProperty("imageIndex", 0);
  }
}

void TFMainXeVorlix::showCaption() {
  const QString& path = doc_.fileName();
  setWindowTitle(QStringLiteral("Vorlix - ") +
                 (path.isEmpty() ? QStringLiteral("untitled.ldb") : QFileInfo(path).fileName()));
}

void TFMainXeVorlix::ToggleToolbar() { ControlBar->setVisible(Toolbar1->isChecked()); }

void TFMainXeVorlix::ToggleStatusbar() { XeStatusBar->setVisible(Statusbar1->isChecked()); }

void TFMainXeVorlix::SelectAllRows() { ListLinks->selectAll(); }

void TFMainXeVorlix::CopyUrlClick() {
  const ListRow* r = view_->list().rowAt(view_->currentItem());
  if (!r) return;
  desktop_.setClipboardText(fromAnsi(r->url));
}

void TFMainXeVorlix::HelpClick() {
  const QString help = helpFilePath();
  if (QFileInfo::exists(help)) {
    desktop_.openFile(help);
    return;
  }
  prompts_.message(MsgType::Warning, Buttons::Ok,
                   QStringLiteral("The help document is missing. It was looked for here:\n") +
                       helpFilePlaces().join(QLatin1Char('\n')));
}

void TFMainXeVorlix::AboutClick() { FAbout->exec(); }

void TFMainXeVorlix::BAddClick() { FAddItem->runAdd(); }

void TFMainXeVorlix::RestoreFromTray() {
  showNormal();
  raise();
  activateWindow();
}

void TFMainXeVorlix::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  // Becoming the active window always brings it back from minimised.
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && isMinimized()) showNormal();
}

}  // namespace vorlix
