#pragma once
// The one rule for turning record bytes into text and text into record bytes.
//
// A record field holds Windows-1252 when the text fits that code page and its
// bytes would not read as multi-byte UTF-8, else UTF-8 (so files written
// before keep their bytes and nothing is lost). A field reads as UTF-8 when
// it is valid UTF-8 (multi-byte sequences included), else as Windows-1252.
//
// Inside the program every text is kept as UTF-8 (AnsiString, the name kept
// from the days of single-byte records): the same text is always the same
// bytes, so a folder path stored in Windows-1252 is still a byte prefix of
// its links' names stored in UTF-8. Only LinkRecord sees the stored bytes.
#include <QString>
#include <string>
#include <string_view>

namespace vorlix {

using AnsiString = std::string;

// Bytes by the reading rule to Unicode: UTF-8 when valid, else
// Windows-1252 (the five unassigned bytes map to the C1 control of the same
// value, as Windows does). Works on program text and on stored bytes alike.
QString fromAnsi(std::string_view bytes);
// Unicode to program text (UTF-8). Nothing is lost.
AnsiString toAnsi(const QString& text);
// Bytes by the reading rule to program text: the bytes themselves when they
// are valid UTF-8, else their Windows-1252 characters in UTF-8.
AnsiString canonicalText(std::string_view bytes);
// The Unicode character of one Windows-1252 byte, as fromAnsi maps it.
char16_t unicodeFromAnsi(unsigned char byte);

// The length of the well-formed UTF-8 sequence at s[i] (a lead byte >= 0x80),
// or 0; its code point goes to `cp` when given.
size_t utf8SequenceAt(std::string_view s, size_t i, char32_t* cp = nullptr);

bool isAscii(std::string_view bytes);
// Valid UTF-8 (plain ASCII included).
bool isUtf8(std::string_view bytes);

// Program text to the bytes a record stores (the writing rule above).
std::string storedBytes(std::string_view text);
// How many bytes `text` takes in a record.
size_t storedSize(std::string_view text);
// The longest start of `text`, cut between characters (never inside a
// character or before a combining mark), whose stored bytes fit `capacity`.
AnsiString cutToFit(std::string_view text, size_t capacity);
// The number of characters (code points) of program text.
size_t characterCount(std::string_view text);

// Upper-cases the letters a to z only, the program's case-folding rule.
AnsiString upperAscii(std::string_view s);
inline char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
bool startsWith(std::string_view s, std::string_view prefix);
bool startsWithNoCase(std::string_view s, std::string_view prefix);
bool equalsNoCase(std::string_view a, std::string_view b);

}  // namespace vorlix
