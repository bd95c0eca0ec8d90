#include "mainwindow/ListRename.h"

#include "editing/AddItemDialog.h"
#include "editing/LinkEditor.h"
#include "mainwindow/EditingHost.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/WindowParts.h"

namespace vorlix {

ListRename::ListRename(TFMainXeVorlix& window) : QObject(&window), w_(window) {
  setObjectName(QStringLiteral("ListRename"));
  window.view().list().setCaptionEditor([this](int row, const QString& text) {
    const ListRow* r = w_.view().list().rowAt(row);
    if (!r) return;
    // Once the in-place editor has closed: the rename rebuilds the rows.
    QMetaObject::invokeMethod(
        this, [this, row, was = AnsiString(r->caption), text] { rename(row, was, text); },
        Qt::QueuedConnection);
  });
}

void ListRename::rename(int row, const AnsiString& was, const QString& text) {
  const ListRow* r = w_.view().list().rowAt(row);
  // The rows may have been rebuilt meanwhile; an unchanged name changes nothing.
  if (!r || r->isUpRow() || r->caption != was || fromAnsi(was) == text) return;
  w_.view().setCurrentItem(row);
  if (r->isFolder()) {
    w_.editor()->folders.renameListFolder(row, text);
    return;
  }
  LinkEditor& editor = part<TFAddItem>(w_, "FAddItem")->editor();
  QString description, url;
  if (!editor.startEdit(description, url)) return;
  editor.finish(editor.ok(text, url));
}

}  // namespace vorlix
