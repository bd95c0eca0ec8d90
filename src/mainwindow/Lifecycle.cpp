// The main window's first showing, the hand-over from a second start, and
// closing.
#include <QCloseEvent>
#include <QFileInfo>
#include <QLineEdit>

#include "document/LinkDocument.h"
#include "editing/AddItemDialog.h"
#include "editing/FitSummary.h"
#include "interchange/FavoritesImport.h"
#include "mainwindow/BrowserImport.h"
#include "mainwindow/FileCommands.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/TreeLinksView.h"
#include "platform/CommandLine.h"
#include "platform/ProgramPaths.h"
#include "platform/Prompts.h"
#include "platform/SingleInstance.h"
#include "settings/Settings.h"
#include "store/Paths.h"

namespace vorlix {

void TFMainXeVorlix::FormShow(const QStringList& params) {
  if (!settings_.productKeyExists()) return;
  // A database on the command line (a file manager's double-click) is opened
  // in place of the last one; other parameters are a URL and a description.
  const QString database = databaseArgument(params);
  QString file = database.isEmpty() ? settings_.lastOpenFile() : database;
  if (file.isEmpty()) file = defaultDatabasePath();

  // Whatever is opened or imported shows itself (the view follows the
  // document); a refused import or a file that cannot be read leaves an
  // empty untitled database, so the window is still fully usable.
  if (QFileInfo(file).isFile()) {
    if (files_->load(file) && !database.isEmpty()) emit files_->databaseOpened(database);
  } else {
    // The browser whose bookmarks were found stands in for the system's
    // browser; without one, the Favorites folder import is offered.
    auto* browsers = findChild<BrowserImportCommands*>();
    const QString browser = browsers ? browsers->firstStartBrowser() : QString();
    const Answer a =
        prompts_.message(MsgType::Information, Buttons::YesNo,
                         QStringLiteral("Do you want to import favorites links from ") +
                             (browser.isEmpty() ? QStringLiteral("Internet Explorer") : browser) +
                             QStringLiteral(" ?"),
                         false);
    if (a == Answer::Yes) {
      LinkList imported;
      FitReport cut;
      if (!browser.isEmpty()) {
        browsers->importFirstStart(imported);
      } else {
        cut = RunFavoritesImport(desktop_, this, files_->FavoritesPath, imported).report;
      }
      // Nothing of it is in a file yet.
      doc_.adopt(std::move(imported), QString(), true);
      ShowFitSummary(prompts_, cut);
    }
  }
  if (doc_.links().empty() && doc_.fileName().isEmpty()) view_->showWholeDocument();
  showCaption();
  UpdateCommandState();

  if (!params.isEmpty() && database.isEmpty())
    openAddUrl(params.value(0), params.size() > 1 ? params.value(1) : QString());

  files_->RebuildOpenDropDown();
  view_->selectNode(view_->tree().root());
  view_->showPath();
}

void TFMainXeVorlix::openAddUrl(const QString& url, const QString& description) {
  if (FAddItem->isVisible()) {
    // A second hand-over while the dialog is open only replaces its fields.
    FAddItem->EditName->setText(url);
    FAddItem->EditDescription->setText(description);
    return;
  }
  FAddItem->runAdd(url, description);
}

void TFMainXeVorlix::receiveHandOver(const QString& text) {
  receiveHandOver(splitHandOverLines(text));
}

void TFMainXeVorlix::receiveHandOver(const QStringList& fields) {
  if (fields.isEmpty()) return;
  // A second start with a database hands over its absolute path.
  const QString database = databaseArgument({fields.value(0)});
  if (!database.isEmpty())
    files_->OpenFile(database);
  else
    openAddUrl(fields.value(0), fields.value(1));
}

void TFMainXeVorlix::closeEvent(QCloseEvent* event) {
  if (!files_->AskSaveChanges()) {
    event->ignore();
    return;
  }
  emit closing();
  event->accept();
}

}  // namespace vorlix
