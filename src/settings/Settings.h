#pragma once
// The program's settings over the registry layer: one object, made at
// start and handed to whatever reads or writes a setting.
#include <QString>

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

 private:
  Registry& registry_;
};

}  // namespace vorlix
