#pragma once
// The in-memory form of registry.reg: keys in file order, each with typed
// values, read from and written to the registry editor's export text.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace vorlix {

enum class RegType {
  String,   // REG_SZ
  Integer,  // REG_DWORD
  Other     // any other type found in the file; kept as written
};

struct RegValue {
  QString name;  // spelled as first written; "" is the key's default value
  RegType type = RegType::String;
  QString text;  // String: the text; Other: the data exactly as in the file
  qint32 number = 0;

  static RegValue string(const QString& name, const QString& text);
  static RegValue integer(const QString& name, qint32 number);
  // Same name spelling, type and data.
  bool operator==(const RegValue& o) const;
};

// Key paths are below HKEY_CURRENT_USER, such as "\SOFTWARE\Vorlix\Settings";
// leading, trailing and doubled backslashes do not matter and letter case is
// ignored, as in Windows.
class RegistryHive {
 public:
  static RegistryHive parse(const QByteArray& bytes);
  QByteArray serialize() const;
  // The same keys in the same order, spelt alike, with equal values.
  bool operator==(const RegistryHive& o) const;

  bool keyExists(const QString& key) const;
  void createKey(const QString& key);  // with every missing parent
  bool deleteKey(const QString& key);  // with its values and every subkey
  QStringList subKeyNames(const QString& key) const;

  const RegValue* value(const QString& key, const QString& name) const;
  QStringList valueNames(const QString& key) const;
  void setValue(const QString& key, const RegValue& v);  // creates the key
  bool deleteValue(const QString& key, const QString& name);

  // The full section name for a key, "HKEY_CURRENT_USER\SOFTWARE\...".
  static QString sectionName(const QString& key);

 private:
  struct Key {
    QString path;  // full section name
    std::vector<RegValue> values;
  };
  Key* find(const QString& section);
  const Key* find(const QString& section) const;

  std::vector<Key> keys_;
};

}  // namespace vorlix
