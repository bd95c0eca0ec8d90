// New, Open, open recent, Save, Save as and the Favorites import: the
// commands that replace or write the whole database.
#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include "document/LinkDocument.h"
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
  const IoResult r = loadLdbFile(path, loaded);
  if (!r) {
    // The database that was open stays as it was, completely.
    prompts_.message(MsgType::Error, Buttons::Ok, r.message);
    return false;
  }
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
  if (!RunFavoritesImport(desktop_, this, FavoritesPath, imported).chosen) return;
  // One undo step: an import made by mistake can be taken back before a
  // Save writes it over the file.
  doc_.replaceContent(std::move(imported), QStringLiteral("Import Favorites"));
  ResetToRoot(pos_);
  RebuildList();
  RebuildTree();
  UpdateCommandState();
}

}  // namespace vorlix
