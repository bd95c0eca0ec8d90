#include "settings/Settings.h"

#include "platform/Registry.h"

namespace vorlix {

bool Settings::productKeyExists() const { return registry_.keyExists(kProductKey); }

bool Settings::onlyOneAtStart() { return readOnlyOneAtStart(registry_); }

QString Settings::lastOpenFile() const {
  if (!productKeyExists()) return {};
  const auto last = registry_.readString(kSettingsKey, QStringLiteral("LastOpenFile"));
  return last ? *last : QString();
}

void Settings::setLastOpenFile(const QString& path) {
  if (!productKeyExists()) return;
  registry_.writeString(kSettingsKey, QStringLiteral("LastOpenFile"), path);
}

}  // namespace vorlix
