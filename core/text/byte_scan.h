#pragma once

#include <cstddef>
#include <cstdint>
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

// Where a character is what is asked for, its lane is all ones, otherwise zero; Bits() makes
// lanes one bit per character. Lanes of several tests are joined before they are made bits.
inline unsigned Bits(Chars lanes) { return static_cast<unsigned>(_mm_movemask_epi8(lanes)); }
inline Chars Either(Chars first, Chars second) { return _mm_or_si128(first, second); }

// A letter to look for, spread over the 16 lanes once rather than at every look.
class Letter {
 public:
  explicit Letter(char letter) : lanes_(_mm_set1_epi8(letter)) {}
  Chars Lanes(Chars chars) const { return _mm_cmpeq_epi8(chars, lanes_); }
  unsigned In(Chars chars) const { return Bits(Lanes(chars)); }

 private:
  __m128i lanes_;
};

inline Chars DigitLanes(Chars chars) {
  // Bytes below "0" wrap round to large values, so one unsigned comparison tests both ends.
  const __m128i offset = _mm_sub_epi8(chars, _mm_set1_epi8('0'));
  return _mm_cmpeq_epi8(_mm_min_epu8(offset, _mm_set1_epi8(9)), offset);
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
Chars Each(const Chars& chars, Test test) {
  Chars lanes{};
  for (std::size_t i = 0; i < kWidth; ++i) lanes.bytes[i] = test(chars.bytes[i]) ? 0xFF : 0;
  return lanes;
}

inline unsigned Bits(const Chars& lanes) {
  unsigned bits = 0;
  for (std::size_t i = 0; i < kWidth; ++i) bits |= static_cast<unsigned>(lanes.bytes[i] >> 7) << i;
  return bits;
}

inline Chars Either(const Chars& first, const Chars& second) {
  Chars lanes{};
  for (std::size_t i = 0; i < kWidth; ++i) lanes.bytes[i] = first.bytes[i] | second.bytes[i];
  return lanes;
}

class Letter {
 public:
  explicit Letter(char letter) : letter_(static_cast<unsigned char>(letter)) {}
  Chars Lanes(const Chars& chars) const {
    return Each(chars, [this](unsigned char c) { return c == letter_; });
  }
  unsigned In(const Chars& chars) const { return Bits(Lanes(chars)); }

 private:
  unsigned char letter_;
};

inline Chars DigitLanes(const Chars& chars) {
  return Each(chars, [](unsigned char c) { return c >= '0' && c <= '9'; });
}
#endif

// The bits of the first `count` characters.
inline unsigned First(std::size_t count) {
  return 0xFFFFu >> (kWidth - (count < kWidth ? count : kWidth));
}

// A letter or either of two, found in one look.
class Letters {
 public:
  Letters(char first, char second) : first_(first), second_(second) {}
  unsigned In(const Chars& chars) const {
    return Bits(Either(first_.Lanes(chars), second_.Lanes(chars)));
  }

 private:
  Letter first_, second_;
};

// Bits of several looks side by side: those of the look at `look` times 16 characters in.
using WideBits = std::uint64_t;
inline constexpr std::size_t kLooksSideBySide = 4;

inline WideBits Widened(unsigned bits, std::size_t look) {
  return WideBits{bits} << (look * kWidth);
}

// What a number is made of, one bit per character of one or more looks side by side: Add each
// look, then Finish. A number as nearly every value is written is digits, optionally a point and
// digits, then blanks; the filter asks of every value whether it is such a number and whether it
// is zero, so the answers are all tests on bits and no branch.
class NumberBits {
 public:
  void Add(const Chars& chars, std::size_t look) {
    const Chars digits = DigitLanes(chars);
    const unsigned digitBits = Bits(digits);
    digits_ |= Widened(digitBits, look);
    nonZeroDigits_ |= Widened(digitBits & ~Letter('0').In(chars), look);
    points_ |= Widened(Letter('.').In(chars), look);
    blanks_ |= Widened(Bits(Either(Either(Letter(' ').Lanes(chars), Letter('\t').Lanes(chars)),
                                   Either(Letter('\r').Lanes(chars), Letter('\n').Lanes(chars)))),
                       look);
  }

  // What breaks such a number: any other character, and a digit or point just after a blank
  // (a value starts after its marker, which is no blank, so within a value this is the blank
  // between two parts of it, or the blank before it).
  void Finish() {
    const WideBits number = digits_ | points_;
    breaks_ = ~(number | blanks_) | (number & blanks_ << 1);
  }

  // Whether the characters of `value` (its bits, one run of them) are such a number: nothing
  // breaks it, it has a digit and one point at most.
  bool IsPlain(WideBits value) const {
    const WideBits points = points_ & value;
    return ((digits_ & value) != 0) & (((value & breaks_) | (points & (points - 1))) == 0);
  }

  // Whether such a number is not zero.
  bool HasNonZeroDigit(WideBits value) const { return (nonZeroDigits_ & value) != 0; }

 private:
  WideBits digits_ = 0;
  WideBits nonZeroDigits_ = 0;
  WideBits points_ = 0;
  WideBits blanks_ = 0;  // see IsBlank
  WideBits breaks_ = 0;
};

// Whether the `length` characters from `at` (length <= 16, and 16 readable) are a plain number
// other than zero; nullopt when they are no plain number.
template <typename Unit>
[[gnu::always_inline]] inline std::optional<bool> NonZeroPlainNumber(const Unit* at,
                                                                     std::size_t length) {
  NumberBits bits;
  bits.Add(Load(at), 0);
  bits.Finish();
  const WideBits value = First(length);
  if (!bits.IsPlain(value)) return std::nullopt;
  return bits.HasNonZeroDigit(value);
}

}  // namespace byte_scan

}  // namespace habuki
