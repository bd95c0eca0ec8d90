#pragma once
// The per-user registry (HKEY_CURRENT_USER) of this program, kept in the text
// file $XDG_CONFIG_HOME/Vorlix/registry.reg in the registry editor's export
// format. Every call reads the file afresh, and every change is applied to
// what the file holds at that moment, so several running copies never undo
// each other's values.
#include <QLatin1String>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "platform/RegistryHive.h"

namespace vorlix {

inline constexpr QLatin1String kProductKey("\\SOFTWARE\\Vorlix");
inline constexpr QLatin1String kSettingsKey("\\SOFTWARE\\Vorlix\\Settings");

// A typed read: the value, or the error text the caller shows.
template <typename T>
struct RegRead {
  std::optional<T> value;
  QString error;
  explicit operator bool() const { return value.has_value(); }
  const T& operator*() const { return *value; }
};

class Registry {
 public:
  Registry();  // the per-user file
  explicit Registry(QString filePath);
  static QString defaultPath();
  const QString& path() const { return path_; }

  bool keyExists(const QString& key) const;
  bool valueExists(const QString& key, const QString& name) const;
  QStringList valueNames(const QString& key) const;
  QStringList subKeyNames(const QString& key) const;

  // A missing value fails with "Failed to get data for '%s'", a value of
  // another type with "Invalid data type for '%s'".
  RegRead<QString> readString(const QString& key, const QString& name) const;
  RegRead<qint32> readInteger(const QString& key, const QString& name) const;

  // Changes return false, with lastError() set, when the file cannot be
  // read or written, or when what it would hold does not read back as the
  // change made; the file is then left as it was. Writing a value
  // creates its key when missing.
  bool createKey(const QString& key);
  bool deleteKey(const QString& key);  // false also when there was no such key
  bool writeString(const QString& key, const QString& name, const QString& text);
  bool writeInteger(const QString& key, const QString& name, qint32 number);
  bool deleteValue(const QString& key, const QString& name);

  // Several changes in one write. `change` sees the file's current content.
  bool edit(const std::function<void(RegistryHive&)>& change);
  // The file's current content (an empty hive when it is missing).
  RegistryHive snapshot() const;

  QString lastError() const { return lastError_; }

 private:
  QString path_;
  mutable QString lastError_;
};

// "OnlyOne" as read at process start: creates the Settings key when it is
// missing, so the product key exists from then on; true (one copy) when the
// value is absent or not an integer.
bool readOnlyOneAtStart(Registry& registry);

}  // namespace vorlix
