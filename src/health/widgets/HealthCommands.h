#pragma once
// Edit > "Check Links..." and Edit > "Find Duplicates...": opens their
// windows (made on first use, children of the main window) and stops a
// running check when the database closes.
#include <QObject>

#include "health/widgets/HealthHooks.h"

class QAction;
class QWidget;

namespace vorlix {

class DuplicatesWindow;
class LinkCheckWindow;

class HealthCommands : public QObject {
  Q_OBJECT
 public:
  // Enables both actions and answers them.
  HealthCommands(QWidget& mainWindow, QAction& checkLinks, QAction& findDuplicates,
                 HealthHooks hooks);

  LinkCheckWindow& checkWindow();
  DuplicatesWindow& duplicatesWindow();

 public slots:
  void openCheckLinks();
  void openFindDuplicates();
  // The program is closing: a running check stops.
  void shutDown();

 private:
  QWidget& main_;
  HealthHooks hooks_;
  LinkCheckWindow* check_ = nullptr;
  DuplicatesWindow* duplicates_ = nullptr;
};

}  // namespace vorlix
