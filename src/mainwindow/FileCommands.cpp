// New, Open, open recent, Save, Save as and the Favorites import: the
// commands that replace or write the whole database.
#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include "document/LinkDocument.h"
#include "editing/FitSummary.h"
#include "editing/ImportPlacement.h"
#include "interchange/FavoritesImport.h"
#include "mainwindow/MainWindow.h"
#include "platform/ProfileStrings.h"
#include "platform/ProgramPaths.h"
#include "platform/Prompts.h"
#include "settings/Settings.h"
#include "store/LdbFile.h"
#include "store/Paths.h"

namespace vorlix {
namespace {

const QString kLdbFilter = QStringLiteral("Link files (*.ldb);;All Files(*.*)");

// The question before a file that is not a database is opened: what it
// holds, and what a Save would drop.
QString NotADatabaseText(const QString& path, const LdbShape& shape) {
  QString text =
      QStringLiteral("'%1' does not look like a Vorlix database:").arg(QFileInfo(path).fileName());
  if (shape.trailingBytes > 0)
    text += QStringLiteral(
                "\r\n%1 bytes at the end are not a whole record and would be lost "
                "at the next Save.")
                .arg(shape.trailingBytes);
  if (shape.otherKinds == 1)
    text += QStringLiteral("\r\n1 record is neither a link nor a folder.");
  else if (shape.otherKinds > 1)
    text += QStringLiteral("\r\n%1 records are neither links nor folders.").arg(shape.otherKinds);
  return text + QStringLiteral("\r\nOpen it all the same ?");
}

}  // namespace

const LinkList& TFMainXeVorlix::links() const { return doc_.links(); }
bool TFMainXeVorlix::dirty() const { return doc_.isDirty(); }
const QString& TFMainXeVorlix::fileName() const { return doc_.fileName(); }

void TFMainXeVorlix::setCaptionFor(const QString& path) {
  setWindowTitle(QStringLiteral("Vorlix - ") +
                 (path.isEmpty() ? QStringLiteral("untitled.ldb") : QFileInfo(path).fileName()));
}

bool TFMainXeVorlix::LoadDatabase(const QString& path) {
  LinkList loaded;
  LdbShape shape;
  const IoResult r = loadLdbFile(path, loaded, &shape);
  if (!r) {
    // The database that was open stays as it was, completely.
    prompts_.message(MsgType::Error, Buttons::Ok, r.message);
    return false;
  }
  // Any file "loads"; one that is not a database is only taken for one
  // when the user says so, as a Save would then rewrite it.
  if (!shape.isDatabase() && prompts_.ask(MsgType::Warning, Buttons::YesNo,
                                          NotADatabaseText(path, shape), Answer::No) != Answer::Yes)
    return false;
  doc_.adopt(std::move(loaded), path);
  pos_.currentPath = AnsiString(kRootPath);
  return true;
}

bool TFMainXeVorlix::SaveDatabase(const QString& path) {
  const IoResult r = saveLdbFile(path, doc_.links());
  if (!r) {
    prompts_.message(MsgType::Error, Buttons::Ok, r.message);
    return false;  // the dirty flag stays set
  }
  doc_.markSaved(path);
  UpdateCommandState();
  return true;
}

bool TFMainXeVorlix::AskSaveChanges() {
  if (!doc_.isDirty()) return true;
  const Answer a = prompts_.message(MsgType::Information, Buttons::YesNoCancel,
                                    QStringLiteral("Save the new modification ?"));
  if (a == Answer::Cancel) return false;
  // A Save that was cancelled or failed must not let the caller throw the
  // changes away.
  if (a == Answer::Yes) return FSaveExecute();
  return true;
}

void TFMainXeVorlix::RememberLastFile() { settings_.setLastOpenFile(doc_.fileName()); }

void TFMainXeVorlix::FNewExecute() {
  if (!AskSaveChanges()) return;
  ResetToRoot(pos_);
  clearCopySource();
  doc_.adopt(LinkList(), QString());
  RebuildList();
  RebuildTree();
  setCaptionFor(QString());
  UpdateCommandState();
}

void TFMainXeVorlix::FOpenExecute() {
  if (!AskSaveChanges()) return;
  pos_.upMarker.clear();
  const QString chosen = desktop_.openFileName(this, fileDialogFolder(false), kLdbFilter);
  if (chosen.isEmpty()) return;
  if (OpenFile(chosen, false)) rememberFileDialogFolder(chosen);
}

bool TFMainXeVorlix::OpenFile(const QString& path, bool askFirst) {
  if (askFirst && !AskSaveChanges()) return false;
  pos_.upMarker.clear();
  if (!LoadDatabase(path)) return false;
  RebuildList();
  RebuildTree();
  emit databaseOpened(path);
  RebuildOpenDropDown();
  setCaptionFor(path);
  RememberLastFile();
  UpdateCommandState();
  return true;
}

void TFMainXeVorlix::OpenRecentClick(const QString& path) {
  if (!AskSaveChanges()) return;
  if (!QFileInfo(path).isFile()) {
    removeRecentItem(path);
    emit recentFileMissing(path);
    prompts_.message(MsgType::Error, Buttons::Ok, QStringLiteral("File does not exist !"));
    return;
  }
  pos_.upMarker.clear();
  if (!LoadDatabase(path)) return;
  RebuildList();
  RebuildTree();
  UpdateCommandState();
  setCaptionFor(path);
  emit recentFileOpened(path);
  RememberLastFile();
}

void TFMainXeVorlix::RebuildOpenDropDown() {
  PopFile->clear();
  for (QAction* entry : ReOpen1->actions()) {
    if (entry->isSeparator()) continue;
    // An entry names its file in its data; its caption shows "&" doubled.
    QString path = entry->data().toString();
    if (path.isEmpty()) path = entry->text().mid(2).trimmed();
    QAction* item = PopFile->addAction(entry->text());
    item->setData(path);
    connect(item, &QAction::triggered, this, [this, path] { OpenRecentClick(path); });
  }
}

void TFMainXeVorlix::removeRecentItem(const QString& path) {
  for (QAction* a : PopFile->actions())
    if (a->data().toString() == path) {
      PopFile->removeAction(a);
      a->deleteLater();
      break;
    }
}

bool TFMainXeVorlix::FSaveExecute() {
  if (!doc_.fileName().isEmpty()) return SaveDatabase(doc_.fileName());
  return Saveas1Click();
}

bool TFMainXeVorlix::Saveas1Click() {
  const QString chosen = desktop_.saveFileName(this, fileDialogFolder(true), kLdbFilter);
  if (chosen.isEmpty()) return false;
  // Only a file that was really written becomes the database's file, and
  // the caption names the file that Save now writes.
  if (!SaveDatabase(chosen)) return false;
  rememberFileDialogFolder(chosen);
  setCaptionFor(chosen);
  RememberLastFile();
  return true;
}

void TFMainXeVorlix::Import1Click() {
  if (!AskSaveChanges()) return;
  LinkList imported;
  ImportOutcome outcome = RunFavoritesImport(desktop_, this, FavoritesPath, imported);
  if (!outcome.chosen) return;
  // Into a database that holds records the links are added in a folder
  // named as the Favorites folder, unless the user chooses to replace.
  QString folder = QDir(FavoritesPath).dirName();
  if (folder.isEmpty()) folder = QStringLiteral("Imported favorites");
  const ImportChoice choice =
      doc_.links().empty() ? ImportChoice::Replace : AskImportChoice(prompts_, folder);
  if (choice == ImportChoice::Cancel) return;
  // One undo step: an import made by mistake can be taken back before a
  // Save writes it over the file.
  FitReport& report = outcome.report;
  TakeImport(doc_, std::move(imported), choice, folder, QStringLiteral("Import Favorites"), report);
  ResetToRoot(pos_);
  RebuildList();
  RebuildTree();
  UpdateCommandState();
  ShowFitSummary(prompts_, report);
}

}  // namespace vorlix
