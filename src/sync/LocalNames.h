#pragma once
// How floccus's titles and URLs become record text and back. Record names
// cannot hold '\' (the path separator) or control characters, are cut at the
// field's size, and keep the store's text encoding.
#include <QString>
#include <functional>

#include "store/Ansi.h"
#include "sync/SyncTree.h"

namespace vorlix::sync {

inline constexpr std::string_view kRootPath = "Favorites\\";

// The name an item gets in its record: '\' becomes '/', control characters
// blanks; an empty folder name becomes "(untitled)", an empty link title
// the link's URL.
QString recordName(const SyncItem& item);

// The full names and URLs, as records would hold them, of every item of
// `tree`, by id, in depth-first order.
struct LocalForm {
  int id;
  bool folder;
  AnsiString fullName;
  AnsiString url;
};
// `wanted`, when given, picks the items (folders' paths are made anyway).
std::vector<LocalForm> localForms(const SyncTree& tree,
                                  const std::function<bool(int)>& wanted = nullptr);

}  // namespace vorlix::sync
