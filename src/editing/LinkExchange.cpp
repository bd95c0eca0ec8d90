#include "editing/LinkExchange.h"

#include <QClipboard>
#include <QMimeData>
#include <QTimer>
#include <QUuid>

#include "document/DocumentEdit.h"
#include "document/LinkDocument.h"
#include "editing/ClipboardList.h"
#include "editing/EditorHost.h"
#include "editing/FitSummary.h"
#include "editing/ForeignLinks.h"
#include "store/DosDate.h"
#include "store/FolderPosition.h"
#include "store/LinkList.h"

namespace vorlix {
namespace {

// The links among records named relative to their source folder: each
// link's own name (after its last '\') as the title.
std::vector<ForeignLink> linksOf(const std::vector<LinkRecord>& records) {
  std::vector<ForeignLink> out;
  for (const LinkRecord& r : records) {
    if (r.isFolder() || r.url().empty()) continue;
    const std::string_view name = r.fullName();
    const size_t slash = name.rfind('\\');
    out.push_back({fromAnsi(r.url()),
                   fromAnsi(slash == std::string_view::npos ? name : name.substr(slash + 1))});
  }
  return out;
}

}  // namespace

LinkExchange::LinkExchange(EditorHost& host, QClipboard& clipboard, AddOneLink addOne)
    : host_(host), clipboard_(clipboard), addOne_(std::move(addOne)) {
  connect(&clipboard_, &QClipboard::dataChanged, this, &LinkExchange::clipboardChanged);
  clipboardChanged();
}

void LinkExchange::clipboardChanged() {
  // Only the formats are looked at: what another program copies can be
  // large, and decoding it here would hold the window on every copy made
  // anywhere. Paste decodes; with no link found it pastes the own clipboard.
  const QMimeData* data = clipboard_.mimeData();
  const bool foreign = data && !IsOwnCopy(*data, ownMark_) && OffersLinks(*data);
  if (foreign == hasForeign_) return;
  hasForeign_ = foreign;
  emit pasteAvailabilityChanged();
}

void LinkExchange::copied(const ClipboardList& copy) {
  // A new mark for each copy: an older copy of ours still on the clipboard
  // (after another Copy emptied the own clipboard) is not taken for it.
  ownMark_ = QUuid::createUuid().toByteArray();
  auto* data = new QMimeData;
  PutLinksOnMime(*data, linksOf(copy.records), ownMark_);
  clipboard_.setMimeData(data);
  clipboardChanged();
}

bool LinkExchange::pasteForeignLinks() {
  const QMimeData* data = clipboard_.mimeData();
  if (!data || IsOwnCopy(*data, ownMark_)) return false;
  const std::vector<ForeignLink> links = LinksFromMime(*data);
  if (links.empty()) return false;
  takeLinks(links, host_.position().currentPath);
  return true;
}

bool LinkExchange::offersLinks(const QMimeData& data) { return OffersLinks(data); }

bool LinkExchange::dropLinks(const QMimeData& data, const AnsiString& folder) {
  std::vector<ForeignLink> links = LinksFromMime(data);
  if (links.empty()) return false;
  // Taken once the drop has ended: the Add Url dialog must not run inside
  // the drag, whose source waits for the drop to finish.
  QTimer::singleShot(0, this,
                     [this, links = std::move(links), folder] { takeLinks(links, folder); });
  return true;
}

void LinkExchange::addLinksOf(QMimeData& data, const std::vector<LinkRecord>& records) {
  const std::vector<ForeignLink> links = linksOf(records);
  if (!links.empty()) PutLinksOnMime(data, links);
}

void LinkExchange::takeLinks(const std::vector<ForeignLink>& links, const AnsiString& folder) {
  if (links.empty()) return;
  if (links.size() == 1) {
    addOne_(links.front(), folder);
    return;
  }
  if (RefuseWhenFull(host_.prompts(), host_.document().links().size(), links.size())) return;
  FitReport report;
  const std::vector<LinkRecord> records =
      RecordsForLinks(host_.document().links(), folder, links, currentDosDateTime(), &report);
  if (!records.empty()) {
    DocumentEdit edit(host_.document(), QStringLiteral("Add %1 links").arg(records.size()));
    for (const LinkRecord& r : records) edit.links().append(r);
    edit.commit();
    host_.rebuildList();
    host_.updateCommandState();
  }
  ShowFitSummary(host_.prompts(), report);
}

}  // namespace vorlix
