#include "core/text/display_text.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>

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

class Converter {
 public:
  Converter() : cd_(::iconv_open("UTF-8", "CP932")) {}
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  ~Converter() {
    if (valid()) ::iconv_close(cd_);
  }
  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts as much as it can; returns false where a character cannot be converted.
  bool Convert(std::string_view& in, std::string& out) {
    char buffer[4096];
    char* source = const_cast<char*>(in.data());
    std::size_t sourceLeft = in.size();
    bool ok = true;
    while (sourceLeft > 0 && ok) {
      char* target = buffer;
      std::size_t targetLeft = sizeof buffer;
      ok = ::iconv(cd_, &source, &sourceLeft, &target, &targetLeft) !=
               static_cast<std::size_t>(-1) ||
           errno == E2BIG;
      out.append(buffer, static_cast<std::size_t>(target - buffer));
    }
    in.remove_prefix(in.size() - sourceLeft);
    return ok;
  }

 private:
  iconv_t cd_;
};

// Converts with iconv; each character it cannot convert (or every one, without a converter) is
// handed to `unconvertible` to show as it may.
template <typename Unconvertible>
std::string ConvertCp932(std::string_view bytes, Unconvertible unconvertible) {
  std::string utf8;
  utf8.reserve(bytes.size() + bytes.size() / 2);
  Converter converter;
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

}  // namespace habuki
