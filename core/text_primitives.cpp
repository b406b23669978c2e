#include "core/text_primitives.h"

#include <algorithm>
#include <bit>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace habuki {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

const char16_t* SkipBlanks(const char16_t* at, const char16_t* end) {
  while (at != end && IsBlank(*at)) ++at;
  return at;
}

// Counts in `nonZero` the digits other than 0 it passes over.
const char16_t* SkipDigits(const char16_t* at, const char16_t* end, unsigned& nonZero) {
  for (; at != end && IsDigit(*at); ++at) nonZero += *at != u'0';
  return at;
}

// Index of the first `letter` at or after `from`, npos if none. The filter's searches cross the
// whole text several times (once for each letter it looks for), so this is where its time goes:
// eight characters are compared at once where the processor allows.
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

Pos find(CodeView text, Pos start, char16_t letter) {
  const Pos from = std::max<Pos>(start, 1);
  if (from > static_cast<Pos>(text.size())) return 0;
  const std::size_t at = FindCode(text, static_cast<std::size_t>(from - 1), letter);
  return at == CodeView::npos ? 0 : static_cast<Pos>(at) + 1;
}

DecimalNumber decimalValue(CodeView value) {
  const char16_t* at = value.data();
  const char16_t* const end = at + value.size();
  at = SkipBlanks(at, end);
  bool negative = false;
  if (at != end && (*at == u'+' || *at == u'-')) negative = *at++ == u'-';
  unsigned nonZeroDigits = 0;
  const char16_t* const whole = at;
  at = SkipDigits(at, end, nonZeroDigits);
  bool anyDigit = at != whole;
  if (at != end && *at == u'.') {
    const char16_t* const fraction = ++at;
    at = SkipDigits(at, end, nonZeroDigits);
    anyDigit = anyDigit || at != fraction;
  }
  at = SkipBlanks(at, end);
  if (!anyDigit || at != end) throw FilterFailure(FailureKind::BadValue, 0);
  return {negative, nonZeroDigits == 0};
}

bool IsNonZeroValue(CodeView text, Pos start, Pos length) {
  const CodeView value = substring(text, start, length);
  try {
    return !decimalValue(value).zero;
  } catch (const FilterFailure& failure) {
    throw FilterFailure(failure.kind, start);
  }
}

}  // namespace habuki
