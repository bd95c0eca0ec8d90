#pragma once
// Records hold single-byte Windows-1252 text. Inside the store every string
// stays in those bytes (std::string), so comparisons and cuts work on exactly
// what the file holds; the views convert to Unicode only for display.
#include <QString>
#include <string>
#include <string_view>

namespace vorlix {

using AnsiString = std::string;

// Windows-1252 bytes to Unicode; the five unassigned bytes map to the C1
// control of the same value, as Windows does, so text round-trips.
QString fromAnsi(std::string_view bytes);
// Unicode to Windows-1252; characters the code page lacks become '?'.
AnsiString toAnsi(const QString& text);
// The Unicode character of one Windows-1252 byte, as fromAnsi maps it.
char16_t unicodeFromAnsi(unsigned char byte);

// Upper-cases the letters a to z only, the program's case-folding rule.
AnsiString upperAscii(std::string_view s);
inline char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
bool startsWith(std::string_view s, std::string_view prefix);
bool startsWithNoCase(std::string_view s, std::string_view prefix);
bool equalsNoCase(std::string_view a, std::string_view b);

}  // namespace vorlix
