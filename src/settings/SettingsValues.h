#pragma once
// The ten preferences under the product key's Settings subkey: names, types,
// defaults, and how they are read and written. Booleans are REG_DWORD 0/1
// (any non-zero reads as true); "MaxFiles" alone is text.
#include <QString>

namespace vorlix {

class Registry;

namespace setting {
inline const QString MaxFiles = QStringLiteral("MaxFiles");
inline const QString DeleteEntryOnClick = QStringLiteral("DeleteEntryOnClick");
inline const QString SaveEntryList = QStringLiteral("SaveEntryList");
inline const QString OnlyOne = QStringLiteral("OnlyOne");
inline const QString IconTray = QStringLiteral("IconTray");
inline const QString MainStatus = QStringLiteral("MainStatus");
inline const QString ToolBar = QStringLiteral("ToolBar");
inline const QString ShowPreview = QStringLiteral("Show preview panel");
inline const QString Icons = QStringLiteral("Icons");
inline const QString Style = QStringLiteral("Style");
}  // namespace setting

struct SettingsValues {
  static constexpr int kMinFiles = 1;
  static constexpr int kMaxFiles = 35;

  int maxFiles = 10;
  bool deleteEntryOnClick = false;
  bool saveEntryList = true;
  bool onlyOne = true;  // process start reads the same default
  bool iconTray = true;
  bool mainStatus = true;
  bool toolBar = true;
  bool showPreview = true;
  int icons = 2;  // 0 large icons, 1 list, 2 report
  int style = 1;  // 0 classic style, 1 explorer style

  bool operator==(const SettingsValues&) const = default;
};

struct SettingsLoad {
  bool productKeyFound = false;
  // The first value that could not be read ends the load; its message.
  QString error;
  bool ok() const { return productKeyFound && error.isEmpty(); }
};

// Reads the stored values into `values`, in table order. Missing values keep
// what `values` holds. Nothing is read when the product key is missing; a
// wrongly typed value or a "MaxFiles" that is not a whole number stops the
// read there, with the values read before it already in `values`.
// "MaxFiles" is taken as stored: the dialog's control bounds it.
SettingsLoad loadSettingsValues(const Registry& registry, SettingsValues& values);

// Writes the ten values in table order, creating the Settings key. Other
// values under the product key (FileHistory, "LastOpenFile") stay as they are.
bool saveSettingsValues(Registry& registry, const SettingsValues& values);

}  // namespace vorlix
