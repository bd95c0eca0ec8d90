#include "preview/PreviewAddress.h"

namespace vorlix {

namespace {
bool isAsciiLetter(QChar c) {
  return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
         (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}
bool isAsciiDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
}  // namespace

bool HasScheme(const QString& text) {
  // scheme = letter *( letter / digit / "+" / "-" / "." ) ":"
  if (text.isEmpty() || !isAsciiLetter(text.front())) return false;
  qsizetype i = 1;
  while (i < text.size() &&
         (isAsciiLetter(text[i]) || isAsciiDigit(text[i]) || text[i] == QLatin1Char('+') ||
          text[i] == QLatin1Char('-') || text[i] == QLatin1Char('.')))
    ++i;
  if (i >= text.size() || text[i] != QLatin1Char(':')) return false;
  // "host:port" and "host:port/path" name a server, not a scheme.
  qsizetype j = i + 1;
  while (j < text.size() && isAsciiDigit(text[j])) ++j;
  const bool port = j > i + 1 && (j == text.size() || text[j] == QLatin1Char('/') ||
                                  text[j] == QLatin1Char('?') || text[j] == QLatin1Char('#'));
  return !port;
}

QString CompleteAddress(const QString& text) {
  return HasScheme(text) ? text : QStringLiteral("http://") + text;
}

bool IsScriptAddress(const QString& address) {
  static const QLatin1String kScript("javascript:");
  QString seen;
  for (QChar c : address) {
    if (seen.isEmpty() && c.unicode() <= 0x20) continue;
    if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r')) continue;
    seen += c;
    if (seen.size() == kScript.size()) break;
  }
  return seen.compare(kScript, Qt::CaseInsensitive) == 0;
}

bool PaneShowsScheme(const QString& scheme) {
  for (const char* shown : {"http", "https", "file", "about", "data", "blob"})
    if (scheme.compare(QLatin1String(shown), Qt::CaseInsensitive) == 0) return true;
  return false;
}

}  // namespace vorlix
