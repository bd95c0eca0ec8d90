#include "components/RecentFileList.h"

#include "platform/FileKind.h"
#include "platform/Registry.h"

namespace vorlix {

RecentFileList::RecentFileList()
    : exists_([](const QString& name) { return isOrdinaryFile(name); }) {}

QChar RecentFileList::numberChar(int position) {
  return QChar(49 + position + (position >= 9 ? 7 : 0));
}

QString RecentFileList::caption(int position, const QString& fileName) {
  return QLatin1Char('&') + numberChar(position) + QLatin1Char(' ') + fileName;
}

bool RecentFileList::addFile(const QString& fileName) {
  if (maxFiles_ <= 0 || fileName.isEmpty() || !exists_(fileName)) return false;
  const qsizetype at = files_.indexOf(fileName);
  if (at >= 0) files_.removeAt(at);
  files_.prepend(fileName);
  // One removal only: a lowered limit takes effect one addition at a time.
  if (files_.size() > maxFiles_) files_.removeLast();
  return true;
}

void RecentFileList::removeAt(int position) {
  if (position >= 0 && position < files_.size()) files_.removeAt(position);
}

QString RecentFileList::historyKey(const QString& key) {
  return key + QStringLiteral("\\FileHistory");
}

bool RecentFileList::save(Registry& registry, const QString& key) const {
  const QString history = historyKey(key);
  // One write: the old values go and the current list takes their place.
  return registry.edit([&](RegistryHive& hive) {
    hive.deleteKey(history);
    hive.createKey(history);
    for (int p = 0; p < files_.size(); ++p)
      hive.setValue(history, RegValue::string(QStringLiteral("File") + numberChar(p), files_[p]));
  });
}

int RecentFileList::load(const Registry& registry, const QString& key) {
  // One read of the file for the whole list.
  const RegistryHive hive = registry.snapshot();
  if (!hive.keyExists(key)) return 0;
  const QString history = historyKey(key);
  if (!hive.keyExists(history)) return 0;
  int added = 0;
  for (int n = maxFiles_; n >= 1; --n) {
    const RegValue* v = hive.value(history, QStringLiteral("File") + numberChar(n - 1));
    // A value of another type is as good as missing: the list shows no messages.
    if (!v || v->type != RegType::String || v->text.isEmpty()) continue;
    if (addFile(v->text)) ++added;
  }
  return added;
}

bool RecentFileList::clearStored(Registry& registry, const QString& key) {
  const QString history = historyKey(key);
  if (!registry.keyExists(history)) return true;
  return registry.edit([&](RegistryHive& hive) {
    hive.deleteKey(history);
    hive.createKey(history);
  });
}

}  // namespace vorlix
