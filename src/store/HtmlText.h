#pragma once
// Text as HTML carries it (bookmark files, links on the clipboard) to and
// from the records' Windows-1252 bytes.
#include <QByteArray>
#include <QString>
#include <string_view>

#include "store/Ansi.h"

namespace vorlix {

// One Unicode code point as a Windows-1252 byte; '?' (and `lost` set) when
// the code page lacks it.
char ansiFromCodePoint(char32_t cp, bool* lost);

// Unicode text to Windows-1252 with one '?' per character the code page
// lacks (a surrogate pair is one character); `lost` is set when any was.
AnsiString toAnsiCounting(const QString& text, bool* lost);

// HTML text bytes to Windows-1252: UTF-8 when the bytes are valid UTF-8,
// else taken as Windows-1252 already; named, decimal and hex character
// references decoded; a '&' that starts none stays as it is. `lost` is set
// when a character had to become '?'.
AnsiString decodeHtmlToAnsi(std::string_view raw, bool* lost);

// The same decoding to Unicode.
QString decodeHtml(std::string_view raw);
QString decodeHtml(const QString& text);

// A URL into record bytes: as it is when the code page holds every
// character, else in its encoded ASCII form (punycode host, %-escapes), so
// it still leads to the same place instead of holding '?'.
AnsiString urlToAnsi(const QString& url);
// A URL as a name: without its scheme and "//", and without a final '/'
// ("https://example.org/" gives "example.org").
QString urlWithoutScheme(const QString& url);
// decodeHtml and urlToAnsi together, without leaving bytes for plain ASCII.
AnsiString decodeHtmlUrlToAnsi(std::string_view raw);

// Appends Windows-1252 `text` as UTF-8 HTML text: & < > " escaped, control
// characters and a blank at either end as numeric references, so a reader
// that trims or splits lines gets the text back exactly.
void appendHtmlEscaped(QByteArray& out, std::string_view text);

// Windows-1252 bytes as UTF-8.
void appendUtf8FromAnsi(QByteArray& out, std::string_view text);

}  // namespace vorlix
