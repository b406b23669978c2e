#pragma once

#include <bit>
#include <cstddef>
#include <optional>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace habuki {

// Looks at 16 bytes at once where the filter reads bytes: one bit per byte of the 16 at `at`,
// all of which must be readable, set where the byte is what is asked for. Entries and values
// are a few bytes long and of every length, so a loop over single bytes spends its time
// guessing where it ends.
namespace byte_scan {

inline constexpr std::size_t kWidth = 16;

#ifdef __SSE2__
// A letter to look for, spread over the 16 lanes once rather than at every look.
class Letter {
 public:
  explicit Letter(char letter) : lanes_(_mm_set1_epi8(letter)) {}
  unsigned In(const char* at) const {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lanes_)));
  }

 private:
  __m128i lanes_;
};

inline unsigned Digits(const char* at) {
  // Bytes below "0" wrap round to large values, so one unsigned comparison tests both ends.
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  const __m128i offset = _mm_sub_epi8(bytes, _mm_set1_epi8('0'));
  const __m128i digit = _mm_cmpeq_epi8(_mm_min_epu8(offset, _mm_set1_epi8(9)), offset);
  return static_cast<unsigned>(_mm_movemask_epi8(digit));
}
#else
class Letter {
 public:
  explicit Letter(char letter) : letter_(letter) {}
  unsigned In(const char* at) const {
    unsigned bits = 0;
    for (std::size_t i = 0; i < kWidth; ++i) bits |= unsigned{at[i] == letter_} << i;
    return bits;
  }

 private:
  char letter_;
};

inline unsigned Digits(const char* at) {
  unsigned bits = 0;
  for (std::size_t i = 0; i < kWidth; ++i) bits |= unsigned{at[i] >= '0' && at[i] <= '9'} << i;
  return bits;
}
#endif

// The bits of the first `count` bytes.
inline unsigned First(std::size_t count) { return (1u << (count < kWidth ? count : kWidth)) - 1; }

inline unsigned Blanks(const char* at) {
  return Letter(' ').In(at) | Letter('\t').In(at) | Letter('\r').In(at) | Letter('\n').In(at);
}

// Whether the `length` bytes from `offset` within the 16 at `at` (offset + length <= 16) are a
// number other than zero, when they are what nearly every value is: digits, optionally a point
// and digits, then blanks. Anything else (a leading blank, a sign, a letter) is nullopt, for
// decimalValue to read. The filter asks this of every value.
[[gnu::always_inline]] inline std::optional<bool> NonZeroPlainNumber(const char* at,
                                                                     std::size_t offset,
                                                                     std::size_t length) {
  const unsigned value = First(length);
  const unsigned digits = Digits(at) >> offset & value;
  const unsigned zeros = Letter('0').In(at) >> offset;
  if (digits == value && value != 0) return (digits & ~zeros) != 0;  // digits alone, as most are
  const auto whole = static_cast<unsigned>(std::countr_one(digits));
  const unsigned point = (Letter('.').In(at) >> offset >> whole) & 1;
  const unsigned fraction = point * static_cast<unsigned>(std::countr_one(digits >> whole >> 1));
  const unsigned number = First(whole + point + fraction);
  const unsigned rest = value & ~number;
  const bool plain = (digits & number) != 0 && (rest & ~(Blanks(at) >> offset)) == 0;
  if (!plain) return std::nullopt;
  return (digits & ~zeros) != 0;
}

}  // namespace byte_scan

}  // namespace habuki
