#include "mainwindow/ShortcutDispatch.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

namespace vorlix {
namespace {

QAction* findIn(const QList<QAction*>& items, const QKeySequence& key) {
  for (QAction* a : items) {
    if (a->isSeparator()) continue;
    if (QMenu* sub = a->menu()) {
      if (QAction* hit = findIn(sub->actions(), key)) return hit;
      continue;
    }
    for (const QKeySequence& s : a->shortcuts())
      if (s.matches(key) == QKeySequence::ExactMatch) return a;
  }
  return nullptr;
}

// Only command keys are routed: Ctrl or Alt combinations and function keys.
bool isCommandKey(const QKeyEvent* e) {
  const int k = e->key();
  if (k >= Qt::Key_F1 && k <= Qt::Key_F35) return true;
  if (k == Qt::Key_Control || k == Qt::Key_Shift || k == Qt::Key_Alt || k == Qt::Key_Meta)
    return false;
  return e->modifiers() & Qt::ControlModifier;
}

// Whether `w` takes typed text: a line edit (the find box, an in-place
// editor of the tree or the list), an editable combo box (the preview's
// address), a number box, a text editor.
bool takesText(const QWidget* w) {
  if (!w) return false;
  if (w->inherits("QLineEdit") || w->inherits("QAbstractSpinBox") || w->inherits("QTextEdit") ||
      w->inherits("QPlainTextEdit"))
    return true;
  const auto* combo = qobject_cast<const QComboBox*>(w);
  return combo && combo->isEditable();
}

// The editing keys of a text field act on its text (undo typing, select
// all of it, cut and paste text), never on a command of the window.
bool isTextFieldKey(const QWidget* focus, const QKeyEvent* e) {
  if (!takesText(focus)) return false;
  static const QKeySequence::StandardKey keys[] = {QKeySequence::Undo,  QKeySequence::Redo,
                                                   QKeySequence::Cut,   QKeySequence::Copy,
                                                   QKeySequence::Paste, QKeySequence::SelectAll};
  for (QKeySequence::StandardKey k : keys)
    if (e->matches(k)) return true;
  return false;
}

}  // namespace

ShortcutDispatcher::ShortcutDispatcher(QWidget* window) : QObject(window), window_(window) {
  qApp->installEventFilter(this);
}

ShortcutDispatcher::~ShortcutDispatcher() {
  if (qApp) qApp->removeEventFilter(this);
}

QAction* ShortcutDispatcher::find(QWidget* focus, const QKeySequence& key) const {
  for (QWidget* w = focus; w; w = w->parentWidget()) {
    if (QMenu* popup = popups_.value(w))
      if (QAction* hit = findIn(popup->actions(), key)) return hit;
  }
  if (menuBar_)
    if (QAction* hit = findIn(menuBar_->actions(), key)) return hit;
  return findIn(actions_, key);
}

bool ShortcutDispatcher::dispatch(QWidget* focus, const QKeySequence& key) {
  QAction* hit = find(focus, key);
  if (!hit) return false;
  if (hit->isEnabled()) hit->trigger();
  return true;
}

bool ShortcutDispatcher::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) return false;
  auto* w = qobject_cast<QWidget*>(watched);
  if (!w || w->window() != window_ || QApplication::activePopupWidget() ||
      QApplication::activeModalWidget())
    return false;
  auto* ke = static_cast<QKeyEvent*>(event);
  if (!isCommandKey(ke) || isTextFieldKey(QApplication::focusWidget(), ke)) return false;
  const QKeySequence key(ke->modifiers() | ke->key());
  if (event->type() == QEvent::ShortcutOverride) {
    // Claim our keys so a control's own shortcut handling never sees them.
    if (find(w, key)) event->accept();
    return false;
  }
  // Key presses reach the focused control and then its parents; act once.
  if (w != QApplication::focusWidget() && QApplication::focusWidget()) return false;
  return dispatch(w, key);
}

}  // namespace vorlix
