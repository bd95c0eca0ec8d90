#pragma once
// Where the program finds and keeps its files. The program's own folder holds
// default.ldb and is where the Save dialog starts, as long as the user may
// write there; an installed copy uses $XDG_DATA_HOME/Vorlix/ instead.
#include <QString>
#include <QStringList>

namespace vorlix {

// The folder of the executable (needs the application object).
QString programFolder();
// $XDG_DATA_HOME/Vorlix (default ~/.local/share/Vorlix).
QString userDataFolder();

// `programDir` when it is a writable folder, else userDataFolder(), created
// on the way. The two functions below apply it to programFolder().
QString writableFolderFor(const QString& programDir);
QString defaultDatabasePath();  // .../default.ldb
QString saveDialogFolder();

// Where a file dialog starts (Open, Save as, bookmark files): the folder
// last used in one while it exists, else the user's Documents folder, else
// the home folder. A Save dialog never starts where the user cannot write.
QString fileDialogFolder(bool forSaving);
// Keeps the folder of `file` for the next dialog, in this run and the next.
void rememberFileDialogFolder(const QString& file);

// The help document beside the executable, or in the installed data folders.
QString helpFilePath();
// Every place helpFilePath() looks, in its order.
QStringList helpFilePlaces();

// The folder an import starts from: ~/Favorites when it exists, else $HOME.
QString favoritesFolder();

}  // namespace vorlix
