#include "health/widgets/HealthCommands.h"

#include <QAction>
#include <QWidget>

#include "document/LinkDocument.h"
#include "health/widgets/DuplicatesWindow.h"
#include "health/widgets/LinkCheckWindow.h"

namespace vorlix {

HealthCommands::HealthCommands(QWidget& mainWindow, QAction& checkLinks, QAction& findDuplicates,
                               HealthHooks hooks)
    : QObject(&mainWindow), main_(mainWindow), hooks_(std::move(hooks)) {
  checkLinks.setEnabled(true);
  findDuplicates.setEnabled(true);
  connect(&checkLinks, &QAction::triggered, this, &HealthCommands::openCheckLinks);
  connect(&findDuplicates, &QAction::triggered, this, &HealthCommands::openFindDuplicates);
  // Another database replaces this one: its check and its rows go.
  connect(&hooks_.doc, &LinkDocument::adopted, this, [this] {
    if (check_) check_->databaseClosed();
  });
}

LinkCheckWindow& HealthCommands::checkWindow() {
  if (!check_) check_ = new LinkCheckWindow(hooks_, &main_);
  return *check_;
}

DuplicatesWindow& HealthCommands::duplicatesWindow() {
  if (!duplicates_) duplicates_ = new DuplicatesWindow(hooks_, &main_);
  return *duplicates_;
}

void HealthCommands::openCheckLinks() {
  LinkCheckWindow& w = checkWindow();
  w.offerScope(hooks_.currentFolder());
  w.show();
  w.raise();
  w.activateWindow();
}

void HealthCommands::openFindDuplicates() {
  DuplicatesWindow& w = duplicatesWindow();
  w.show();
  w.raise();
  w.activateWindow();
}

void HealthCommands::shutDown() {
  if (check_) check_->cancelCheck();
}

}  // namespace vorlix
