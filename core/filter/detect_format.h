#pragma once

#include "core/filter/filter_state.h"
#include "core/text/cp932_text.h"

namespace habuki {

// The format a loaded text is most likely in: PMC when its first "N" lies after the fifth
// character (a header line precedes the records), otherwise 30i when it holds an "L" anywhere,
// otherwise 16i. Only a guess: the user may choose another format before filtering. The window
// shows it on its option buttons, where the user sees it and can change it.
FormatKind DetectFormat(const Cp932Text& text);

// The command line's guess, which nobody sees before it is used, so it also reads habuki's own
// results right: DetectFormat's rule on the text from its first line that is "%" (the whole text
// when there is none), so that a comment line in front of the "%" counts for nothing; and a text
// that rule takes for 16i whose first record carries a five-digit number ("N01005Q1", a 30i head)
// is 30i, since a thinned 30i file may have lost every record with an "L".
FormatKind GuessFormat(const Cp932Text& text);

}  // namespace habuki
