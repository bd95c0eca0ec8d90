#pragma once
// The pieces the window's command table is built from: actions whose keys
// only the window's dispatcher runs, menu items and tool buttons that run
// and mirror an action.
#include <QKeySequence>
#include <QString>

class QAction;
class QIcon;
class QObject;
class QToolBar;
class QToolButton;

namespace vorlix {

QAction* makeAction(QObject* parent, const char* name, const QString& caption,
                    const QKeySequence& key = {});
// A menu item that runs a shared action and mirrors its state.
QAction* itemFor(QObject* parent, const char* name, QAction* action, const QString& caption = {});
QToolButton* toolButton(QToolBar* bar, const char* name, const QString& hint, const QIcon& icon);
// A menu item and a tool button whose caption and hint follow the action's
// text, which names the step it would undo or redo.
void followText(QAction* action, QAction* item, QToolButton* button);
// A tool button that runs an action but keeps its own hint.
QToolButton* actionButton(QToolBar* bar, const char* name, QAction* action, const QString& hint);

}  // namespace vorlix
