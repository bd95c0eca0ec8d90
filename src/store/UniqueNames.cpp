#include "store/UniqueNames.h"

#include <algorithm>

#include "store/LinkRecord.h"

namespace vorlix {

void UniqueNames::reserve(std::string_view fullName) {
  if (!fullName.empty() && fullName.back() == '\\') fullName.remove_suffix(1);
  taken_.insert(upperAscii(fullName));
}

AnsiString UniqueNames::claim(std::string_view folderPath, std::string_view name, bool folder,
                              bool* cut, size_t limit) {
  const size_t room = std::min(limit, size_t(kMaxText)) - (folder ? 1 : 0);
  if (folderPath.size() >= room) return {};
  const size_t nameRoom = room - folderPath.size();
  if (name.size() > nameRoom) {
    name = name.substr(0, nameRoom);
    if (cut) *cut = true;
  }
  AnsiString full = AnsiString(folderPath) + AnsiString(name);
  AnsiString key = upperAscii(full);
  if (taken_.insert(key).second) return folder ? full + '\\' : full;

  // Go on from the last number given for this name, so that many equal
  // names cost no more than distinct ones.
  int& next = nextNumber_.try_emplace(key, 2).first->second;
  for (;; ++next) {
    const AnsiString suffix = " (" + std::to_string(next) + ")";
    if (suffix.size() >= nameRoom) return {};
    std::string_view base = name;
    if (base.size() + suffix.size() > nameRoom) {
      base = base.substr(0, nameRoom - suffix.size());
      if (cut) *cut = true;
    }
    full = AnsiString(folderPath) + AnsiString(base) + suffix;
    if (taken_.insert(upperAscii(full)).second) {
      ++next;
      return folder ? full + '\\' : full;
    }
  }
}

}  // namespace vorlix
