#include "core/filter/detect_format.h"

#include <algorithm>

#include "core/filter/header_lines.h"
#include "core/text/text_primitives.h"

namespace habuki {

namespace {

template <typename Unit>
FormatKind Guess(UnitView<Unit> text) {
  const Pos posN = find(text, 1, Unit{'N'});
  if (posN > 5) return FormatKind::Pmc;
  if (find(text, 1, Unit{'L'}) != 0) return FormatKind::Fs30i;
  return FormatKind::Fs16i;
}

// A 30i head: "N" and five digits, then no digit.
template <typename Unit>
bool FirstRecordHasFiveDigits(UnitView<Unit> text) {
  const Pos posN = find(text, 1, Unit{'N'});
  if (posN == 0) return false;
  const UnitView<Unit> digits = text.substr(static_cast<std::size_t>(posN), 6);
  const auto isDigit = [](Unit c) { return c >= '0' && c <= '9'; };
  const auto count = std::find_if_not(digits.begin(), digits.end(), isDigit) - digits.begin();
  return count == 5;
}

template <typename Unit>
FormatKind GuessFromPercentLine(UnitView<Unit> text) {
  const UnitView<Unit> part = FromPercentLine(text);
  const FormatKind kind = Guess(part);
  if (kind == FormatKind::Fs16i && FirstRecordHasFiveDigits(part)) return FormatKind::Fs30i;
  return kind;
}

}  // namespace

FormatKind DetectFormat(const Cp932Text& text) {
  if (!text.HasDoubleByteCharacters()) return Guess(text.Bytes());
  const std::u16string codes = text.codes();
  return Guess(CodeView(codes));
}

FormatKind GuessFormat(const Cp932Text& text) {
  if (!text.HasDoubleByteCharacters()) return GuessFromPercentLine(text.Bytes());
  const std::u16string codes = text.codes();
  return GuessFromPercentLine(CodeView(codes));
}

}  // namespace habuki
