#pragma once

#include "core/filter/filter_state.h"
#include "core/text/cp932_text.h"

namespace habuki {

// The format a loaded text is most likely in: PMC when its first "N" lies after the fifth
// character (a header line precedes the records), otherwise 30i when it holds an "L" anywhere,
// otherwise 16i. Only a guess: the user may choose another format before filtering. The window
// shows it on its option buttons, where the user sees it and can change it. The command line,
// where nobody sees a guess before it is used, reads the record heads instead (format_guess.h).
FormatKind DetectFormat(const Cp932Text& text);

}  // namespace habuki
