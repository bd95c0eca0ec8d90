#include "editing/ForeignLinks.h"

#include "editing/FolderName.h"
#include "store/HtmlText.h"
#include "store/LinkList.h"
#include "store/UniqueNames.h"

namespace vorlix {
namespace {

AnsiString validDescription(const QString& text) {
  QString d = text;
  for (QChar& c : d)
    if (!IsNameCharacter(c)) c = QLatin1Char(' ');
  qsizetype first = 0, last = d.size();
  while (first < last && d[first] == QLatin1Char(' ')) ++first;
  while (last > first && d[last - 1] == QLatin1Char(' ')) --last;
  return toAnsi(d.mid(first, last - first));
}

}  // namespace

AnsiString DescriptionForLink(const ForeignLink& link) {
  AnsiString d = validDescription(link.title);
  if (d.empty()) d = validDescription(urlWithoutScheme(link.url));
  return d.empty() ? AnsiString("Untitled") : d;
}

std::vector<LinkRecord> RecordsForLinks(const LinkList& list, const AnsiString& folder,
                                        const std::vector<ForeignLink>& links, std::uint32_t date,
                                        FitReport* report) {
  UniqueNames names;
  // Everything directly in the folder, folders that only exist as the
  // parent of deeper records included.
  for (const LinkRecord& r : list) {
    const std::string_view full = r.fullName();
    if (!startsWith(full, folder) || full.size() == folder.size()) continue;
    const size_t slash = full.find('\\', folder.size());
    names.reserve(full.substr(0, slash));
  }
  std::vector<LinkRecord> out;
  out.reserve(links.size());
  for (const ForeignLink& l : links) {
    bool cut = false;
    const AnsiString full = names.claim(folder, DescriptionForLink(l), false, &cut);
    if (full.empty()) continue;
    const AnsiString url = urlToAnsi(l.url.trimmed());
    out.push_back(LinkRecord::make(full, url, date, kKindUrl));
    if (report && cut) report->cutTitles << fromAnsi(full);
    if (report && out.back().url().size() != url.size()) report->cutUrls << fromAnsi(full);
  }
  return out;
}

}  // namespace vorlix
