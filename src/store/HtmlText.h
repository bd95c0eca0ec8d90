#pragma once
// Text as HTML carries it (bookmark files, links on the clipboard) to and
// from program text.
#include <QByteArray>
#include <QString>
#include <string_view>

#include "store/Ansi.h"

namespace vorlix {

// One Unicode code point as a Windows-1252 byte; '?' (and `lost` set) when
// the code page lacks it. For formats that hold only that code page.
char ansiFromCodePoint(char32_t cp, bool* lost);

// Unicode text to program text. Nothing is lost any more, so `lost` is
// never set; kept for the callers that still pass one.
AnsiString toAnsiCounting(const QString& text, bool* lost);

// HTML text bytes to program text: UTF-8 when the bytes are valid UTF-8,
// else taken as Windows-1252; named, decimal and hex character references
// decoded; a '&' that starts none stays as it is. `lost` is never set.
AnsiString decodeHtmlToAnsi(std::string_view raw, bool* lost);

// The same decoding to Unicode.
QString decodeHtml(std::string_view raw);
QString decodeHtml(const QString& text);

// A URL as program text, exactly as given.
AnsiString urlToAnsi(const QString& url);
// A URL as a name: without its scheme and "//", and without a final '/'
// ("https://example.org/" gives "example.org").
QString urlWithoutScheme(const QString& url);
// decodeHtml and urlToAnsi together, without leaving bytes for plain ASCII.
AnsiString decodeHtmlUrlToAnsi(std::string_view raw);

// Appends program `text` as UTF-8 HTML text: & < > " escaped, control
// characters and a blank at either end as numeric references, so a reader
// that trims or splits lines gets the text back exactly.
void appendHtmlEscaped(QByteArray& out, std::string_view text);

// Text by the reading rule (store/Ansi.h) as UTF-8.
void appendUtf8FromAnsi(QByteArray& out, std::string_view text);

}  // namespace vorlix
