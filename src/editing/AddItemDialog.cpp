#include "editing/AddItemDialog.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QTreeView>
#include <QWindow>
#include <algorithm>

#include "components/ImageIndexDelegate.h"
#include "components/ImageList.h"
#include "editing/EditorHost.h"

namespace vorlix {

namespace {

const QString kCaptureTitleHint = QStringLiteral("Capture url title from active browser window");
const QString kCaptureUrlHint = QStringLiteral("Capture url from active browser window");

// While it lives, the dialog is out of the topmost band, so that the boxes
// it opens are never hidden behind it. Only the native window's flag
// changes: the dialog stays where it is, with its size, and stays open.
class TopmostBandLeave {
 public:
  explicit TopmostBandLeave(QWidget* w) : window_(w->windowHandle()) {
    if (window_) window_->setFlag(Qt::WindowStaysOnTopHint, false);
  }
  ~TopmostBandLeave() {
    if (window_) window_->setFlag(Qt::WindowStaysOnTopHint, true);
  }
  TopmostBandLeave(const TopmostBandLeave&) = delete;
  TopmostBandLeave& operator=(const TopmostBandLeave&) = delete;

 private:
  QWindow* window_;
};

const ImageList& smallImages() {
  static const ImageList images = ImageList::smallImages();
  return images;
}

QToolButton* flatButton(QWidget* parent, const QString& name) {
  auto* b = new QToolButton(parent);
  b->setObjectName(name);
  b->setAutoRaise(true);
  b->setFocusPolicy(Qt::TabFocus);  // flat, yet reachable from the keyboard
  return b;
}

}  // namespace

TFAddItem::TFAddItem(QWidget* parent, EditorHost& host)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      editor_(host) {
  setObjectName(QStringLiteral("FAddItem"));
  setWindowTitle(QStringLiteral("Add Url"));
  setAccessibleName(windowTitle());

  LabelDescription = new QLabel(QStringLiteral("&Description"), this);
  EditDescription = new QLineEdit(this);
  EditDescription->setObjectName(QStringLiteral("EditDescription"));
  EditDescription->setAccessibleName(QStringLiteral("Description"));
  LabelDescription->setBuddy(EditDescription);
  BCaptureTitle = flatButton(this, QStringLiteral("BCaptureTitle"));
  BCaptureTitle->setIcon(ImageList::commandIcon(QStringLiteral("capture-title")));
  BCaptureTitle->setToolTip(kCaptureTitleHint);
  BCaptureTitle->setAccessibleName(kCaptureTitleHint);

  LabelURL = new QLabel(QStringLiteral("&URL"), this);
  EditName = new QLineEdit(this);
  EditName->setObjectName(QStringLiteral("EditName"));
  EditName->setAccessibleName(QStringLiteral("URL"));
  LabelURL->setBuddy(EditName);
  BCaptureURL = flatButton(this, QStringLiteral("BCaptureURL"));
  BCaptureURL->setIcon(ImageList::commandIcon(QStringLiteral("capture-url")));
  BCaptureURL->setToolTip(kCaptureUrlHint);
  BCaptureURL->setAccessibleName(kCaptureUrlHint);

  LabelPath = new QLabel(QStringLiteral("Folders"), this);
  LabelPath->setObjectName(QStringLiteral("LabelPath"));
  LabelPath->setTextFormat(Qt::PlainText);  // folder names are never markup
  LabelPath->setWordWrap(true);
  LabelPath->setAccessibleName(LabelPath->text());

  TreeViewAdd = new QTreeView(this);
  TreeViewAdd->setObjectName(QStringLiteral("TreeViewAdd"));
  TreeViewAdd->setAccessibleName(QStringLiteral("Folders"));
  TreeViewAdd->setHeaderHidden(true);
  TreeViewAdd->setRootIsDecorated(false);
  TreeViewAdd->setEditTriggers(QAbstractItemView::NoEditTriggers);
  TreeViewAdd->setSelectionMode(QAbstractItemView::SingleSelection);
  TreeViewAdd->setSelectionBehavior(QAbstractItemView::SelectRows);
  TreeViewAdd->setUniformRowHeights(true);
  static const int imageRole = FolderTreeModel::ImageIndexRole;
  TreeViewAdd->setItemDelegate(new ImageIndexDelegate(&smallImages(), &imageRole, TreeViewAdd));
  TreeViewAdd->setModel(&editor_.folderTree());

  BOk = new QPushButton(QStringLiteral("Ok"), this);
  BOk->setObjectName(QStringLiteral("BOk"));
  BOk->setDefault(true);
  BCancel = new QPushButton(QStringLiteral("Cancel"), this);
  BCancel->setObjectName(QStringLiteral("BCancel"));
  BNewFolder = flatButton(this, QStringLiteral("BNewFolder"));
  BNewFolder->setText(QStringLiteral("New Folder"));
  BNewFolder->setToolButtonStyle(Qt::ToolButtonTextOnly);
  for (QWidget* w :
       std::initializer_list<QWidget*>{LabelDescription, LabelURL, BOk, BCancel, BNewFolder})
    if (w->accessibleName().isEmpty())
      w->setAccessibleName(w->property("text").toString().remove(QLatin1Char('&')));

  // A grid that grows with its text; the design's sizes are the least the
  // controls and the dialog get.
  for (QToolButton* b : {BCaptureTitle, BCaptureURL}) b->setMinimumSize(22, 21);
  for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{BOk, BCancel, BNewFolder})
    b->setMinimumSize(67, 22);
  // A tool button's fixed height would hold the push buttons beside it to
  // its own, which is less than theirs.
  BNewFolder->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Preferred);
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(8, 8, 8, 8);
  grid->setHorizontalSpacing(3);
  grid->setVerticalSpacing(2);
  grid->addWidget(LabelDescription, 0, 0, 1, 2);
  grid->addWidget(EditDescription, 1, 0);
  grid->addWidget(BCaptureTitle, 1, 1);
  grid->setRowMinimumHeight(2, 7);
  grid->addWidget(LabelURL, 3, 0, 1, 2);
  grid->addWidget(EditName, 4, 0);
  grid->addWidget(BCaptureURL, 4, 1);
  grid->setRowMinimumHeight(5, 7);
  grid->addWidget(LabelPath, 6, 0, 1, 2);
  grid->addWidget(TreeViewAdd, 7, 0, 1, 2);
  grid->setRowStretch(7, 1);
  grid->setRowMinimumHeight(8, 8);
  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(5);
  buttons->addWidget(BOk);
  buttons->addWidget(BCancel);
  buttons->addStretch(1);
  buttons->addWidget(BNewFolder);
  grid->addLayout(buttons, 9, 0, 1, 2);
  // Every control in reading order, the flat buttons too.
  setTabOrder(EditDescription, BCaptureTitle);
  setTabOrder(BCaptureTitle, EditName);
  setTabOrder(EditName, BCaptureURL);
  setTabOrder(BCaptureURL, BOk);
  setTabOrder(BOk, BCancel);
  setTabOrder(BCancel, TreeViewAdd);
  setTabOrder(TreeViewAdd, BNewFolder);

  setMinimumWidth(kMinWidth);
  resize(kDesignWidth, kAddHeight);

  FolderTreeModel& tree = editor_.folderTree();
  connect(&tree, &QAbstractItemModel::modelReset, this, &TFAddItem::syncTreeView);
  connect(&tree, &FolderTreeModel::expandedChanged, this, [this](FolderNode* node, bool expanded) {
    TreeViewAdd->setExpanded(editor_.folderTree().indexFor(node), expanded);
  });
  connect(&tree, &FolderTreeModel::selectedChanged, this, [this](FolderNode* node) {
    if (syncing_) return;
    syncing_ = true;
    TreeViewAdd->setCurrentIndex(editor_.folderTree().indexFor(node));
    syncing_ = false;
    editor_.folderSelected(node);
    showTarget();
  });
  connect(TreeViewAdd->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (syncing_) return;
            syncing_ = true;
            editor_.folderTree().setSelected(editor_.folderTree().nodeFor(current));
            syncing_ = false;
            editor_.folderSelected(editor_.folderTree().nodeFor(current));
            showTarget();
          });

  connect(BOk, &QPushButton::clicked, this, &TFAddItem::BOkClick);
  connect(BCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(BNewFolder, &QToolButton::clicked, this, &TFAddItem::BNewFolderClick);
  connect(BCaptureTitle, &QToolButton::clicked, this, [this] { capture(EditDescription, 1); });
  connect(BCaptureURL, &QToolButton::clicked, this, [this] { capture(EditName, 0); });
}

