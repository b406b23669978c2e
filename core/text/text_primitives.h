#pragma once

#include <bit>
#include <cstring>
#include <string_view>

#include "core/text/byte_scan.h"
#include "core/text/filter_failure.h"

namespace habuki {

// The filter reads a text as one code unit per character: its bytes where every character is a
// single byte (ByteView), its 16-bit codes otherwise (CodeView, see Cp932Text). Every function
// here comes for both, with the same results on the same characters.
using ByteView = std::string_view;
using CodeView = std::u16string_view;
template <typename Unit>
using UnitView = std::basic_string_view<Unit>;

// The blanks that may stand around a number: space, tab, CR and LF.
template <typename Unit>
constexpr bool IsBlank(Unit c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

template <typename Unit>
constexpr bool IsDigit(Unit c) {
  return c >= '0' && c <= '9';
}

// `text` without the blanks at its ends.
template <typename Unit>
constexpr UnitView<Unit> WithoutBlanks(UnitView<Unit> text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Stands for a search that found nothing where the result is compared as a position, so that
// a missing occurrence lies beyond every real one.
inline constexpr Pos NOT_FOUND_POS = 999999999;

// Position of the first `letter` at or after `start`, 0 if there is none. Inline for bytes: the
// filter searches for the next record's "N" once a record, mostly some 50 bytes ahead, which a
// few looks of 16 bytes find sooner than a call to memchr.
inline Pos find(ByteView text, Pos start, char letter) {
  const Pos from = start < 1 ? 1 : start;
  if (from > static_cast<Pos>(text.size())) return 0;
  const char* at = text.data() + (from - 1);
  const char* const end = text.data() + text.size();
  const byte_scan::Letter wanted(letter);
  for (int look = 0; look < 4 && end - at >= static_cast<std::ptrdiff_t>(byte_scan::kWidth);
       ++look, at += byte_scan::kWidth) {
    const unsigned hits = wanted.In(byte_scan::Load(at));
    if (hits != 0) return at - text.data() + std::countr_zero(hits) + 1;
  }
  const void* const hit = std::memchr(at, letter, static_cast<std::size_t>(end - at));
  return hit == nullptr ? 0 : static_cast<const char*>(hit) - text.data() + 1;
}
Pos find(CodeView text, Pos start, char16_t letter);

// Throws FilterFailure; out of line, so that what calls it stays small enough to inline.
[[noreturn]] void Fail(FailureKind kind, Pos position);

// Up to `length` characters from `start`. A start below 1 or a negative length breaks the rule
// and throws FilterFailure; a start beyond the end gives the empty text. Inline: the filter cuts
// every value and every kept entry with it.
template <typename Unit>
[[gnu::always_inline]] inline UnitView<Unit> substring(UnitView<Unit> text, Pos start, Pos length) {
  // Start before the text: only a missing "N" leads here.
  if (start < 1) Fail(FailureKind::NoRecord, start);
  if (length < 0) Fail(FailureKind::NegativeLength, start);
  if (start > static_cast<Pos>(text.size())) return {};
  return text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(length));
}

// Whether the value of `length` characters from `start` is a number other than zero. Throws
// FilterFailure, with `start` as the position, for a negative length or a value that is no number.
// A number as a parameter value is written: blanks (space, tab, CR, LF), an optional sign, digits
// with an optional "." and digits, or "." and digits, then blanks. There is no range limit: only
// whether a digit other than 0 occurs matters, so "-0", "00000000" and "0.0" are all zero.
bool IsNonZeroValue(ByteView text, Pos start, Pos length);
bool IsNonZeroValue(CodeView text, Pos start, Pos length);

}  // namespace habuki
