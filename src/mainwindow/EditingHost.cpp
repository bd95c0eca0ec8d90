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

MainEditorHost::MainEditorHost(FolderView& view, Prompts& prompts, TXeListView& list)
    : view_(view), prompts_(prompts), list_(list) {}

std::vector<int> MainEditorHost::selectedRows() {
  const QList<int> rows = list_.selectedRows();
  return std::vector<int>(rows.begin(), rows.end());
}

void TFMainXeVorlix::connectEditing() {
  editor_ = std::make_unique<MainEditorHost>(*view_, prompts_, *ListLinks);
  MainEditorHost& e = *editor_;
  connect(ECut, &QAction::triggered, this, [&e] { e.clipboardCommands.deleteSelected(); });
  connect(ECopy, &QAction::triggered, this, [&e] { e.clipboardCommands.copy(); });
  connect(EPaste, &QAction::triggered, this, [&e] { e.clipboardCommands.paste(); });
  connect(EEdit, &QAction::triggered, this, [this, &e] {
    const ListRow* r = view_->list().rowAt(view_->currentItem());
    if (!r) return;
    if (r->isFolder())
      e.folders.renameFromList();
    else
      emit editLinkRequested();
  });
  connect(ENewFolder, &QAction::triggered, this, [&e] { e.folders.newFolder(); });
  connect(DeleteFolder1, &QAction::triggered, this, [&e] { e.folders.deleteFolder(); });
  connect(Rename1, &QAction::triggered, this, [this] {
    if (FolderNode* node = view_->clickedFolder()) TreeLinks->edit(view_->tree().indexFor(node));
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

}  // namespace vorlix
