#include "mainwindow/FileCommands.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include "document/LinkDocument.h"
#include "editing/ClipboardList.h"
#include "editing/FitSummary.h"
#include "editing/ImportPlacement.h"
#include "interchange/FavoritesImport.h"
#include "platform/Desktop.h"
#include "platform/ProgramPaths.h"
#include "platform/Prompts.h"
#include "settings/Settings.h"
#include "view/FolderView.h"

namespace vorlix {
namespace {
const QString kLdbFilter = QStringLiteral("Link files (*.ldb);;All Files(*.*)");
}  // namespace

FileCommands::FileCommands(FolderView& view, Prompts& prompts, DesktopServices& desktop,
                           Settings& settings, ClipboardList& clipboard, QWidget* dialogParent,
                           QMenu* dropDown, QMenu* recentMenu)
    : QObject(dialogParent),
      view_(view),
      clipboard_(clipboard),
      prompts_(prompts),
      desktop_(desktop),
      parent_(dialogParent),
      dropDown_(dropDown),
      recentMenu_(recentMenu),
      files_(view.document(), prompts) {
  FavoritesPath = favoritesFolder();
  // The next start opens the file last opened or saved; New keeps it.
  connect(&view.document(), &LinkDocument::fileNameChanged, this, [&settings](const QString& path) {
    if (!path.isEmpty()) settings.setLastOpenFile(path);
  });
}

bool FileCommands::AskSaveChanges() {
  if (!view_.document().isDirty()) return true;
  const Answer a = prompts_.message(MsgType::Information, Buttons::YesNoCancel,
                                    QStringLiteral("Save the new modification ?"));
  if (a == Answer::Cancel) return false;
  // A Save that was cancelled or failed must not let the caller throw the
  // changes away.
  if (a == Answer::Yes) return FSaveExecute();
  return true;
}

void FileCommands::FNewExecute() {
  if (!AskSaveChanges()) return;
  clipboard_.forgetSourceFolder();
  view_.document().adopt(LinkList(), QString());
}

void FileCommands::FOpenExecute() {
  if (!AskSaveChanges()) return;
  view_.position().upMarker.clear();
  const QString chosen = desktop_.openFileName(parent_, fileDialogFolder(false), kLdbFilter);
  if (chosen.isEmpty()) return;
  if (OpenFile(chosen, false)) rememberFileDialogFolder(chosen);
}

bool FileCommands::OpenFile(const QString& path, bool askFirst) {
  if (askFirst && !AskSaveChanges()) return false;
  if (!files_.open(path)) return false;
  emit databaseOpened(path);
  RebuildOpenDropDown();
  return true;
}

void FileCommands::OpenRecentClick(const QString& path) {
  if (!AskSaveChanges()) return;
  if (!QFileInfo(path).isFile()) {
    removeRecentItem(path);
    emit recentFileMissing(path);
    prompts_.message(MsgType::Error, Buttons::Ok, QStringLiteral("File does not exist !"));
    return;
  }
  if (!files_.open(path)) return;
  emit recentFileOpened(path);
}

void FileCommands::RebuildOpenDropDown() {
  dropDown_->clear();
  for (QAction* entry : recentMenu_->actions()) {
    if (entry->isSeparator()) continue;
    // An entry names its file in its data; its caption shows "&" doubled.
    QString path = entry->data().toString();
    if (path.isEmpty()) path = entry->text().mid(2).trimmed();
    QAction* item = dropDown_->addAction(entry->text());
    item->setData(path);
    connect(item, &QAction::triggered, this, [this, path] { OpenRecentClick(path); });
  }
}

void FileCommands::removeRecentItem(const QString& path) {
  for (QAction* a : dropDown_->actions())
    if (a->data().toString() == path) {
      dropDown_->removeAction(a);
      a->deleteLater();
      break;
    }
}

bool FileCommands::FSaveExecute() {
  const QString& name = view_.document().fileName();
  if (!name.isEmpty()) return files_.save(name);
  return Saveas1Click();
}

bool FileCommands::Saveas1Click() {
  const QString chosen = desktop_.saveFileName(parent_, fileDialogFolder(true), kLdbFilter);
  if (chosen.isEmpty()) return false;
  // Only a file that was really written becomes the database's file.
  if (!files_.save(chosen)) return false;
  rememberFileDialogFolder(chosen);
  return true;
}

void FileCommands::Import1Click() {
  if (!AskSaveChanges()) return;
  LinkList imported;
  ImportOutcome outcome = RunFavoritesImport(desktop_, parent_, FavoritesPath, imported);
  if (!outcome.chosen) return;
  // Into a database that holds records the links are added in a folder
  // named as the Favorites folder, unless the user chooses to replace.
  QString folder = QDir(FavoritesPath).dirName();
  if (folder.isEmpty()) folder = QStringLiteral("Imported favorites");
  LinkDocument& doc = view_.document();
  const ImportChoice choice =
      doc.links().empty() ? ImportChoice::Replace : AskImportChoice(prompts_, folder);
  if (choice == ImportChoice::Cancel) return;
  // One undo step: an import made by mistake can be taken back before a
  // Save writes it over the file.
  FitReport& report = outcome.report;
  TakeImport(doc, std::move(imported), choice, folder, QStringLiteral("Import Favorites"), report);
  view_.showWholeDocument();
  ShowFitSummary(prompts_, report);
}

}  // namespace vorlix
