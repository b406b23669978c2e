#include "core/filter/detect_format.h"

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

}  // namespace

FormatKind DetectFormat(const Cp932Text& text) {
  if (!text.HasDoubleByteCharacters()) return Guess(text.Bytes());
  const std::u16string codes = text.codes();
  return Guess(CodeView(codes));
}

}  // namespace habuki
