#pragma once

#include <string_view>

#include "core/io/exit_status.h"

namespace habuki {

// What each status means, for --help (the manual page is checked against it).
struct ExitStatusMeaning {
  int status;
  std::string_view meaning;
};

inline constexpr ExitStatusMeaning kExitStatuses[] = {
    {kExitOk, "every file was thinned, and no value that is not zero was left out"},
    {kExitContentProblem,
     "a file's content has a problem: it is no parameter file, it could not be thinned, or "
     "values that are not zero were left out (the messages say which and where)"},
    {kExitUsage,
     "usage error, two results for one target (nothing is written), a file that holds the "
     "records of several formats and no -f, or a names file with a bad line"},
    {kExitFileError,
     "a file could not be read or written, is empty or too large, or its result would "
     "replace an input"},
};

// `habuki diff` ends as diff does.
inline constexpr int kDiffSame = 0;
inline constexpr int kDiffDifferent = 1;

inline constexpr ExitStatusMeaning kDiffExitStatuses[] = {
    {kDiffSame, "no value differs"},
    {kDiffDifferent,
     "some values differ, records were left out of the comparison, or a parameter that stands "
     "more often in one file than in another is paired in order"},
    {kExitUsage,
     "usage error, files of different formats without -f, a CNC backup against a PMC one, "
     "--only/--ignore leaving nothing to compare, --to xlsx to a terminal, or a names file with "
     "a bad line"},
    {kExitFileError,
     "a file could not be read, is no parameter file or does not follow its format's rules; of "
     "three or more files, the others are compared"},
};

}  // namespace habuki
