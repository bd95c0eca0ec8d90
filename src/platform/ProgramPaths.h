#pragma once
// Where the program finds and keeps its files. The program's own folder holds
// default.ldb and is where the Save dialog starts, as long as the user may
// write there; an installed copy uses $XDG_DATA_HOME/Vorlix/ instead.
#include <QString>

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

// The help document beside the executable, or in the installed data folders.
QString helpFilePath();

// The folder an import starts from: ~/Favorites when it exists, else $HOME.
QString favoritesFolder();

}  // namespace vorlix
