#pragma once
// New, Open, open recent, Save, Save as and the Favorites import: the
// commands that replace or write the whole database, and the Open button's
// drop-down of recent files. The document opens and saves itself
// (DocumentFiles); its view, the window's caption and the remembered last
// file follow its signals.
#include <QObject>
#include <QString>

#include "document/DocumentFiles.h"

class QMenu;
class QWidget;

namespace vorlix {

class ClipboardList;
class DesktopServices;
class FolderView;
class Settings;

class FileCommands : public QObject {
  Q_OBJECT
 public:
  // `dialogParent` owns the file dialogs; `dropDown` is the Open button's
  // menu, rebuilt from `recentMenu` (File > ReOpen).
  // New forgets the folder the internal clipboard was copied from.
  FileCommands(FolderView& view, Prompts& prompts, DesktopServices& desktop, Settings& settings,
               ClipboardList& clipboard, QWidget* dialogParent, QMenu* dropDown, QMenu* recentMenu);

  // False when the user cancelled: the calling command must stop.
  bool AskSaveChanges();
  void FNewExecute();
  void FOpenExecute();
  // Opens a database as Open does once the file is chosen (a file handed
  // over from the command line); `askFirst` puts the save question first.
  // False when cancelled or the file could not be read.
  bool OpenFile(const QString& path, bool askFirst = true);
  // Opens a file of the recent-files list, after the save question.
  void OpenRecentClick(const QString& path);
  // False when nothing was written (cancelled or failed).
  bool FSaveExecute();
  bool Saveas1Click();
  void Import1Click();
  void RebuildOpenDropDown();
  // Takes a recent-files entry out of the Open button's drop-down.
  void removeRecentItem(const QString& path);
  // The first start's load: the database at `path`, without the question
  // about unsaved changes. False when it could not be read.
  bool load(const QString& path) { return files_.open(path); }

  QString FavoritesPath;

 signals:
  // A database file was opened by Open (for the recent-files list).
  void databaseOpened(const QString& path);
  // A recent-files entry named a file that is gone, or was opened.
  void recentFileMissing(const QString& path);
  void recentFileOpened(const QString& path);

 private:
  FolderView& view_;
  ClipboardList& clipboard_;
  Prompts& prompts_;
  DesktopServices& desktop_;
  QWidget* parent_;
  QMenu* dropDown_;
  QMenu* recentMenu_;
  DocumentFiles files_;
};

}  // namespace vorlix
