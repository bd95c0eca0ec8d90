#include "sync/LocalNames.h"

#include "store/LinkRecord.h"

namespace vorlix::sync {
namespace {

AnsiString cut(AnsiString s) {
  if (s.size() > size_t(kMaxText)) s.resize(size_t(kMaxText));
  return s;
}

void collect(const SyncTree& tree, const SyncItem& folder, const AnsiString& path,
             const std::function<bool(int)>& wanted, std::vector<LocalForm>& out) {
  for (const int id : folder.children) {
    const SyncItem* item = tree.find(id);
    if (!item) continue;
    if (item->folder) {
      // Every folder's path is made, for the items below it.
      const AnsiString full = path + toAnsi(recordName(*item)) + '\\';
      if (!wanted || wanted(id)) out.push_back({id, true, cut(full), {}});
      collect(tree, *item, full, wanted, out);
    } else if (!wanted || wanted(id)) {
      out.push_back({id, false, cut(path + toAnsi(recordName(*item))), cut(toAnsi(item->url))});
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

std::vector<LocalForm> localForms(const SyncTree& tree, const std::function<bool(int)>& wanted) {
  std::vector<LocalForm> out;
  if (!wanted) out.reserve(tree.items().size());
  collect(tree, tree.root(), AnsiString(kRootPath), wanted, out);
  return out;
}

AnsiString linkKey(std::string_view fullName, std::string_view url) {
  AnsiString key(fullName);
  key += '\x01';
  key += url;
  return key;
}

}  // namespace vorlix::sync
