#pragma once

#include "core/filter/number_ranges.h"
#include "core/text/cp932_text.h"
#include "core/text/line_range.h"

namespace habuki {

// The three formats of parameter file; in the window, the option buttons Option1 to Option3.
enum class FormatKind { Fs30i, Fs16i, Pmc };

// The state of one window's work (or one file's, on the command line).
struct FilterState {
  LineRange LineList;  // lines of the last file read: views into AllText, without their CR LF
  Cp932Text AllText;   // every line followed by CR LF: the bytes read, in the program's own memory
  Cp932Text OutText;   // result of the last successful filter run
  Cp932Text CommentText;        // comment line put in front of the result
  bool CommentMissing = false;  // the last comment load fell back to a built-in text
  NumberChoice Numbers;         // the parameter numbers a run reads; the rest are left out
};

}  // namespace habuki
