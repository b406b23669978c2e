#include "core/cp932_text.h"

namespace habuki {

bool IsCp932LeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool IsCp932TrailByte(unsigned char byte) {
  return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

Cp932Text Cp932Text::FromBytes(std::string_view bytes) {
  std::u16string codes;
  codes.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (IsCp932LeadByte(byte) && i + 1 < bytes.size() &&
        IsCp932TrailByte(static_cast<unsigned char>(bytes[i + 1]))) {
      codes.push_back(static_cast<char16_t>(byte << 8 | static_cast<unsigned char>(bytes[++i])));
    } else {
      codes.push_back(static_cast<char16_t>(byte));
    }
  }
  return Cp932Text(std::move(codes));
}

void AppendBytes(std::string& bytes, std::u16string_view codes) {
  for (const char16_t code : codes) {
    if (code > 0xFF) bytes.push_back(static_cast<char>(code >> 8));
    bytes.push_back(static_cast<char>(code & 0xFF));
  }
}

std::string Cp932Text::Bytes() const {
  std::string bytes;
  bytes.reserve(codes_.size());
  AppendBytes(bytes, codes_);
  return bytes;
}

}  // namespace habuki
