#include "health/LinkEdits.h"

#include <unordered_map>

#include "document/DocumentEdit.h"
#include "document/LinkDocument.h"
#include "store/LinkList.h"

namespace vorlix {

std::vector<LinkRef> linksBelow(const LinkList& list, std::string_view folder) {
  std::vector<LinkRef> out;
  for (const LinkRecord& r : list)
    if (r.isUrl() && startsWith(r.fullName(), folder))
      out.push_back({AnsiString(r.fullName()), AnsiString(r.url())});
  return out;
}

long findLink(const LinkList& list, const LinkRef& ref) {
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i].isUrl() && list[i].fullName() == ref.fullName && list[i].url() == ref.url)
      return long(i);
  return -1;
}

QString waybackUrl(const QString& url) {
  return QStringLiteral("https://web.archive.org/web/*/") + url.trimmed();
}

EditOutcome acceptNewUrls(LinkDocument& doc,
                          const std::vector<std::pair<LinkRef, QString>>& moves) {
  EditOutcome o;
  DocumentEdit edit(doc, QStringLiteral("Accept New Url"));
  for (const auto& [ref, to] : moves) {
    const long i = findLink(edit.links(), ref);
    const AnsiString url = toAnsi(to);
    if (i < 0) {
      ++o.missing;
    } else if (url.size() > size_t(kMaxText) || fromAnsi(url) != to) {
      // Cutting or mangling the address would break the link for good.
      ++o.tooLong;
    } else {
      LinkRecord r = edit.links()[size_t(i)];
      r.setUrl(url);
      edit.links().replace(size_t(i), r);
      ++o.changed;
    }
  }
  edit.commit();
  return o;
}

EditOutcome deleteLinks(LinkDocument& doc, const std::vector<LinkRef>& links) {
  EditOutcome o;
  const LinkList& list = doc.links();
  std::unordered_multimap<std::string, size_t> where;
  where.reserve(list.size());
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i].isUrl())
      where.emplace(std::string(list[i].fullName()) + '\n' + std::string(list[i].url()), i);
  std::vector<bool> drop(list.size(), false);
  for (const LinkRef& ref : links) {
    // Two rows for one record (the same link twice) still delete it once.
    auto [it, end] = where.equal_range(ref.fullName + '\n' + ref.url);
    while (it != end && drop[it->second]) ++it;
    if (it == end) {
      ++o.missing;
      continue;
    }
    drop[it->second] = true;
    ++o.changed;
  }
  if (o.changed == 0) return o;
  DocumentEdit edit(doc, QStringLiteral("Delete Gone Links"));
  const LinkRecord* first = edit.links().storage().data();
  edit.links().removeIf([&](const LinkRecord& r) { return drop[size_t(&r - first)]; });
  edit.commit();
  return o;
}

}  // namespace vorlix
