// registry.reg text: parsing must end on any bytes, and what a parse yields
// must come back unchanged from writing it out and parsing that again, or
// a later write of one value could damage or lose another.
#include <QCoreApplication>
#include <cstdint>
#include <cstdlib>

#include "platform/RegistryHive.h"

using namespace vorlix;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  static QCoreApplication app(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  RegistryHive hive = RegistryHive::parse(bytes);
  if (!(RegistryHive::parse(hive.serialize()) == hive)) std::abort();
  // A value written into the first key reads back, and so does the rest.
  const QString key = QStringLiteral("\\SOFTWARE\\Vorlix\\Settings");
  hive.setValue(key, RegValue::integer(QStringLiteral("OnlyOne"), 1));
  const RegistryHive again = RegistryHive::parse(hive.serialize());
  if (!(again == hive)) std::abort();
  const RegValue* v = again.value(key, QStringLiteral("onlyone"));
  if (!v || v->type != RegType::Integer || v->number != 1) std::abort();
  return 0;
}
