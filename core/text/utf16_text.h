#pragma once

#include <string>
#include <string_view>
#include <type_traits>

namespace habuki {

// Appends `code` (at most U+10FFFF, no surrogate) to `utf8` in UTF-8.
void AppendUtf8(std::string& utf8, char32_t code);

// UTF-8 as UTF-16 and back, as Windows' wide calls take and give text. What is not valid in the
// source becomes U+FFFD, a byte of UTF-8 or a lone surrogate each, rather than being dropped.
std::u16string Utf16FromUtf8(std::string_view utf8);
std::string Utf8FromUtf16(std::u16string_view utf16);

// The same for Windows' wchar_t, which is UTF-16 there (and only there: on other systems these
// do not compile).
template <typename Wide = wchar_t>
requires(sizeof(Wide) ==
         sizeof(char16_t)) std::basic_string<Wide> WideFromUtf8(std::string_view utf8) {
  const std::u16string utf16 = Utf16FromUtf8(utf8);
  return std::basic_string<Wide>(utf16.begin(), utf16.end());
}

template <typename Wide = wchar_t>
requires(sizeof(Wide) == sizeof(char16_t)) std::string
    Utf8FromWide(std::type_identity_t<std::basic_string_view<Wide>> wide) {
  return Utf8FromUtf16(std::u16string(wide.begin(), wide.end()));
}

}  // namespace habuki