TFAddItem::~TFAddItem() = default;

void TFAddItem::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (const QScreen* screen = this->screen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
  EditDescription->setFocus(Qt::OtherFocusReason);
}

void TFAddItem::syncTreeView() {
  FolderTreeModel& tree = editor_.folderTree();
  syncing_ = true;
  std::function<void(FolderNode*)> walk = [&](FolderNode* n) {
    TreeViewAdd->setExpanded(tree.indexFor(n), n->expanded);
    for (auto& c : n->children) walk(c.get());
  };
  if (tree.root()) walk(tree.root());
  TreeViewAdd->setCurrentIndex(tree.indexFor(tree.selected()));
  syncing_ = false;
}

void TFAddItem::showTarget() {
  LabelPath->setText(fromAnsi(editor_.targetPath()));
  LabelPath->setAccessibleName(LabelPath->text());
}

bool TFAddItem::runAdd(const QString& url, const QString& description, const AnsiString& folder) {
  editor_.startAdd(folder);
  setWindowTitle(QStringLiteral("Add Url"));
  for (QWidget* w : std::initializer_list<QWidget*>{LabelPath, TreeViewAdd, BNewFolder}) w->show();
  setMinimumSize(fitting(kAddHeight, false));
  setMaximumHeight(QWIDGETSIZE_MAX);
  const QSize start = fitting(kAddHeight, true);
  resize(std::max(width(), start.width()), start.height());
  EditName->setText(url);
  EditDescription->setText(description);
  return run();
}

