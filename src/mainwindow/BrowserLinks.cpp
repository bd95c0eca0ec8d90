#include "mainwindow/BrowserLinks.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>

#include "components/XeListView.h"
#include "components/XeStatusBar.h"
#include "document/LinkDocument.h"
#include "editing/AddItemDialog.h"
#include "editing/FitSummary.h"
#include "editing/ImportPlacement.h"
#include "editing/LinkExchange.h"
#include "interchange/BookmarkFile.h"
#include "interchange/ImportFile.h"
#include "mainwindow/EditingHost.h"
#include "mainwindow/FileCommands.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/TreeLinksView.h"
#include "mainwindow/WindowParts.h"
#include "platform/ProgramPaths.h"
#include "platform/Prompts.h"
#include "store/FolderTree.h"
#include "store/Paths.h"

namespace vorlix {

BookmarkFileCommands::BookmarkFileCommands(TFMainXeVorlix& window) : QObject(&window), w_(window) {
  part<QAction>(w_, "FavoritesLinksfromNetscape1")->setEnabled(true);
  // There is always a database open, if only an empty untitled one.
  part<QAction>(w_, "Export1")->setEnabled(true);
  connect(part<QAction>(w_, "FavoritesLinksfromNetscape1"), &QAction::triggered, this,
          &BookmarkFileCommands::importBookmarks);
  connect(part<QAction>(w_, "Export1"), &QAction::triggered, this,
          &BookmarkFileCommands::exportBookmarks);
}

void BookmarkFileCommands::tell(const QString& text) {
  part<TXeStatusBar>(w_, "XeStatusBar")->showNotice(text);
}

void BookmarkFileCommands::importBookmarks() {
  if (!w_.files().AskSaveChanges()) return;
  const QString path = w_.desktop().openFileName(&w_, fileDialogFolder(false),
                                                 QString::fromLatin1(kBookmarkFileFilter));
  if (path.isEmpty()) return;
  rememberFileDialogFolder(path);
  BookmarkImport result = ReadBookmarkFile(path);
  if (!result.ok) {
    // Nothing changes: the database, its views and its history stay.
    w_.prompts().message(MsgType::Error, Buttons::Ok, result.error);
    return;
  }
  const QString summary = BookmarkImportSummary(result);
  // Into a database that holds records the links are added in a new folder,
  // unless the user chooses to replace; one undo step either way.
  const QString folder = QStringLiteral("Imported bookmarks");
  const ImportChoice choice = w_.view().document().links().empty()
                                  ? ImportChoice::Replace
                                  : AskImportChoice(w_.prompts(), folder);
  if (choice == ImportChoice::Cancel) return;
  TakeImport(w_.view().document(), std::move(result.links), choice, folder,
             QStringLiteral("Import Bookmarks"), result.report);
  w_.view().showWholeDocument();
  tell(summary);
  ShowFitSummary(w_.prompts(), result.report);
}

void BookmarkFileCommands::exportBookmarks() {
  QString path =
      w_.desktop().saveFileName(&w_, fileDialogFolder(true), QString::fromLatin1(kExportFilter));
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".html");
  rememberFileDialogFolder(path);
  QString error;
  if (!WriteExportFile(path, w_.view().document().links(), &error)) {
    w_.prompts().message(MsgType::Error, Buttons::Ok,
                         QStringLiteral("Cannot write '") + path + QStringLiteral("': ") + error);
    return;
  }
  size_t links = 0;
  for (const LinkRecord& r : w_.view().document().links())
    if (!r.isFolder()) ++links;
  tell(QStringLiteral("Exported %1 links to %2.").arg(links).arg(QFileInfo(path).fileName()));
}

void AddOneLinkInDialog(TFMainXeVorlix& w, const QString& url, const QString& title,
                        const std::string& folder) {
  TFAddItem& dialog = *part<TFAddItem>(w, "FAddItem");
  if (dialog.isVisible()) {
    // Already open (a hand-over, an earlier drop): only its fields change.
    dialog.EditName->setText(url);
    dialog.EditDescription->setText(title);
    return;
  }
  // The dialog's OK shows the new link itself.
  dialog.runAdd(url, title, folder);
}

void ConnectLinkExchange(TFMainXeVorlix& w, LinkExchange& exchange) {
  MainEditorHost& editor = *w.editor();
  editor.clipboardCommands.setSystemClipboard(&exchange);
  QObject::connect(&exchange, &LinkExchange::pasteAvailabilityChanged, &w,
                   &TFMainXeVorlix::UpdateCommandState);

  // Links dropped on a tree folder go there; on the list, to the folder it
  // shows. Rows of the list keep their own drop rules.
  part<TreeLinksView>(w, "TreeLinks")->acceptsOther = [](const QMimeData* data) {
    return data && LinkExchange::offersLinks(*data);
  };
  part<TreeLinksView>(w, "TreeLinks")->droppedOther = [&exchange](FolderNode* node,
                                                                  const QMimeData* data) {
    return node && data && exchange.dropLinks(*data, FolderTreeModel::NodePath(node));
  };
  part<TXeListView>(w, "ListLinks")
      ->setDropHandler(
          [](const QMimeData* data) { return data && LinkExchange::offersLinks(*data); },
          [&w, &exchange](const QMimeData* data) {
            return data && exchange.dropLinks(*data, w.view().position().currentPath);
          });

  // Rows dragged out carry their links, so a browser or an editor takes
  // them; inside the window the drag is the same as before.
  part<TXeListView>(w, "ListLinks")->setDragDataProvider([&w](const QList<int>&) {
    QMimeData* data = w.ListLinksStartDrag();
    if (data) LinkExchange::addLinksOf(*data, w.editor()->dragDrop.dragList().records);
    return data;
  });
  w.UpdateCommandState();
}

}  // namespace vorlix
