#include "core/text/cp932_decoder.h"

#include <windows.h>

#include "core/text/cp932_text.h"

namespace habuki {

namespace {

constexpr UINT kCp932 = 932;

// Windows gives a few single bytes that are no character of CP932 private characters of its
// own; iconv, and so every other system, refuses them.
bool IsUnassignedSingleByte(unsigned char byte) {
  return byte == 0x80 || byte == 0xA0 || byte >= 0xFD;
}

// Converts one character; false when it is none.
bool ConvertCharacter(std::string_view character, std::string& out) {
  wchar_t wide[2];
  const int count = ::MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS, character.data(),
                                          static_cast<int>(character.size()), wide, 2);
  if (count == 0) return false;
  char utf8[8];
  const int size =
      ::WideCharToMultiByte(CP_UTF8, 0, wide, count, utf8, sizeof utf8, nullptr, nullptr);
  out.append(utf8, static_cast<std::size_t>(size));
  return true;
}

}  // namespace

Cp932Decoder::Cp932Decoder() : state_(nullptr) {}

Cp932Decoder::~Cp932Decoder() = default;

bool Cp932Decoder::valid() const { return ::IsValidCodePage(kCp932) != 0; }

// ASCII is itself in CP932; every other character is converted on its own, so that the first
// one that is none stops the conversion where it stands.
bool Cp932Decoder::Convert(std::string_view& in, std::string& out) {
  while (!in.empty()) {
    const auto byte = static_cast<unsigned char>(in[0]);
    if (byte < 0x80) {
      out.push_back(in[0]);
      in.remove_prefix(1);
      continue;
    }
    const bool pair = in.size() >= 2 && IsCp932LeadByte(byte);
    const std::string_view character = in.substr(0, pair ? 2 : 1);
    if (IsUnassignedSingleByte(byte) || !ConvertCharacter(character, out)) return false;
    in.remove_prefix(character.size());
  }
  return true;
}

}  // namespace habuki
