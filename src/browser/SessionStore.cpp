#include "browser/SessionStore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cmath>

#include "browser/MozLz4.h"
#include "platform/ConfigFile.h"

namespace vorlix {

namespace {

// A 1-based index as stored; 0 when missing or not a whole number.
qsizetype storedIndex(const QJsonValue& v) {
  if (!v.isDouble()) return 0;
  const double d = v.toDouble();
  if (!std::isfinite(d) || d < 1 || d > 1e9 || d != std::floor(d)) return 0;
  return qsizetype(d);
}

// `index` (1-based, 0 = `missing`) held to 1..count; -1 when count is 0.
qsizetype position(qsizetype index, qsizetype count, qsizetype missing) {
  if (count <= 0) return -1;
  if (index == 0) index = missing;
  return std::clamp<qsizetype>(index, 1, count) - 1;
}

std::optional<SessionPage> currentEntry(const QJsonValue& tabValue) {
  const QJsonObject tab = tabValue.toObject();
  const QJsonArray entries = tab.value(QLatin1String("entries")).toArray();
  const qsizetype i =
      position(storedIndex(tab.value(QLatin1String("index"))), entries.size(), entries.size());
  if (i < 0 || !entries.at(i).isObject()) return {};
  const QJsonObject e = entries.at(i).toObject();
  return SessionPage{e.value(QLatin1String("url")).toString(),
                     e.value(QLatin1String("title")).toString()};
}

QJsonArray tabsOf(const QJsonValue& window) {
  return window.toObject().value(QLatin1String("tabs")).toArray();
}

std::optional<SessionPage> tabTitled(const QJsonArray& tabs, const QString& title) {
  for (const QJsonValue& t : tabs)
    if (auto page = currentEntry(t); page && page->title == title) return page;
  return {};
}

qsizetype selectedWindow(const QJsonObject& store, const QJsonArray& windows) {
  const qsizetype stored = storedIndex(store.value(QLatin1String("selectedWindow")));
  if (stored >= 1 && stored <= windows.size()) return stored - 1;
  // Firefox records none while its active window is minimised.
  for (qsizetype i = 0; i < windows.size(); ++i)
    if (windows.at(i).toObject().value(QLatin1String("sizemode")).toString() !=
        QLatin1String("minimized"))
      return i;
  return windows.isEmpty() ? -1 : 0;
}

}  // namespace

std::optional<SessionPage> SessionStorePage(const QByteArray& json, const QString& activeTitle) {
  const QJsonDocument doc = QJsonDocument::fromJson(json);
  if (!doc.isObject()) return {};
  const QJsonObject store = doc.object();
  const QJsonArray windows = store.value(QLatin1String("windows")).toArray();
  const qsizetype w = selectedWindow(store, windows);
  if (w < 0) return {};
  const QJsonArray tabs = tabsOf(windows.at(w));
  if (!activeTitle.isEmpty()) {
    if (auto page = tabTitled(tabs, activeTitle)) return page;
    for (const QJsonValue& other : windows)
      if (auto page = tabTitled(tabsOf(other), activeTitle)) return page;
  }
  const QJsonObject window = windows.at(w).toObject();
  const qsizetype t =
      position(storedIndex(window.value(QLatin1String("selected"))), tabs.size(), 1);
  if (t < 0) return {};
  return currentEntry(tabs.at(t));
}

std::optional<SessionPage> ReadSessionStore(const QString& file, const QString& activeTitle) {
  // Never blocks: a FIFO in its place would hold the capture's thread.
  QByteArray raw;
  if (!readConfigFile(file, raw, kMaxSessionFileBytes) || raw.isEmpty()) return {};
  const auto json = DecodeMozLz4(raw, kMaxSessionJsonBytes);
  if (!json) return {};
  return SessionStorePage(*json, activeTitle);
}

}  // namespace vorlix
