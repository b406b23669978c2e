#include "core/detect_format.h"

#include "core/text_primitives.h"

namespace habuki {

FormatKind DetectFormat(const Cp932Text& text) {
  const Pos posN = find(text.codes(), 1, u'N');
  const Pos posL = find(text.codes(), 1, u'L');
  if (posN > 5) return FormatKind::Pmc;
  if (posL != 0) return FormatKind::Fs30i;
  return FormatKind::Fs16i;
}

}  // namespace habuki
