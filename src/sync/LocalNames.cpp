#include "sync/LocalNames.h"

#include "store/LinkRecord.h"

namespace vorlix::sync {
namespace {

AnsiString cut(AnsiString s) {
  if (s.size() > size_t(kMaxText)) s.resize(size_t(kMaxText));
  return s;
}

void collect(const SyncTree& tree, const SyncItem& folder, const AnsiString& path,
             std::vector<LocalForm>& out) {
  for (const int id : folder.children) {
    const SyncItem* item = tree.find(id);
    if (!item) continue;
    const AnsiString name = path + toAnsi(recordName(*item));
    if (item->folder) {
      const AnsiString full = name + '\\';
      out.push_back({id, true, cut(full), {}});
      collect(tree, *item, full, out);
    } else {
      out.push_back({id, false, cut(name), cut(toAnsi(item->url))});
    }
  }
}

}  // namespace

QString recordName(const SyncItem& item) {
  QString name = item.title;
  for (QChar& c : name) {
    if (c == QLatin1Char('\\'))
      c = QLatin1Char('/');
    else if (c.unicode() < 0x20 || c.unicode() == 0x7F)
      c = QLatin1Char(' ');
  }
  if (name.trimmed().isEmpty()) {
    if (item.folder) return QStringLiteral("(untitled)");
    SyncItem byUrl = item;
    byUrl.title = item.url;
    byUrl.folder = true;  // an empty URL too gets "(untitled)"
    return recordName(byUrl);
  }
  return name;
}

std::vector<LocalForm> localForms(const SyncTree& tree) {
  std::vector<LocalForm> out;
  out.reserve(tree.items().size());
  collect(tree, tree.root(), AnsiString(kRootPath), out);
  return out;
}

AnsiString linkKey(std::string_view fullName, std::string_view url) {
  AnsiString key(fullName);
  key += '\x01';
  key += url;
  return key;
}

}  // namespace vorlix::sync
