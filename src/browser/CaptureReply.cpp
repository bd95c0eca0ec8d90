#include "browser/CaptureReply.h"

namespace vorlix {

namespace {

QString quoted(const QString& field) {
  QString out = QStringLiteral("\"");
  for (QChar c : field) {
    if (c.unicode() == 0) continue;
    if (c == QLatin1Char('"')) out += QLatin1Char('"');
    out += c;
  }
  return out + QLatin1Char('"');
}

bool isBlank(QChar c) { return c.unicode() >= 1 && c.unicode() <= 32; }

}  // namespace

QString FormatCaptureReply(const QString& url, const QString& title) {
  return quoted(url) + QLatin1Char(',') + quoted(title);
}

QStringList SplitCaptureReply(const QString& reply) {
  QStringList fields;
  // The text ends at its first NUL, as a C string would.
  const qsizetype nul = reply.indexOf(QChar(0));
  const QString text = nul < 0 ? reply : reply.left(nul);
  const qsizetype n = text.size();
  qsizetype p = 0;
  auto at = [&](qsizetype i) { return i < n ? text[i] : QChar(0); };
  while (p < n && isBlank(text[p])) ++p;
  while (p < n) {
    QString field;
    if (text[p] == QLatin1Char('"')) {
      ++p;
      while (p < n) {
        if (text[p] == QLatin1Char('"')) {
          if (at(p + 1) == QLatin1Char('"')) {
            field += QLatin1Char('"');
            p += 2;
            continue;
          }
          ++p;
          break;
        }
        field += text[p++];
      }
    } else {
      const qsizetype start = p;
      while (p < n && text[p].unicode() > 32 && text[p] != QLatin1Char(',')) ++p;
      field = text.mid(start, p - start);
    }
    fields << field;
    while (p < n && isBlank(text[p])) ++p;
    if (p < n && text[p] == QLatin1Char(',')) {
      if (p + 1 == n) fields << QString();
      do ++p;
      while (p < n && isBlank(text[p]));
    }
  }
  return fields;
}

}  // namespace vorlix
