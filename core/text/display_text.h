#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace habuki {

// CP932 bytes as UTF-8, for showing a text to a person: on a terminal, in a message, in the
// window's panes. Bytes that are no CP932 character show as U+FFFD. Nothing that is saved or
// written to a file or pipe is ever converted.
std::string Cp932ToUtf8(std::string_view bytes);

// CP932 bytes from a file as a message or a report on a terminal shows them: as UTF-8, with the
// bytes that are no CP932 character written as \xHH escapes rather than U+FFFD, so that two
// different byte sequences never look alike, and control characters escaped as EscapeControls
// does.
std::string Cp932ForMessage(std::string_view bytes);

// A text from a file or a file name, made safe to show in a message: control characters (C0,
// DEL and, in UTF-8, C1) are written as \xHH escapes, so that no byte of a file can move the
// cursor, clear the screen or retitle the terminal of the person reading; so is every byte that
// is no part of UTF-8 (a CP932 file name, a lone 0x9B that an 8-bit terminal takes for CSI).
std::string EscapeControls(std::string_view text);

// A file's name as messages and reports show it: escaped as EscapeControls does, and "-" as
// "standard input".
std::string DisplayName(std::string_view file);

// How many bytes the UTF-8 character that starts `text` takes; 0 when none starts there.
std::size_t Utf8Length(std::string_view text);

// Whether `text` is UTF-8 throughout (no overlong form, no surrogate, nothing past U+10FFFF).
bool IsUtf8(std::string_view text);

// `text` as UTF-8 for a table that is UTF-8 (CSV, JSON, a workbook): its UTF-8 characters as
// they are, each byte that is no part of one written \xHH, so that a file name in CP932 never
// breaks the document and two different names never look alike.
std::string Utf8Escaped(std::string_view text);

// How many columns a UTF-8 text takes on a screen or in a spreadsheet: two for the wide
// characters of East Asian scripts (kanji, kana, full-width forms), one for every other
// character, half-width kana included.
std::size_t DisplayWidth(std::string_view utf8);

}  // namespace habuki
