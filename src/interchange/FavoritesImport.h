#pragma once
// Filling the database from a Favorites folder: every Internet Shortcut file
// (*.url, any letter case) becomes a link and every sub-folder a folder.
#include <QString>

#include "platform/Desktop.h"
#include "store/FitReport.h"
#include "store/LinkList.h"

namespace vorlix {

inline constexpr char kChooseFavoritesPrompt[] = "Choose favorites folder:";

// Appends the records for `folder` and everything below it to `list`, in
// walk order: for each folder first its shortcut files, then each
// sub-folder's record followed at once by that sub-folder's content. Names
// are taken relative to `favoritesPath`, which is `folder` or one of its
// ancestors. Entries of a folder are taken in letter-case-blind name order,
// so the same tree always imports the same way. Folders whose name starts
// with a dot are left out; whatever cannot be read is skipped silently (a
// shortcut that cannot be read still becomes a link, with an empty URL).
// Neither clears nor sorts `list`.
// Names and URLs cut to fit their fields are named in `report` when given.
LinkList& ImportFavoritesFolder(const QString& folder, const QString& favoritesPath, LinkList& list,
                                FitReport* report = nullptr);

struct ImportOutcome {
  bool chosen = false;  // false: the user cancelled and nothing changed
  size_t records = 0;   // how many records the walk made
  FitReport report;     // what had to be cut to fit
};

// The folder choice and walk shared by the import command and the first-run
// offer: asks the desktop's folder chooser (over `dialogParent`) with
// kChooseFavoritesPrompt, starting at `favoritesPath`; when
// a folder is chosen, `favoritesPath` becomes it and `list` is emptied and
// refilled from it. A choice that is not an existing folder counts as a
// cancel. The save question, the dirty flag and the views stay with the
// caller.
ImportOutcome RunFavoritesImport(DesktopServices& desktop, QObject* dialogParent,
                                 QString& favoritesPath, LinkList& list);

}  // namespace vorlix
