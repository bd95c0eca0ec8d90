// New, Open, open recent, Save, Save as and the Favorites import: the
// commands that replace or write the whole database.
#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include "browser/FavoritesImport.h"
#include "mainwindow/MainWindow.h"
#include "platform/ProfileStrings.h"
#include "platform/ProgramPaths.h"
#include "platform/Prompts.h"
#include "platform/Registry.h"
#include "store/Find.h"
#include "store/LdbFile.h"
#include "store/Paths.h"

namespace vorlix {
namespace {

const QString kLdbFilter = QStringLiteral("Link files (*.ldb);;All Files(*.*)");

}  // namespace

void TFMainXeVorlix::setDirty(bool on) {
  dirty_ = on;
  if (on) findIndexStale_ = true;
  UpdateCommandState();
}

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
  LinkList_.swap(loaded);
  findIndexStale_ = true;
  pos_.currentPath = AnsiString(kRootPath);
  return true;
}

bool TFMainXeVorlix::SaveDatabase(const QString& path) {
  const IoResult r = saveLdbFile(path, LinkList_);
  if (!r) {
    prompts_.message(MsgType::Error, Buttons::Ok, r.message);
    return false;  // the dirty flag stays set
  }
  dirty_ = false;
  UpdateCommandState();
  return true;
}

bool TFMainXeVorlix::AskSaveChanges() {
  if (!dirty_) return true;
  const Answer a = prompts_.message(MsgType::Information, Buttons::YesNoCancel,
                                    QStringLiteral("Save the new modification ?"));
  if (a == Answer::Cancel) return false;
  // A Save that was cancelled or failed must not let the caller throw the
  // changes away.
  if (a == Answer::Yes) return FSaveExecute();
  return true;
}

void TFMainXeVorlix::RememberLastFile() {
  Registry reg;
  if (!reg.keyExists(kProductKey)) return;
  reg.writeString(kSettingsKey, QStringLiteral("LastOpenFile"), fileName_);
}

void TFMainXeVorlix::FNewExecute() {
  if (!AskSaveChanges()) return;
  dirty_ = false;
  ResetToRoot(pos_);
  clearCopySource();
  LinkList_.clear();
  findIndexStale_ = true;
  RebuildList();
  RebuildTree();
  fileName_.clear();
  setCaptionFor(QString());
  UpdateCommandState();
}

void TFMainXeVorlix::FOpenExecute() {
  if (!AskSaveChanges()) return;
  QString start = readRememberedOpenFolder();
  if (start.isEmpty() || !QFileInfo(start).isDir()) start = programFolder();
  pos_.upMarker.clear();
  const QString chosen = desktop_.openFileName(this, start, kLdbFilter);
  if (chosen.isEmpty()) return;
  if (!LoadDatabase(chosen)) return;
  RebuildList();
  RebuildTree();
  fileName_ = chosen;
  addRecentFile(chosen);
  dirty_ = false;
  RebuildOpenDropDown();
  writeRememberedOpenFolder(QFileInfo(chosen).absolutePath() + QLatin1Char('/'));
  setCaptionFor(chosen);
  RememberLastFile();
  UpdateCommandState();
}

void TFMainXeVorlix::OpenRecentClick(const QString& caption) {
  if (!AskSaveChanges()) return;
  const QString path = caption.mid(2).trimmed();
  if (!QFileInfo(path).isFile()) {
    removeRecentItem(caption);
    prompts_.message(MsgType::Error, Buttons::Ok, QStringLiteral("File does not exist !"));
    return;
  }
  pos_.upMarker.clear();
  if (!LoadDatabase(path)) return;
  RebuildList();
  RebuildTree();
  dirty_ = false;
  UpdateCommandState();
  fileName_ = path;
  setCaptionFor(path);
  if (recentDeleteEntry()) removeRecentItem(caption);
  RememberLastFile();
}

void TFMainXeVorlix::RebuildOpenDropDown() {
  PopFile->clear();
  for (QAction* entry : ReOpen1->actions()) {
    if (entry->isSeparator()) continue;
    const QString caption = entry->text();
    QAction* item = PopFile->addAction(caption);
    connect(item, &QAction::triggered, this, [this, caption] { OpenRecentClick(caption); });
  }
}

bool TFMainXeVorlix::FSaveExecute() {
  if (!fileName_.isEmpty()) return SaveDatabase(fileName_);
  return Saveas1Click();
}

bool TFMainXeVorlix::Saveas1Click() {
  const QString chosen = desktop_.saveFileName(this, saveDialogFolder(), kLdbFilter);
  if (chosen.isEmpty()) return false;
  if (!SaveDatabase(chosen)) return false;
  // Only a file that was really written becomes the database's file.
  fileName_ = chosen;
  RememberLastFile();
  return true;
}

void TFMainXeVorlix::Import1Click() {
  if (!AskSaveChanges()) return;
  const QString chosen =
      desktop_.chooseFolder(this, QStringLiteral("Choose favorites folder:"), FavoritesPath);
  if (chosen.isEmpty()) return;
  LinkList_.clear();
  FavoritesPath = chosen;
  ImportFavoritesFolder(FavoritesPath, FavoritesPath, LinkList_);
  setDirty(true);
  ResetToRoot(pos_);
  RebuildList();
  RebuildTree();
}

}  // namespace vorlix
