#pragma once
// Databases and trees written as short lines, for the sync tests:
// "A/" a folder, "A/x=url" a link in it.
#include <QStringList>

#include "store/LinkList.h"
#include "support/Records.h"
#include "sync/SyncTree.h"

namespace vorlix::test {

inline LinkList records(const QStringList& lines) {
  LinkList list;
  for (QString line : lines) {
    const bool folder = !line.contains(QLatin1Char('=')) && line.endsWith(QLatin1Char('/'));
    const QString url = folder ? QString() : line.section(QLatin1Char('='), 1);
    line = line.section(QLatin1Char('='), 0, 0).replace(QLatin1Char('/'), QLatin1Char('\\'));
    list.append(LinkRecord::make(toAnsi(QStringLiteral("Favorites\\") + line), toAnsi(url), 0,
                                 folder ? kKindFolder : kKindUrl));
  }
  return list;
}

inline QStringList paths(const LinkList& list) {
  QStringList out;
  for (const QString& line : describe(list)) {
    const QStringList f = line.split(QLatin1Char('|'));
    QString path = f[0].mid(10).replace(QLatin1Char('\\'), QLatin1Char('/'));
    out << (f[2] == QLatin1String("Folder") ? path : path + QLatin1Char('=') + f[1]);
  }
  out.sort();
  return out;
}

inline QStringList paths(const sync::SyncTree& t) {
  QStringList out;
  for (const auto& [id, item] : t.items()) {
    if (id == sync::kRootId) continue;
    QString path;
    for (const sync::SyncItem* a : t.ancestors(id)) path += a->title + QLatin1Char('/');
    path += item.title;
    out << (item.folder ? path + QLatin1Char('/') : path + QLatin1Char('=') + item.url);
  }
  out.sort();
  return out;
}

}  // namespace vorlix::test
