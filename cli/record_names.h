#pragma once

#include <iosfwd>
#include <string_view>
#include <vector>

#include "core/filter/filter_state.h"
#include "core/filter/number_ranges.h"
#include "core/filter/record_heads.h"

namespace habuki {

// What the names of a loaded file's records show, read as `kind`.
struct RecordNames {
  std::vector<RepeatedRecord> repeats;  // parameters that stand more than once
  Pos chosen = 0;                       // records that --only and --ignore leave to read
};

// Reads the heads of a loaded file's records: notes in `matches` (when given) which ranges of
// --only and --ignore name them, and (when `repeats`) finds the parameters that stand more than
// once and tells of them on `err`, the file named `name`.
RecordNames CheckRecordNames(std::string_view name, const FilterState& state, FormatKind kind,
                             RangeMatches* matches, bool repeats, std::ostream& err);

// Tells on `err` of each range that named no record of any input.
void TellUnmatchedRanges(const RangeMatches& matches, std::ostream& err);

}  // namespace habuki
