#include "core/text/cp932_text.h"

#include <algorithm>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace habuki {

namespace {

bool IsAscii(unsigned char byte) { return byte < 0x80; }

// The first byte of 0x80 or above: parameter files are almost all ASCII, so 64 bytes are looked
// at a time while none turns up.
const unsigned char* SkipAscii(const unsigned char* at, const unsigned char* end) {
#ifdef __SSE2__
  for (; end - at >= 64; at += 64) {
    const auto* const chunk = reinterpret_cast<const __m128i*>(at);
    const __m128i any =
        _mm_or_si128(_mm_or_si128(_mm_loadu_si128(chunk), _mm_loadu_si128(chunk + 1)),
                     _mm_or_si128(_mm_loadu_si128(chunk + 2), _mm_loadu_si128(chunk + 3)));
    if (_mm_movemask_epi8(any) != 0) break;
  }
#endif
  while (at != end && IsAscii(*at)) ++at;
  return at;
}

const unsigned char* Unsigned(std::string_view bytes) {
  return reinterpret_cast<const unsigned char*>(bytes.data());
}

bool StartsPair(const unsigned char* at, const unsigned char* end) {
  return IsCp932LeadByte(at[0]) && end - at >= 2 && IsCp932TrailByte(at[1]);
}

}  // namespace

std::size_t Cp932CharacterLength(std::string_view bytes) {
  return StartsPair(Unsigned(bytes), Unsigned(bytes) + bytes.size()) ? 2 : 1;
}

bool IsCp932LeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool IsCp932TrailByte(unsigned char byte) {
  return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

// Until the first pair every byte is a character of its own, so the first lead byte followed by
// a trail byte is a double-byte character.
bool HasDoubleByteCharacters(std::string_view bytes) {
  const unsigned char* at = Unsigned(bytes);
  const unsigned char* const end = at + bytes.size();
  while ((at = SkipAscii(at, end)) != end) {
    if (StartsPair(at, end)) return true;
    ++at;
  }
  return false;
}

std::u16string DecodeCp932(std::string_view bytes) {
  std::u16string codes(bytes.size(), u'\0');
  const unsigned char* at = Unsigned(bytes);
  const unsigned char* const end = at + bytes.size();
  char16_t* out = codes.data();
  while (at != end) {
    const unsigned char* const ascii = SkipAscii(at, end);
    out = std::copy(at, ascii, out);
    at = ascii;
    if (at == end) break;
    const bool pair = StartsPair(at, end);
    *out++ = static_cast<char16_t>(pair ? at[0] << 8 | at[1] : at[0]);
    at += pair ? 2 : 1;
  }
  codes.resize(static_cast<std::size_t>(out - codes.data()));
  return codes;
}

void AppendBytes(std::string& bytes, std::u16string_view codes) {
  while (!codes.empty()) {
    const auto wide = std::find_if(codes.begin(), codes.end(), [](char16_t c) { return c > 0xFF; });
    const auto single = static_cast<std::size_t>(wide - codes.begin());
    const std::size_t at = bytes.size();
    bytes.resize(at + single);
    std::transform(codes.begin(), wide, bytes.begin() + static_cast<std::ptrdiff_t>(at),
                   [](char16_t c) { return static_cast<char>(c); });
    codes.remove_prefix(single);
    if (codes.empty()) break;
    bytes.push_back(static_cast<char>(codes.front() >> 8));
    bytes.push_back(static_cast<char>(codes.front() & 0xFF));
    codes.remove_prefix(1);
  }
}

Cp932Text::Cp932Text(std::string bytes) {
  auto owned = std::make_shared<const std::string>(std::move(bytes));
  bytes_ = *owned;
  owner_ = std::move(owned);
  doubleByte_ = habuki::HasDoubleByteCharacters(bytes_);
}

Cp932Text::Cp932Text(std::shared_ptr<const void> owner, std::string_view bytes)
    : owner_(std::move(owner)),
      bytes_(bytes),
      doubleByte_(habuki::HasDoubleByteCharacters(bytes)) {}

Cp932Text Cp932Text::FromBytes(std::string_view bytes) { return Cp932Text(std::string(bytes)); }

std::u16string Cp932Text::codes() const { return DecodeCp932(bytes_); }

std::size_t Cp932Text::size() const {
  return doubleByte_ ? DecodeCp932(bytes_).size() : bytes_.size();
}

}  // namespace habuki
