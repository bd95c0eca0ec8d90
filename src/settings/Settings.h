#pragma once
// The program's settings over the registry layer: one object, made at
// start and handed to whatever reads or writes a setting.
#include <QString>

#include "settings/SettingsValues.h"

namespace vorlix {

class Registry;

class Settings {
 public:
  explicit Settings(Registry& registry) : registry_(registry) {}

  Registry& registry() { return registry_; }
  // Settings are read and written only while the product key exists.
  bool productKeyExists() const;
  // "OnlyOne" as process start reads it (creating the keys on a first run).
  bool onlyOneAtStart();
  // "LastOpenFile": the database opened at start; empty when none.
  QString lastOpenFile() const;
  void setLastOpenFile(const QString& path);
  // The ten preferences of the Options dialog (see SettingsValues.h).
  SettingsLoad loadPreferences(SettingsValues& values) const {
    return loadSettingsValues(registry_, values);
  }
  bool savePreferences(const SettingsValues& values) {
    return saveSettingsValues(registry_, values);
  }

 private:
  Registry& registry_;
};

}  // namespace vorlix
