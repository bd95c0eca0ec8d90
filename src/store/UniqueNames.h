#pragma once
// Names handed out to new records so that no two records of one folder
// share a name: a taken name gets " (2)", " (3)", ... Links and folders
// share one set of names per folder; letter case (a to z) is ignored, as the
// list shows such names as one.
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "store/Ansi.h"

namespace vorlix {

class UniqueNames {
 public:
  // Marks the name of an existing record as taken (a folder's trailing '\'
  // is ignored).
  void reserve(std::string_view fullName);

  // The full name for a new record called `name` in `folderPath`: the name
  // itself or, when taken, with the first free " (n)". The name is cut so
  // that the full name (with a folder's trailing '\') fits the record's 255
  // bytes as stored (or `limit`), cut between characters, the number included. Empty when the
  // folder path leaves no room for a name at all. `cut` (when given) is set when the name had to be
  // cut. The result counts as taken from then on.
  AnsiString claim(std::string_view folderPath, std::string_view name, bool folder,
                   bool* cut = nullptr, size_t limit = 255);

 private:
  // Marks a name taken; false when it already was.
  bool take(std::uint64_t key);

  // The taken names as 64-bit hashes of their upper-cased text, in a flat
  // table: an import of 100k links makes no allocation per name. Two
  // different names of one hash (odds of about 1 in 10^9 for a million
  // names) would only number one of them needlessly.
  std::vector<std::uint64_t> taken_;
  size_t used_ = 0;
  std::unordered_map<std::uint64_t, int> nextNumber_;  // per wanted name: where to go on
};

}  // namespace vorlix
