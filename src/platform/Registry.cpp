#include "platform/Registry.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#include "platform/AtomicFile.h"
#include "platform/ConfigFile.h"
#include "platform/FileLock.h"

namespace vorlix {
namespace {

// How long a change waits for another copy of the program to finish its own.
constexpr int kLockWaitMs = 5000;
// Far more than any number of settings and recent files ever takes.
constexpr qint64 kMaxRegistryBytes = 16 << 20;

}  // namespace

Registry::Registry() : path_(defaultPath()) {}

Registry::Registry(QString filePath) : path_(std::move(filePath)) {}

QString Registry::defaultPath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/Vorlix/registry.reg");
}

RegistryHive Registry::snapshot() const {
  QByteArray bytes;
  QString error;
  if (!readConfigFile(path_, bytes, kMaxRegistryBytes, nullptr, &error)) lastError_ = error;
  return RegistryHive::parse(bytes);
}

bool Registry::keyExists(const QString& key) const { return snapshot().keyExists(key); }

bool Registry::valueExists(const QString& key, const QString& name) const {
  return snapshot().value(key, name) != nullptr;
}

QStringList Registry::valueNames(const QString& key) const { return snapshot().valueNames(key); }

QStringList Registry::subKeyNames(const QString& key) const { return snapshot().subKeyNames(key); }

RegRead<QString> Registry::readString(const QString& key, const QString& name) const {
  const RegistryHive hive = snapshot();
  const RegValue* v = hive.value(key, name);
  if (!v) return {std::nullopt, QStringLiteral("Failed to get data for '%1'").arg(name)};
  if (v->type != RegType::String)
    return {std::nullopt, QStringLiteral("Invalid data type for '%1'").arg(name)};
  return {v->text, {}};
}

RegRead<qint32> Registry::readInteger(const QString& key, const QString& name) const {
  const RegistryHive hive = snapshot();
  const RegValue* v = hive.value(key, name);
  if (!v) return {std::nullopt, QStringLiteral("Failed to get data for '%1'").arg(name)};
  if (v->type != RegType::Integer)
    return {std::nullopt, QStringLiteral("Invalid data type for '%1'").arg(name)};
  return {v->number, {}};
}

bool Registry::edit(const std::function<void(RegistryHive&)>& change) {
  // The lock keeps two copies from interleaving their read and write; the
  // rename alone would let the later writer drop the earlier one's change.
  QDir().mkpath(QFileInfo(path_).absolutePath());
  QLockFile lock(path_ + QStringLiteral(".lock"));
  if (!takeFileLock(lock, kLockWaitMs)) {
    lastError_ = QStringLiteral("The registry file %1 is locked").arg(path_);
    return false;
  }
  QByteArray bytes;
  QString error;
  // An existing file we cannot read must not be replaced by an empty hive.
  if (!readConfigFile(path_, bytes, kMaxRegistryBytes, nullptr, &error)) {
    lastError_ = error;
    return false;
  }
  RegistryHive hive = RegistryHive::parse(bytes);
  change(hive);
  const QByteArray out = hive.serialize();
  // A change that would not read back as made is not made: a text the file
  // format cannot hold must not be reported as written.
  if (!(RegistryHive::parse(out) == hive)) {
    lastError_ = QStringLiteral("The registry file %1 cannot hold this change").arg(path_);
    return false;
  }
  if (out == bytes) return true;  // nothing changed: spare the disk a sync
  if (!writeFileAtomically(path_, out, &error)) {
    lastError_ = error;
    return false;
  }
  return true;
}

bool Registry::createKey(const QString& key) {
  return edit([&](RegistryHive& h) { h.createKey(key); });
}

bool Registry::deleteKey(const QString& key) {
  bool existed = false;
  return edit([&](RegistryHive& h) { existed = h.deleteKey(key); }) && existed;
}

bool Registry::writeString(const QString& key, const QString& name, const QString& text) {
  return edit([&](RegistryHive& h) { h.setValue(key, RegValue::string(name, text)); });
}

bool Registry::writeInteger(const QString& key, const QString& name, qint32 number) {
  return edit([&](RegistryHive& h) { h.setValue(key, RegValue::integer(name, number)); });
}

bool Registry::deleteValue(const QString& key, const QString& name) {
  bool existed = false;
  return edit([&](RegistryHive& h) { existed = h.deleteValue(key, name); }) && existed;
}

bool readOnlyOneAtStart(Registry& registry) {
  if (!registry.keyExists(kSettingsKey)) registry.createKey(kSettingsKey);
  // Absent or unreadable, one copy: what the Options dialog shows ticked.
  const RegRead<qint32> v = registry.readInteger(kSettingsKey, QStringLiteral("OnlyOne"));
  return v ? *v != 0 : true;
}

}  // namespace vorlix
