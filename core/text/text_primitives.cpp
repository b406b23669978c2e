#include "core/text/text_primitives.h"

#include <algorithm>
#include <bit>
#include <optional>

#include "core/text/byte_scan.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace habuki {

namespace {

template <typename Unit>
const Unit* SkipBlanks(const Unit* at, const Unit* end) {
  while (at != end && IsBlank(*at)) ++at;
  return at;
}

// Counts in `nonZero` the digits other than 0 it passes over.
template <typename Unit>
const Unit* SkipDigits(const Unit* at, const Unit* end, unsigned& nonZero) {
  for (; at != end && IsDigit(*at); ++at) nonZero += *at != '0';
  return at;
}

// Whether `value` is a number that is zero (see IsNonZeroValue); a text that is no number fails
// with BadValue at position 0, for the caller to place.
template <typename Unit>
bool IsZeroNumber(UnitView<Unit> value) {
  const Unit* at = value.data();
  const Unit* const end = at + value.size();
  at = SkipBlanks(at, end);
  if (at != end && (*at == '+' || *at == '-')) ++at;
  unsigned nonZeroDigits = 0;
  const Unit* const whole = at;
  at = SkipDigits(at, end, nonZeroDigits);
  bool anyDigit = at != whole;
  if (at != end && *at == '.') {
    const Unit* const fraction = ++at;
    at = SkipDigits(at, end, nonZeroDigits);
    anyDigit = anyDigit || at != fraction;
  }
  at = SkipBlanks(at, end);
  if (!anyDigit || at != end) Fail(FailureKind::BadValue, 0);
  return nonZeroDigits == 0;
}

// Nearly every value is digits, maybe with a point, and blanks: those are read 16 characters at
// a time. Whatever else a value holds, or where fewer than 16 characters are left to read, is
// read character by character.
template <typename Unit>
bool IsNonZero(UnitView<Unit> text, Pos start, Pos length) {
  constexpr auto kWidth = static_cast<Pos>(byte_scan::kWidth);
  const bool readable = start >= 1 && start - 1 + kWidth <= static_cast<Pos>(text.size());
  if (length >= 1 && length <= kWidth && readable) {
    const std::optional<bool> nonZero =
        byte_scan::NonZeroPlainNumber(text.data() + (start - 1), static_cast<std::size_t>(length));
    if (nonZero) return *nonZero;
  }
  const UnitView<Unit> value = substring(text, start, length);
  try {
    return !IsZeroNumber(value);
  } catch (const FilterFailure& failure) {
    throw FilterFailure(failure.kind, start);
  }
}

// Index of the first `letter` at or after `from`, npos if none: eight codes are compared at
// once where the processor allows.
std::size_t FindCode(CodeView text, std::size_t from, char16_t letter) {
#ifdef __SSE2__
  const __m128i wanted = _mm_set1_epi16(static_cast<short>(letter));
  for (; from + 8 <= text.size(); from += 8) {
    const __m128i codes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + from));
    const auto hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(codes, wanted)));
    if (hits != 0) return from + static_cast<std::size_t>(std::countr_zero(hits)) / 2;
  }
#endif
  return text.find(letter, from);
}

}  // namespace

void Fail(FailureKind kind, Pos position) { throw FilterFailure(kind, position); }

Pos find(CodeView text, Pos start, char16_t letter) {
  const Pos from = std::max<Pos>(start, 1);
  if (from > static_cast<Pos>(text.size())) return 0;
  const std::size_t at = FindCode(text, static_cast<std::size_t>(from - 1), letter);
  return at == CodeView::npos ? 0 : static_cast<Pos>(at) + 1;
}

bool IsNonZeroValue(ByteView text, Pos start, Pos length) { return IsNonZero(text, start, length); }
bool IsNonZeroValue(CodeView text, Pos start, Pos length) { return IsNonZero(text, start, length); }

}  // namespace habuki
