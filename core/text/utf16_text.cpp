#include "core/text/utf16_text.h"

#include "core/text/display_text.h"

namespace habuki {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The code point of a valid UTF-8 sequence of `length` bytes.
char32_t DecodeUtf8(std::string_view sequence, std::size_t length) {
  const auto lead = static_cast<unsigned char>(sequence[0]);
  char32_t code = length == 1 ? lead : lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    code = (code << 6) | (static_cast<unsigned char>(sequence[i]) & 0x3F);
  }
  return code;
}

}  // namespace

void AppendUtf8(std::string& utf8, char32_t code) {
  const auto byte = [](char32_t bits) { return static_cast<char>(bits); };
  if (code < 0x80) {
    utf8 += byte(code);
  } else if (code < 0x800) {
    utf8 += byte(0xC0 | (code >> 6));
    utf8 += byte(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    utf8 += byte(0xE0 | (code >> 12));
    utf8 += byte(0x80 | ((code >> 6) & 0x3F));
    utf8 += byte(0x80 | (code & 0x3F));
  } else {
    utf8 += byte(0xF0 | (code >> 18));
    utf8 += byte(0x80 | ((code >> 12) & 0x3F));
    utf8 += byte(0x80 | ((code >> 6) & 0x3F));
    utf8 += byte(0x80 | (code & 0x3F));
  }
}

std::u16string Utf16FromUtf8(std::string_view utf8) {
  std::u16string utf16;
  utf16.reserve(utf8.size());
  while (!utf8.empty()) {
    const std::size_t length = Utf8Length(utf8);
    const char32_t code = length == 0 ? kReplacement : DecodeUtf8(utf8, length);
    if (code >= 0x10000) {
      utf16 += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
      utf16 += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      utf16 += static_cast<char16_t>(code);
    }
    utf8.remove_prefix(length == 0 ? 1 : length);
  }
  return utf16;
}

std::string Utf8FromUtf16(std::u16string_view utf16) {
  std::string utf8;
  utf8.reserve(utf16.size() * 3 / 2);
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    const char32_t unit = utf16[i];
    if (IsHighSurrogate(unit) && i + 1 < utf16.size() && IsLowSurrogate(utf16[i + 1])) {
      AppendUtf8(utf8, 0x10000 + ((unit - 0xD800) << 10) + (utf16[++i] - 0xDC00));
    } else {
      AppendUtf8(utf8, IsHighSurrogate(unit) || IsLowSurrogate(unit) ? kReplacement : unit);
    }
  }
  return utf8;
}

}  // namespace habuki