bool TFAddItem::runEdit() {
  QString description, url;
  if (!editor_.startEdit(description, url)) return false;
  setWindowTitle(QStringLiteral("Edit Url"));
  for (QWidget* w : std::initializer_list<QWidget*>{LabelPath, TreeViewAdd, BNewFolder}) w->hide();
  setMinimumWidth(fitting(kEditHeight, false).width());
  const QSize start = fitting(kEditHeight, true);
  setFixedHeight(start.height());
  if (width() < start.width()) resize(start.width(), height());
  EditDescription->setText(description);
  EditName->setText(url);
  return run();
}

QSize TFAddItem::fitting(int designHeight, bool comfortable) {
  layout()->invalidate();
  layout()->activate();
  const QSize text = comfortable ? layout()->sizeHint() : layout()->minimumSize();
  return text.expandedTo(QSize(comfortable ? kDesignWidth : kMinWidth, designHeight));
}

bool TFAddItem::run() {
  setAccessibleName(windowTitle());
  editor_.activate();
  syncTreeView();
  showTarget();
  const bool accepted = exec() == QDialog::Accepted;
  editor_.finish(accepted);
  return accepted;
}

void TFAddItem::BOkClick() {
  bool passed = false;
  {
    TopmostBandLeave leave(this);
    passed = editor_.ok(EditDescription->text(), EditName->text());
  }
  // A failed check keeps the dialog open with the fields as they are.
  if (passed) accept();
}

void TFAddItem::BNewFolderClick() {
  TopmostBandLeave leave(this);
  editor_.newFolder();
}

void TFAddItem::capture(QLineEdit* into, int field) {
  if (!capture_) return;
  const QStringList fields = capture_();
  // No such field, or nothing in it: the box keeps what the user has.
  if (field < fields.size() && !fields[field].isEmpty()) into->setText(fields[field]);
}

}  // namespace vorlix
