#include "core/text/display_text.h"

#include <algorithm>
#include <cstdio>

#include "core/text/cp932_decoder.h"
#include "core/text/cp932_text.h"
#include "core/text/utf16_text.h"

namespace habuki {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// Converts by habuki's own CP932 table; each character it has none for is handed to
// `unconvertible` to show as it may.
template <typename Unconvertible>
std::string ConvertCp932(std::string_view bytes, Unconvertible unconvertible) {
  std::string utf8;
  utf8.reserve(bytes.size() + bytes.size() / 2);
  while (!bytes.empty()) {
    const std::string_view character = bytes.substr(0, Cp932CharacterLength(bytes));
    const char32_t code = Cp932Character(character);
    if (code == kNoCp932Character) {
      unconvertible(utf8, character);
    } else {
      AppendUtf8(utf8, code);
    }
    bytes.remove_prefix(character.size());
  }
  return utf8;
}

}  // namespace

std::size_t Utf8Length(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                             : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                            : 0;
  if (length == 0 || text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
  }
  // The second byte's range where the lead allows overlong forms, surrogates or too much.
  const unsigned char second = byte(1);
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
      (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F)) {
    return 0;
  }
  return length;
}

namespace {

void AppendEscaped(std::string& shown, unsigned char byte) {
  char hex[5];
  std::snprintf(hex, sizeof hex, "\\x%02X", byte);
  shown += hex;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view bytes) {
  // One replacement per character.
  return ConvertCp932(bytes,
                      [](std::string& utf8, std::string_view) { utf8.append(kReplacement); });
}

std::string Cp932ForMessage(std::string_view bytes) {
  return EscapeControls(ConvertCp932(bytes, [](std::string& utf8, std::string_view character) {
    for (const char c : character) {
      if (static_cast<unsigned char>(c) < 0x80) {
        utf8 += c;
      } else {
        AppendEscaped(utf8, static_cast<unsigned char>(c));
      }
    }
  }));
}

std::string EscapeControls(std::string_view text) {
  std::string shown;
  shown.reserve(text.size());
  while (!text.empty()) {
    const std::size_t length = Utf8Length(text);
    const auto byte = static_cast<unsigned char>(text[0]);
    const bool c1 = length == 2 && byte == 0xC2 && static_cast<unsigned char>(text[1]) <= 0x9F;
    if (length == 0 || (length == 1 && (byte < 0x20 || byte == 0x7F))) {
      AppendEscaped(shown, byte);
    } else if (c1) {
      AppendEscaped(shown, static_cast<unsigned char>(text[1]));
    } else {
      shown.append(text.substr(0, length));
    }
    text.remove_prefix(std::max<std::size_t>(length, 1));
  }
  return shown;
}

std::string DisplayName(std::string_view file) {
  return file == "-" ? "standard input" : EscapeControls(file);
}

bool IsUtf8(std::string_view text) {
  while (!text.empty()) {
    const std::size_t length = Utf8Length(text);
    if (length == 0) return false;
    text.remove_prefix(length);
  }
  return true;
}

std::string Utf8Escaped(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  while (!text.empty()) {
    const std::size_t length = Utf8Length(text);
    if (length == 0) {
      AppendEscaped(escaped, static_cast<unsigned char>(text[0]));
    } else {
      escaped.append(text.substr(0, length));
    }
    text.remove_prefix(std::max<std::size_t>(length, 1));
  }
  return escaped;
}

std::size_t DisplayWidth(std::string_view utf8) {
  std::size_t width = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t code = lead & (length == 1 ? 0x7F : 0x3F >> (length - 1));
    for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k) {
      code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    }
    const bool halfWidth = code >= 0xFF61 && code <= 0xFFDC;
    width += code >= 0x1100 && !halfWidth ? 2 : 1;
    i += length;
  }
  return width;
}

}  // namespace habuki
