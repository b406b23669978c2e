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
// cursor, clear the screen or retitle the terminal of the person reading.
std::string EscapeControls(std::string_view text);

// How many columns a UTF-8 text takes on a screen or in a spreadsheet: two for the wide
// characters of East Asian scripts (kanji, kana, full-width forms), one for every other
// character, half-width kana included.
std::size_t DisplayWidth(std::string_view utf8);

}  // namespace habuki
