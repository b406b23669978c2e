#pragma once

#include <cstddef>
#include <string_view>

namespace habuki {

// The UTF-8 byte order mark: what Excel needs in front of a CSV file to read it as UTF-8 rather
// than in the system's code page (CP932 on a Japanese Windows).
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// How many characters of `text` a UTF-8 byte order mark at its start takes: an editor's "save as
// UTF-8" puts one in front of a backup. In CP932 its bytes EF BB BF are two characters, a pair
// and a half-width kana; where a text is read as bytes, three.
template <typename Unit>
std::size_t ByteOrderMarkLength(std::basic_string_view<Unit> text) {
  if constexpr (sizeof(Unit) == 1) {
    return text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
  } else {
    return text.starts_with(u"\xEFBB\x00BF") ? 2 : 0;
  }
}

}  // namespace habuki
