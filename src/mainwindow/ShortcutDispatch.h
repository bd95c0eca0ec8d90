#pragma once
// Routes the main window's shortcut keys in the program's own order: the
// popup menu of the focused control and of its parents, then the main menu
// from File to Help depth first, then the actions. The first item found with
// the key takes it; a disabled one uses the key up without running anything.
#include <QHash>
#include <QKeySequence>
#include <QList>
#include <QMenuBar>
#include <QObject>
#include <QPointer>

class QAction;
class QMenu;
class QWidget;

namespace vorlix {

class ShortcutDispatcher : public QObject {
  Q_OBJECT
 public:
  explicit ShortcutDispatcher(QWidget* window);
  ~ShortcutDispatcher() override;

  void setMainMenu(QMenuBar* bar) { menuBar_ = bar; }
  void setPopup(QWidget* control, QMenu* popup) { popups_.insert(control, popup); }
  void setActions(const QList<QAction*>& actions) { actions_ = actions; }

  // The item that takes `key` with `focus` focused, or null.
  QAction* find(QWidget* focus, const QKeySequence& key) const;
  // Runs or swallows the key; false when no item has it.
  bool dispatch(QWidget* focus, const QKeySequence& key);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* window_;
  QPointer<QMenuBar> menuBar_;
  QHash<QWidget*, QMenu*> popups_;
  QList<QAction*> actions_;
};

}  // namespace vorlix
