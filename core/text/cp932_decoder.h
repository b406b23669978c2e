#pragma once

#include <string_view>

namespace habuki {

// Stands for "no character": bytes that code page 932 does not assign, and the single bytes
// 0x80, 0xA0 and 0xFD to 0xFF, which some decoders map to private or control characters but no
// CNC writes as text.
inline constexpr char32_t kNoCp932Character = 0xFFFFFFFF;

// The Unicode character of one CP932 character (one byte, or a lead and a trail byte, as
// Cp932CharacterLength in cp932_text.h splits them), by Microsoft's mapping of code page 932 with
// its user-defined area at U+E000; kNoCp932Character where it assigns none. habuki's own table
// (cp932_table.inc), so that every display shows the same characters on every system.
char32_t Cp932Character(std::string_view character);

}  // namespace habuki
