#include "mainwindow/EditingHost.h"

#include <QAction>
#include <QMenu>
#include <QMimeData>

#include "components/XeListView.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/TreeLinksView.h"

namespace vorlix {
namespace {
const QString kRowsMime = QStringLiteral("application/x-vorlix-rows");
}

MainEditorHost::MainEditorHost(TFMainXeVorlix& window) : w_(window) {}

LinkDocument& MainEditorHost::document() { return w_.document(); }
FolderPosition& MainEditorHost::position() { return w_.position(); }
FolderTreeModel& MainEditorHost::tree() { return w_.treeModel(); }
const ListRows& MainEditorHost::rows() { return w_.listModel().rows(); }
std::vector<int> MainEditorHost::selectedRows() {
  const QList<int> rows = w_.ListLinks->selectedRows();
  return std::vector<int>(rows.begin(), rows.end());
}
int MainEditorHost::currentItem() { return w_.currentListItem(); }
void MainEditorHost::setCurrentItem(int row) { w_.setCurrentListItem(row); }
FolderNode* MainEditorHost::clickedFolder() { return w_.clickedFolder(); }
bool MainEditorHost::flatMode() { return w_.flatMode(); }
Prompts& MainEditorHost::prompts() { return w_.prompts(); }
void MainEditorHost::rebuildList() { w_.RebuildList(); }
// The editing commands put their folder position back after the rebuild, so
// the list they rebuilt must not be replaced by the root's.
void MainEditorHost::rebuildTree() { w_.RebuildTree(false); }
void MainEditorHost::focusRow(int row) { w_.focusListRow(row); }
void MainEditorHost::selectTreeNode(FolderNode* node) { w_.selectTreeNode(node); }
void MainEditorHost::setRowCaption(int row, const AnsiString& caption) {
  w_.listModel().setCaption(row, caption);
}
void MainEditorHost::showPath() { w_.setTPath(); }
void MainEditorHost::updateCommandState() { w_.UpdateCommandState(); }

void TFMainXeVorlix::connectEditing() {
  editor_ = std::make_unique<MainEditorHost>(*this);
  MainEditorHost& e = *editor_;
  connect(ECut, &QAction::triggered, this, [&e] { e.clipboardCommands.deleteSelected(); });
  connect(ECopy, &QAction::triggered, this, [&e] { e.clipboardCommands.copy(); });
  connect(EPaste, &QAction::triggered, this, [&e] { e.clipboardCommands.paste(); });
  connect(EEdit, &QAction::triggered, this, [this, &e] {
    const ListRow* r = rows_.rowAt(currentListItem_);
    if (!r) return;
    if (r->isFolder())
      e.folders.renameFromList();
    else
      emit editLinkRequested();
  });
  connect(ENewFolder, &QAction::triggered, this, [&e] { e.folders.newFolder(); });
  connect(DeleteFolder1, &QAction::triggered, this, [&e] { e.folders.deleteFolder(); });
  connect(Rename1, &QAction::triggered, this, [this] {
    if (clickedFolder_) TreeLinks->edit(tree_.indexFor(clickedFolder_));
  });
  connect(PopupTree, &QMenu::aboutToShow, this, [this, &e] {
    const TreePopupState s = e.folders.popupState();
    NewFolder2->setEnabled(s.newFolder);
    Rename1->setEnabled(s.rename);
    DeleteFolder1->setEnabled(s.deleteFolder);
  });
  TreeLinks->canEditLabel = [&e](FolderNode* node) { return e.folders.TreeLinksEditing(node); };
  TreeLinks->labelEdited = [&e](FolderNode* node, const QString& text) {
    e.folders.TreeLinksEdited(node, text);
  };

  // Drag and drop: rows from the list onto a folder of the tree.
  ListLinks->setDragDataProvider([this](const QList<int>&) { return ListLinksStartDrag(); });
  TreeLinks->acceptsDrag = [](const QMimeData* data) { return data && data->hasFormat(kRowsMime); };
  TreeLinks->dropped = [&e](FolderNode* node) { e.dragDrop.drop(node); };
}

QMimeData* TFMainXeVorlix::ListLinksStartDrag() {
  editor_->dragDrop.dragStart();
  // The records travel in the drag list; the data only marks the drag as
  // coming from this list.
  auto* data = new QMimeData;
  data->setData(kRowsMime, QByteArray("rows"));
  return data;
}

bool TFMainXeVorlix::clipboardHasRecords() const {
  return editor_ && editor_->clipboardCommands.canPaste();
}

void TFMainXeVorlix::clearCopySource() {
  if (editor_) editor_->clipboard.forgetSourceFolder();
}

}  // namespace vorlix
