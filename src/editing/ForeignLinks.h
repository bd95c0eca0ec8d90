#pragma once
// Links that come from other programs (paste, drop) made into records.
#include <cstdint>
#include <vector>

#include "editing/LinkMime.h"
#include "store/Ansi.h"
#include "store/FitReport.h"
#include "store/LinkRecord.h"

namespace vorlix {

class LinkList;

// A link's title as a description the Add Url dialog would accept: the
// characters descriptions may not hold (: / \ * > < ? " and control
// characters, and those the code page lacks) become a blank; a link
// without a title takes its URL without the scheme.
AnsiString DescriptionForLink(const ForeignLink& link);

// New link records for `links` in `folder`, dated `date`: described as
// DescriptionForLink says, a name already used in the folder (or by an
// earlier link of the same batch) getting " (2)", " (3)", ... Links for
// which the folder path leaves no room are left out. Titles and URLs cut to
// fit are named in `report` when one is given.
std::vector<LinkRecord> RecordsForLinks(const LinkList& list, const AnsiString& folder,
                                        const std::vector<ForeignLink>& links, std::uint32_t date,
                                        FitReport* report = nullptr);

}  // namespace vorlix
