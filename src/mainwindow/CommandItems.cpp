#include "mainwindow/CommandItems.h"

#include <QAction>
#include <QToolBar>
#include <QToolButton>

namespace vorlix {

// Shortcuts are dispatched by ShortcutDispatcher in the program's own order;
// Qt only shows them in the menus, so every action gets a context in which
// Qt itself never fires it.
QAction* makeAction(QObject* parent, const char* name, const QString& caption,
                    const QKeySequence& key) {
  auto* a = new QAction(caption, parent);
  a->setObjectName(QString::fromLatin1(name));
  a->setShortcut(key);
  a->setShortcutContext(Qt::WidgetShortcut);
  // Popup menus show their keys too, whatever the desktop's default.
  a->setShortcutVisibleInContextMenu(true);
  return a;
}

// A menu item that runs a shared action and mirrors its state.
QAction* itemFor(QObject* parent, const char* name, QAction* action, const QString& caption) {
  QAction* item =
      makeAction(parent, name, caption.isEmpty() ? action->text() : caption, action->shortcut());
  item->setShortcuts(action->shortcuts());
  item->setIcon(action->icon());
  item->setEnabled(action->isEnabled());
  QObject::connect(item, &QAction::triggered, action, [action] { action->trigger(); });
  QObject::connect(action, &QAction::changed, item,
                   [item, action] { item->setEnabled(action->isEnabled()); });
  return item;
}

QToolButton* toolButton(QToolBar* bar, const char* name, const QString& hint, const QIcon& icon) {
  auto* b = new QToolButton(bar);
  b->setObjectName(QString::fromLatin1(name));
  b->setToolTip(hint);
  b->setAccessibleName(hint);
  b->setIcon(icon);
  b->setAutoRaise(true);
  bar->addWidget(b);
  return b;
}

// A menu item and a tool button whose caption and hint follow the action's
// text, which names the step it would undo or redo.
void followText(QAction* action, QAction* item, QToolButton* button) {
  auto sync = [action, item, button] {
    item->setText(action->text());
    button->setToolTip(action->text());
    button->setAccessibleName(action->text());
  };
  QObject::connect(action, &QAction::changed, item, sync);
  sync();
}

// A tool button that runs an action but keeps its own hint.
QToolButton* actionButton(QToolBar* bar, const char* name, QAction* action, const QString& hint) {
  QToolButton* b = toolButton(bar, name, hint, action->icon());
  b->setEnabled(action->isEnabled());
  QObject::connect(b, &QToolButton::clicked, action, [action] { action->trigger(); });
  QObject::connect(action, &QAction::changed, b,
                   [b, action] { b->setEnabled(action->isEnabled()); });
  return b;
}

}  // namespace vorlix
