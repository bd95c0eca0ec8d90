#include "browser/BrowserKind.h"

namespace vorlix {

namespace {

bool containsAny(const QString& upper, std::initializer_list<const char*> names) {
  for (const char* name : names)
    if (upper.contains(QLatin1String(name))) return true;
  return false;
}

}  // namespace

BrowserFamily BrowserFamilyOf(const QString& command) {
  const QString upper = command.toUpper();
  if (containsAny(upper,
                  {"FIREFOX", "LIBREWOLF", "WATERFOX", "ICEWEASEL", "SEAMONKEY", "NETSCAPE"}))
    return BrowserFamily::Mozilla;
  if (containsAny(upper,
                  {"CHROMIUM", "CHROME", "BRAVE", "VIVALDI", "MSEDGE", "MICROSOFT-EDGE", "OPERA"}))
    return BrowserFamily::Chromium;
  return BrowserFamily::None;
}

}  // namespace vorlix
