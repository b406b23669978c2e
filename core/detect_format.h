#pragma once

#include "core/cp932_text.h"
#include "core/filter_state.h"

namespace habuki {

// The format a loaded text is most likely in: PMC when its first "N" lies after the fifth
// character (a header line precedes the records), otherwise 30i when it holds an "L" anywhere,
// otherwise 16i. Only a guess: the user may choose another format before filtering.
FormatKind DetectFormat(const Cp932Text& text);

}  // namespace habuki
