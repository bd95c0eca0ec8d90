#pragma once
// Links of one canonical URL, wherever they are filed, and the merge that
// keeps one copy of each and drops the others as one undo step.
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

namespace vorlix {

class LinkDocument;
class LinkList;

struct DuplicateGroup {
  std::string key;                     // the canonical URL
  std::vector<std::uint32_t> members;  // record indices, oldest first
};

// Every canonical URL that two or more links share. Groups come in the
// order of their first record in the list; inside a group, records with a
// valid date oldest first, then those without one, each in list order.
std::vector<DuplicateGroup> findDuplicates(const LinkList& list);

// Drops every member of each group but the one in `keep` (a member of the
// same group; the oldest by default), as one undo step named `stepName`.
// Nothing else is touched. Returns how many links went, or -1 with no
// change when the groups no longer describe the list (it changed since
// they were found).
long mergeDuplicates(LinkDocument& doc, const std::vector<DuplicateGroup>& groups,
                     const std::vector<std::uint32_t>& keep, const QString& stepName);

}  // namespace vorlix
