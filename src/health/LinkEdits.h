#pragma once
// The edits the health windows make, each one undo step: a moved link takes
// its new URL, gone links are deleted. Links are named by full name and URL
// as they were when checked, so a link edited meanwhile is left alone.
#include <QString>
#include <utility>
#include <vector>

#include "store/Ansi.h"

namespace vorlix {

class LinkDocument;
class LinkList;

struct LinkRef {
  AnsiString fullName;
  AnsiString url;
};

// Every link ("Url" record) in `folder` ("Favorites\News\") and below.
std::vector<LinkRef> linksBelow(const LinkList& list, std::string_view folder);
// The first link with exactly that full name and URL, or -1.
long findLink(const LinkList& list, const LinkRef& ref);

// The Internet Archive's list of copies of `url`.
QString waybackUrl(const QString& url);

struct EditOutcome {
  int changed = 0;
  int missing = 0;  // links no longer there as they were
  int tooLong = 0;  // new URLs longer than a record holds
};

// Gives each moved link its new URL, as one step.
EditOutcome acceptNewUrls(LinkDocument& doc, const std::vector<std::pair<LinkRef, QString>>& moves);
// Deletes the links, as one step.
EditOutcome deleteLinks(LinkDocument& doc, const std::vector<LinkRef>& links);

}  // namespace vorlix
