#pragma once
// String operations on folder paths ("Favorites\News\Local\") and full names.
// Folder paths end in '\'; a link's full name is its folder path followed by
// the description. '\' is the only separator; names may hold any other
// character. They work on program text (UTF-8, store/Ansi.h), where '\' is
// never part of another character.
//
// The *View variants return a view into their argument (no allocation) for
// the hot loops of the list and tree rebuilds; the plain ones return a copy
// and are safe on temporaries.
#include <string_view>

#include "store/Ansi.h"

namespace vorlix {

// Up to and including the last '\'; empty when there is none.
std::string_view FilePathView(std::string_view s);
// After the last '\'; the whole text when there is none.
std::string_view FileNameView(std::string_view s);
// Before the first '\'; empty when there is none.
std::string_view FirstComponentView(std::string_view s);
// After the second-to-last '\' up to and including the last one (from the
// start when there is only one); empty when there is none.
std::string_view LastComponentSlashView(std::string_view s);
// LastComponentSlash without its final '\'.
std::string_view LastComponentView(std::string_view s);
// Up to and including the second-to-last '\'; empty with fewer than two.
std::string_view ParentPathView(std::string_view s);

inline AnsiString FilePath(std::string_view s) { return AnsiString(FilePathView(s)); }
inline AnsiString FileName(std::string_view s) { return AnsiString(FileNameView(s)); }
inline AnsiString FirstComponent(std::string_view s) { return AnsiString(FirstComponentView(s)); }
inline AnsiString LastComponentSlash(std::string_view s) {
  return AnsiString(LastComponentSlashView(s));
}
inline AnsiString LastComponent(std::string_view s) { return AnsiString(LastComponentView(s)); }
inline AnsiString ParentPath(std::string_view s) { return AnsiString(ParentPathView(s)); }

// FilePathView and FileNameView of one full name in one pass.
struct NameParts {
  std::string_view folder;
  std::string_view name;
};
NameParts SplitFullName(std::string_view s);

// The number of '\' characters: 1 for "Favorites\", 2 for a first-level folder.
int Depth(std::string_view s);

// The root folder's name and path.
inline constexpr std::string_view kRootName = "Favorites";
inline constexpr std::string_view kRootPath = "Favorites\\";

}  // namespace vorlix
