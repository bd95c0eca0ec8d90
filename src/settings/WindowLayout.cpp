#include "settings/WindowLayout.h"

#include <QStringList>

#include "platform/Registry.h"

namespace vorlix {
namespace {

const QString kGeometry = QStringLiteral("WindowGeometry");
const QString kSplitter = QStringLiteral("WindowSplitter");
const QString kPreviewHeight = QStringLiteral("PreviewHeight");
const QString kColumnWidths = QStringLiteral("ColumnWidths");

QByteArray base64Value(const RegistryHive& hive, const QString& name) {
  const RegValue* v = hive.value(kSettingsKey, name);
  if (!v || v->type != RegType::String) return {};
  return QByteArray::fromBase64(v->text.toLatin1());
}

}  // namespace

WindowLayout loadWindowLayout(const Registry& registry) {
  const RegistryHive hive = registry.snapshot();
  WindowLayout layout;
  layout.geometry = base64Value(hive, kGeometry);
  layout.splitter = base64Value(hive, kSplitter);
  if (const RegValue* v = hive.value(kSettingsKey, kPreviewHeight);
      v && v->type == RegType::Integer && v->number > 0)
    layout.previewHeight = v->number;
  if (const RegValue* v = hive.value(kSettingsKey, kColumnWidths);
      v && v->type == RegType::String) {
    for (const QString& part : v->text.split(QLatin1Char(','))) {
      bool ok = false;
      const int width = part.toInt(&ok);
      if (!ok || width < 0) {
        layout.columnWidths.clear();  // all or nothing
        break;
      }
      layout.columnWidths << width;
    }
  }
  return layout;
}

bool saveWindowLayout(Registry& registry, const WindowLayout& layout) {
  return registry.edit([&](RegistryHive& hive) {
    const auto text = [&](const QString& name, const QString& value) {
      if (!value.isEmpty()) hive.setValue(kSettingsKey, RegValue::string(name, value));
    };
    text(kGeometry, QString::fromLatin1(layout.geometry.toBase64()));
    text(kSplitter, QString::fromLatin1(layout.splitter.toBase64()));
    if (layout.previewHeight > 0)
      hive.setValue(kSettingsKey, RegValue::integer(kPreviewHeight, layout.previewHeight));
    QStringList widths;
    for (int w : layout.columnWidths) widths << QString::number(w);
    text(kColumnWidths, widths.join(QLatin1Char(',')));
  });
}

}  // namespace vorlix
