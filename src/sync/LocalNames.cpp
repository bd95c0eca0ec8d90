#include "sync/LocalNames.h"

#include "store/LinkRecord.h"

namespace vorlix::sync {
namespace {

AnsiString cut(AnsiString s) {
  if (s.size() > size_t(kMaxText)) s.resize(size_t(kMaxText));
  return s;
}

// `head` followed by the text as toAnsi() makes it; ASCII, by far the most
// common, goes without the round trip through a QByteArray.
AnsiString joined(const AnsiString& head, const QString& text) {
  AnsiString out;
  out.reserve(head.size() + size_t(text.size()) + 1);
  out += head;
  for (const QChar c : text) {
    if (c.unicode() >= 0x80) return head + toAnsi(text);
    out += char(c.unicode());
  }
  return out;
}

void collect(const SyncTree& tree, const SyncItem& folder, const AnsiString& path,
             const std::function<bool(int)>& wanted, std::vector<LocalForm>& out) {
  static const AnsiString none;
  for (const int id : folder.children) {
    const SyncItem* item = tree.find(id);
    if (!item) continue;
    if (item->folder) {
      // Every folder's path is made, for the items below it.
      AnsiString full = joined(path, recordName(*item));
      full += '\\';
      if (!wanted || wanted(id)) out.push_back({id, true, cut(full), {}});
      collect(tree, *item, full, wanted, out);
    } else if (!wanted || wanted(id)) {
      out.push_back(
          {id, false, cut(joined(path, recordName(*item))), cut(joined(none, item->url))});
    }
  }
}

}  // namespace

QString recordName(const SyncItem& item) {
  // Most titles need no change: they are shared, not copied.
  bool clean = true, blank = true;
  for (const QChar c : item.title) {
    if (c == QLatin1Char('\\') || c.unicode() < 0x20 || c.unicode() == 0x7F) clean = false;
    if (!c.isSpace()) blank = false;
  }
  if (blank) {
    if (item.folder) return QStringLiteral("(untitled)");
    SyncItem byUrl;
    byUrl.title = item.url;
    byUrl.folder = true;  // an empty URL too gets "(untitled)"
    return recordName(byUrl);
  }
  if (clean) return item.title;
  QString name = item.title;
  for (QChar& c : name) {
    if (c == QLatin1Char('\\'))
      c = QLatin1Char('/');
    else if (c.unicode() < 0x20 || c.unicode() == 0x7F)
      c = QLatin1Char(' ');
  }
  if (name.trimmed().isEmpty()) {
    SyncItem blanked = item;
    blanked.title = name;
    return recordName(blanked);
  }
  return name;
}

std::vector<LocalForm> localForms(const SyncTree& tree, const std::function<bool(int)>& wanted) {
  std::vector<LocalForm> out;
  if (!wanted) out.reserve(tree.items().size());
  collect(tree, tree.root(), AnsiString(kRootPath), wanted, out);
  return out;
}

}  // namespace vorlix::sync
