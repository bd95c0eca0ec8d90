#include "settings/SettingsValues.h"

#include "platform/Registry.h"

namespace vorlix {
namespace {

// One value of the Settings key: "" when it is absent or read, else the error.
class SettingsReader {
 public:
  explicit SettingsReader(const RegistryHive& hive) : hive_(hive) {}

  bool failed() const { return !error.isEmpty(); }

  void readBool(const QString& name, bool& into) {
    qint32 n = 0;
    if (readInteger(name, n)) into = n != 0;
  }
  void readIndex(const QString& name, int& into) {
    qint32 n = 0;
    if (readInteger(name, n)) into = n;
  }
  void readWholeNumberText(const QString& name, int& into) {
    if (failed()) return;
    const RegValue* v = hive_.value(kSettingsKey, name);
    if (!v) return;
    if (v->type != RegType::String) {
      error = QStringLiteral("Invalid data type for '%1'").arg(name);
      return;
    }
    bool ok = false;
    const int n = v->text.toInt(&ok, 10);
    if (!ok) {
      error = QStringLiteral("'%1' is not a valid integer value").arg(v->text);
      return;
    }
    into = n;
  }

  QString error;

 private:
  bool readInteger(const QString& name, qint32& into) {
    if (failed()) return false;
    const RegValue* v = hive_.value(kSettingsKey, name);
    if (!v) return false;
    if (v->type != RegType::Integer) {
      error = QStringLiteral("Invalid data type for '%1'").arg(name);
      return false;
    }
    into = v->number;
    return true;
  }

  const RegistryHive& hive_;
};

}  // namespace

SettingsLoad loadSettingsValues(const Registry& registry, SettingsValues& values) {
  SettingsLoad result;
  const RegistryHive hive = registry.snapshot();
  if (!hive.keyExists(kProductKey)) return result;
  result.productKeyFound = true;
  SettingsReader r(hive);
  r.readWholeNumberText(setting::MaxFiles, values.maxFiles);
  r.readBool(setting::DeleteEntryOnClick, values.deleteEntryOnClick);
  r.readBool(setting::SaveEntryList, values.saveEntryList);
  r.readBool(setting::OnlyOne, values.onlyOne);
  r.readBool(setting::IconTray, values.iconTray);
  r.readBool(setting::MainStatus, values.mainStatus);
  r.readBool(setting::ToolBar, values.toolBar);
  r.readBool(setting::ShowPreview, values.showPreview);
  r.readIndex(setting::Icons, values.icons);
  r.readIndex(setting::Style, values.style);
  result.error = r.error;
  return result;
}

bool saveSettingsValues(Registry& registry, const SettingsValues& values) {
  return registry.edit([&](RegistryHive& hive) {
    const auto dword = [&](const QString& name, qint32 n) {
      hive.setValue(kSettingsKey, RegValue::integer(name, n));
    };
    hive.setValue(kSettingsKey,
                  RegValue::string(setting::MaxFiles, QString::number(values.maxFiles)));
    dword(setting::DeleteEntryOnClick, values.deleteEntryOnClick);
    dword(setting::SaveEntryList, values.saveEntryList);
    dword(setting::OnlyOne, values.onlyOne);
    dword(setting::IconTray, values.iconTray);
    dword(setting::MainStatus, values.mainStatus);
    dword(setting::ToolBar, values.toolBar);
    dword(setting::ShowPreview, values.showPreview);
    dword(setting::Icons, values.icons);
    dword(setting::Style, values.style);
  });
}

}  // namespace vorlix
