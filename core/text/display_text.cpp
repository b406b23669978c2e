#include "core/text/display_text.h"

#include <cstdio>

#include "core/text/cp932_decoder.h"
#include "core/text/cp932_text.h"

namespace habuki {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// Length of the character that starts `bytes`, as the parameter files split it.
std::size_t CharacterLength(std::string_view bytes) {
  const bool pair = bytes.size() >= 2 && IsCp932LeadByte(static_cast<unsigned char>(bytes[0])) &&
                    IsCp932TrailByte(static_cast<unsigned char>(bytes[1]));
  return pair ? 2 : 1;
}

// Converts with the system's decoder; each character it cannot convert (or every one, without a
// decoder) is handed to `unconvertible` to show as it may.
template <typename Unconvertible>
std::string ConvertCp932(std::string_view bytes, Unconvertible unconvertible) {
  std::string utf8;
  utf8.reserve(bytes.size() + bytes.size() / 2);
  Cp932Decoder converter;
  while (!bytes.empty()) {
    if (converter.valid() && converter.Convert(bytes, utf8)) break;
    const std::size_t length = CharacterLength(bytes);
    unconvertible(utf8, bytes.substr(0, length));
    bytes.remove_prefix(length);
  }
  return utf8;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view bytes) {
  // One replacement per character; ASCII shows as itself where there is no converter.
  return ConvertCp932(bytes, [](std::string& utf8, std::string_view character) {
    const bool ascii = static_cast<unsigned char>(character[0]) < 0x80;
    utf8.append(ascii ? character.substr(0, 1) : kReplacement);
  });
}

std::string Cp932ForMessage(std::string_view bytes) {
  return EscapeControls(ConvertCp932(bytes, [](std::string& utf8, std::string_view character) {
    for (const char c : character) {
      const auto byte = static_cast<unsigned char>(c);
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      if (byte < 0x80) {
        utf8 += c;
      } else {
        utf8 += hex;
      }
    }
  }));
}

std::string EscapeControls(std::string_view text) {
  std::string shown;
  shown.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const bool c1 = byte == 0xC2 && i + 1 < text.size() &&
                    static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                    static_cast<unsigned char>(text[i + 1]) <= 0x9F;
    if (byte >= 0x20 && byte != 0x7F && !c1) {
      shown.push_back(text[i]);
      continue;
    }
    const unsigned escaped = c1 ? static_cast<unsigned char>(text[++i]) : byte;
    char hex[5];
    std::snprintf(hex, sizeof hex, "\\x%02X", escaped);
    shown += hex;
  }
  return shown;
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
