#include "editing/ImportPlacement.h"

#include <unordered_map>

#include "document/DocumentEdit.h"
#include "document/LinkDocument.h"
#include "platform/Prompts.h"
#include "store/DosDate.h"
#include "store/Paths.h"
#include "store/UniqueNames.h"

namespace vorlix {

ImportChoice AskImportChoice(Prompts& prompts, const QString& folderName) {
  const Answer a =
      prompts.ask(MsgType::Confirmation, Buttons::YesNoCancel,
                  QStringLiteral("The database holds links already.\r\n"
                                 "Yes adds the imported links in a new folder '%1';\r\n"
                                 "No replaces the whole content with them.\r\n"
                                 "Add the imported links ?")
                      .arg(folderName),
                  Answer::Yes);
  if (a == Answer::Yes) return ImportChoice::Add;
  return a == Answer::No ? ImportChoice::Replace : ImportChoice::Cancel;
}

LinkList PlaceImport(const LinkList& existing, const LinkList& imported, const QString& wantedName,
                     std::uint32_t date, FitReport& report) {
  UniqueNames names;
  for (const LinkRecord& r : existing) {
    const std::string_view full = r.fullName();
    if (!startsWith(full, kRootPath) || full.size() == kRootPath.size()) continue;
    const size_t slash = full.find('\\', kRootPath.size());
    names.reserve(full.substr(0, slash));
  }
  LinkList out;
  const AnsiString top = names.claim(kRootPath, toAnsi(wantedName), true);
  if (top.empty()) return out;
  out.reserve(imported.size() + 1);
  out.append(LinkRecord::make(top, {}, date, kKindFolder));

  // Each imported folder path to its place below `top`: itself when it
  // still fits (with room for a name below it), else its parent's place.
  std::unordered_map<AnsiString, AnsiString> placeOf{{AnsiString(kRootPath), top}};
  const auto place = [&](auto&& self, std::string_view path) -> AnsiString {
    if (const auto it = placeOf.find(AnsiString(path)); it != placeOf.end()) return it->second;
    const std::string_view parent = ParentPathView(path);
    const AnsiString parentPlace = parent.empty() ? top : self(self, parent);
    AnsiString mine = parentPlace + AnsiString(LastComponentSlashView(path));
    if (storedSize(mine) + 1 > size_t(kMaxText)) {
      report.mergedFolders << fromAnsi(path);
      mine = parentPlace;
    }
    placeOf.emplace(AnsiString(path), mine);
    return mine;
  };
  for (const LinkRecord& r : imported) {
    const std::string_view full = r.fullName();
    if (!startsWith(full, kRootPath)) continue;
    if (r.isFolder()) {
      const AnsiString at = place(place, full);
      if (at == place(place, ParentPathView(full).empty() ? kRootPath : ParentPathView(full)))
        continue;  // merged: no record of its own
      LinkRecord moved = r;
      moved.setFullName(at);
      out.append(moved);
      continue;
    }
    const NameParts parts = SplitFullName(full);
    const AnsiString folder = place(place, parts.folder);
    AnsiString name = folder + AnsiString(parts.name);
    if (storedSize(name) > size_t(kMaxText)) {
      name = cutToFit(name, size_t(kMaxText));
      report.cutTitles << fromAnsi(name);
    }
    LinkRecord moved = r;
    moved.setFullName(name);
    out.append(moved);
  }
  return out;
}

void TakeImport(LinkDocument& doc, LinkList&& imported, ImportChoice choice,
                const QString& folderName, const QString& stepName, FitReport& report) {
  if (choice == ImportChoice::Cancel) return;
  if (choice == ImportChoice::Replace || doc.links().empty()) {
    doc.replaceContent(std::move(imported), stepName);
    return;
  }
  const LinkList placed =
      PlaceImport(doc.links(), imported, folderName, currentDosDateTime(), report);
  DocumentEdit edit(doc, stepName);
  for (const LinkRecord& r : placed) edit.links().append(r);
  edit.commit();
}

}  // namespace vorlix
