#pragma once

#include <bit>
#include <cstddef>
#include <optional>
#include <type_traits>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace habuki {

// Looks at 16 characters at once: as 16 bytes, one bit per character, set where it is what is
// asked for. All 16 must be readable. Entries and values are a few characters long and of every
// length, so a loop over single characters spends its time guessing where each ends.
//
// A 16-bit code above 0xFF is looked at as a byte that none of the filter's letters, digits,
// points and blanks is, so codes are looked at as bytes are.
namespace byte_scan {

inline constexpr std::size_t kWidth = 16;

#ifdef __SSE2__
using Chars = __m128i;

inline Chars Load(const char* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); }

// Saturating: codes of 0x100 to 0x7FFF become 0xFF, those from 0x8000 (every double-byte
// character) become 0.
inline Chars Load(const char16_t* at) {
  const auto* const codes = reinterpret_cast<const __m128i*>(at);
  return _mm_packus_epi16(_mm_loadu_si128(codes), _mm_loadu_si128(codes + 1));
}

// A letter to look for, spread over the 16 lanes once rather than at every look.
class Letter {
 public:
  explicit Letter(char letter) : lanes_(_mm_set1_epi8(letter)) {}
  unsigned In(Chars chars) const {
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(chars, lanes_)));
  }

 private:
  __m128i lanes_;
};

inline unsigned Digits(Chars chars) {
  // Bytes below "0" wrap round to large values, so one unsigned comparison tests both ends.
  const __m128i offset = _mm_sub_epi8(chars, _mm_set1_epi8('0'));
  const __m128i digit = _mm_cmpeq_epi8(_mm_min_epu8(offset, _mm_set1_epi8(9)), offset);
  return static_cast<unsigned>(_mm_movemask_epi8(digit));
}
#else
struct Chars {
  unsigned char bytes[kWidth];
};

template <typename Unit>
Chars Load(const Unit* at) {
  Chars chars{};
  for (std::size_t i = 0; i < kWidth; ++i) {
    const auto unit = static_cast<std::make_unsigned_t<Unit> >(at[i]);
    chars.bytes[i] = static_cast<unsigned char>(unit > 0xFF ? 0xFF : unit);
  }
  return chars;
}

template <typename Test>
unsigned Each(const Chars& chars, Test test) {
  unsigned bits = 0;
  for (std::size_t i = 0; i < kWidth; ++i) bits |= unsigned{test(chars.bytes[i])} << i;
  return bits;
}

class Letter {
 public:
  explicit Letter(char letter) : letter_(static_cast<unsigned char>(letter)) {}
  unsigned In(const Chars& chars) const {
    return Each(chars, [this](unsigned char c) { return c == letter_; });
  }

 private:
  unsigned char letter_;
};

inline unsigned Digits(const Chars& chars) {
  return Each(chars, [](unsigned char c) { return c >= '0' && c <= '9'; });
}
#endif

// The bits of the first `count` characters.
inline unsigned First(std::size_t count) {
  return 0xFFFFu >> (kWidth - (count < kWidth ? count : kWidth));
}

// The place of the lowest bit set, kWidth when none is: the bit above the 16 stands in, so the
// count needs no test for zero.
inline std::size_t Lowest(unsigned bits) {
  return static_cast<std::size_t>(__builtin_ctz(bits | 1u << kWidth));
}

inline unsigned Blanks(const Chars& chars) {
  return Letter(' ').In(chars) | Letter('\t').In(chars) | Letter('\r').In(chars) |
         Letter('\n').In(chars);
}

// Whether the `length` characters from `offset` within the 16 at `at` (offset + length <= 16)
// are a number other than zero, when they are what nearly every value is: digits, optionally a
// point and digits, then blanks. Anything else (a leading blank, a sign, a letter) is nullopt,
// for decimalValue to read. The filter asks this of every value.
template <typename Unit>
[[gnu::always_inline]] inline std::optional<bool> NonZeroPlainNumber(const Unit* at,
                                                                     std::size_t offset,
                                                                     std::size_t length) {
  const Chars chars = Load(at);
  const unsigned value = First(length);
  const unsigned digits = Digits(chars) >> offset & value;
  const unsigned zeros = Letter('0').In(chars) >> offset;
  if (digits == value && value != 0) return (digits & ~zeros) != 0;  // digits alone, as most are
  const auto whole = static_cast<unsigned>(Lowest(~digits & 0xFFFFu));
  const unsigned point = (Letter('.').In(chars) >> offset >> whole) & 1;
  const unsigned fraction =
      point * static_cast<unsigned>(Lowest(~(digits >> whole >> 1) & 0xFFFFu));
  const unsigned number = First(whole + point + fraction);
  const unsigned rest = value & ~number;
  const bool plain = (digits & number) != 0 && (rest & ~(Blanks(chars) >> offset)) == 0;
  if (!plain) return std::nullopt;
  return (digits & ~zeros) != 0;
}

}  // namespace byte_scan

}  // namespace habuki
