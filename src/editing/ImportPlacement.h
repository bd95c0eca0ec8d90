#pragma once
// Where imported links go when the database already holds records: into a
// new folder of the root named after their source, beside what is there.
#include <QString>
#include <cstdint>

#include "store/FitReport.h"
#include "store/LinkList.h"

namespace vorlix {

class LinkDocument;
class Prompts;

enum class ImportChoice { Add, Replace, Cancel };

// Asks whether the import adds its links in the folder `folderName` or
// replaces the content; Add is the default answer.
ImportChoice AskImportChoice(Prompts& prompts, const QString& folderName);

// `imported` (named from "Favorites\") moved into a new root folder named
// `wantedName`, made unique among the root's names in `existing` (" (2)",
// " (3)", ...): the folder's record first, then every imported record below
// it. A title that no longer fits its field is cut and a folder that no
// longer fits is merged into its parent, each told in `report`.
LinkList PlaceImport(const LinkList& existing, const LinkList& imported, const QString& wantedName,
                     std::uint32_t date, FitReport& report);

// The import into `doc` as one undo step: added in a new folder (see
// PlaceImport) or replacing the content.
void TakeImport(LinkDocument& doc, LinkList&& imported, ImportChoice choice,
                const QString& folderName, const QString& stepName, FitReport& report);

}  // namespace vorlix
