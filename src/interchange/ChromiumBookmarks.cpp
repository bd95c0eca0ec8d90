#include "interchange/ChromiumBookmarks.h"
#include "interchange/SourceFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>


namespace vorlix {
namespace {

// Seconds from 1601-01-01 to 1970-01-01.
constexpr qint64 kEpochFrom1601 = 11644473600LL;
// A bookmark file of a browser is a few megabytes; this is far past any.
constexpr qint64 kMaxFileBytes = qint64(1) << 30;

std::optional<qint64> chromiumDate(const QJsonValue& v) {
  bool ok = false;
  const qint64 micros = v.toString().toLongLong(&ok);
  if (!ok || micros <= 0) return std::nullopt;
  const qint64 secs = micros / 1000000 - kEpochFrom1601;
  return secs > 0 ? std::optional<qint64>(secs) : std::nullopt;
}

class Reader {
 public:
  explicit Reader(ImportedBookmarks& out) : out_(out) {}

  void children(const QJsonObject& node, ImportedFolder* into, int depth) {
    const QJsonArray list = node.value(QLatin1String("children")).toArray();
    for (const QJsonValue& v : list) {
      const QJsonObject child = v.toObject();
      const QString type = child.value(QLatin1String("type")).toString();
      if (type == QLatin1String("url")) {
        if (out_.keep() && into)
          into->addLink({child.value(QLatin1String("name")).toString(),
                         child.value(QLatin1String("url")).toString(),
                         chromiumDate(child.value(QLatin1String("date_added"))), QString()});
      } else if (type == QLatin1String("folder")) {
        ImportedFolder* f = nullptr;
        if (out_.keep() && into)
          f = &into->addFolder(child.value(QLatin1String("name")).toString(),
                               chromiumDate(child.value(QLatin1String("date_added"))));
        // The JSON parser itself stops at a nesting depth far below this.
        if (depth < 1000) children(child, f, depth + 1);
      }
    }
  }

 private:
  ImportedBookmarks& out_;
};

}  // namespace

bool ParseChromiumBookmarks(const QByteArray& json, const QString& fileName, ImportedBookmarks& out,
                            QString* error) {
  QJsonParseError parseError;
  const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
  const QJsonObject roots = doc.object().value(QLatin1String("roots")).toObject();
  if (parseError.error != QJsonParseError::NoError || roots.isEmpty()) {
    if (error) *error = quoted(fileName) + QStringLiteral(" is not a Chromium bookmark file.");
    return false;
  }
  struct Root {
    const char* key;
    const char* name;  // when the file names none
  };
  static const Root kRoots[] = {{"bookmark_bar", "Bookmarks bar"},
                                {"other", "Other bookmarks"},
                                {"synced", "Mobile bookmarks"}};
  Reader reader(out);
  for (const Root& r : kRoots) {
    const QJsonObject node = roots.value(QLatin1String(r.key)).toObject();
    if (node.isEmpty()) continue;
    const bool isSynced = std::string_view(r.key) == "synced";
    if (isSynced && node.value(QLatin1String("children")).toArray().isEmpty()) continue;
    QString name = node.value(QLatin1String("name")).toString();
    if (name.isEmpty()) name = QLatin1String(r.name);
    ImportedFolder* f = nullptr;
    if (out.keep())
      f = &out.root.addFolder(name, chromiumDate(node.value(QLatin1String("date_added"))));
    reader.children(node, f, 0);
  }
  return true;
}

bool ReadChromiumBookmarks(const QString& path, ImportedBookmarks& out, QString* error) {
  QByteArray bytes;
  if (!ReadSourceFile(path, kMaxFileBytes, bytes, error)) return false;
  return ParseChromiumBookmarks(bytes, path, out, error);
}

}  // namespace vorlix
