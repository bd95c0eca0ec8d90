#include "mainwindow/AddedKeys.h"

#include <QAction>
#include <QShortcut>

#include "components/XeListView.h"
#include "mainwindow/EditingHost.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/TreeLinksView.h"
#include "mainwindow/WindowParts.h"

namespace vorlix {
namespace {

void triggerIfEnabled(QAction* a) {
  if (a && a->isEnabled()) a->trigger();
}

// A key of `scope` and the controls inside it; the find box and the
// dialogs' fields keep theirs.
QShortcut* keyIn(QWidget* scope, QKeySequence key, Qt::ShortcutContext context) {
  auto* s = new QShortcut(key, scope);
  s->setContext(context);
  return s;
}

}  // namespace

AddedKeys::AddedKeys(TFMainXeVorlix& window) : QObject(&window), w_(window) {
  setObjectName(QStringLiteral("AddedKeys"));
  TFMainXeVorlix* w = &window;
  connect(keyIn(part<TXeListView>(*w, "ListLinks"), Qt::Key_Delete, Qt::WidgetWithChildrenShortcut),
          &QShortcut::activated, this, [w] { triggerIfEnabled(part<QAction>(*w, "ECut")); });
  connect(
      keyIn(part<TXeListView>(*w, "ListLinks"), Qt::Key_Backspace, Qt::WidgetWithChildrenShortcut),
      &QShortcut::activated, this, &AddedKeys::goUp);
  // The popup's Delete acts on the folder last clicked; the key acts on the
  // one the keyboard selected.
  connect(keyIn(part<TreeLinksView>(*w, "TreeLinks"), Qt::Key_Delete, Qt::WidgetShortcut),
          &QShortcut::activated, this,
          [w] { w->editor()->folders.deleteFolder(w->view().tree().selected()); });
}

void AddedKeys::goUp() {
  // Only where the list has a ".." row: a flat listing has none.
  const ListRow* up = w_.view().list().rowAt(0);
  if (!up || !up->isUpRow()) return;
  w_.view().focusRow(0);
  w_.view().openCurrentRow(false);
}

}  // namespace vorlix
