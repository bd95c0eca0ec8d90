#pragma once
// Records as text, for comparing whole lists in tests.
#include <QStringList>

#include "store/Ansi.h"
#include "store/LinkList.h"

namespace vorlix::test {

// One line per record: full name, URL, kind.
inline QStringList describe(const LinkList& list) {
  QStringList out;
  for (const LinkRecord& r : list)
    out << fromAnsi(r.fullName()) + QLatin1Char('|') + fromAnsi(r.url()) + QLatin1Char('|') +
               fromAnsi(r.kind());
  return out;
}

// The bytes a save writes: every record's 528 bytes in list order.
inline QByteArray recordBytes(const LinkList& list) {
  QByteArray out;
  out.reserve(qsizetype(list.size()) * kRecordSize);
  for (const LinkRecord& r : list) out.append(r.raw.data(), kRecordSize);
  return out;
}

}  // namespace vorlix::test
