#pragma once

// How a filter run goes, from the entry point down to the text rules (core/text_primitives.h):
//   RunFilter (or Filter30i, Filter16i, FilterPmc) picks the FormatProfile, runs RecordScanner.
//   RecordScanner::Run cuts the text at each "N" (find) and checks a single value with
//   IsNonZeroValue or gives the record to ScanEntries. There UsualEntryReader reads the entries
//   that it can from bits of 64 characters at a time (core/byte_scan.h); the others are found by
//   the searches for markers (LetterFinder::find, which remembers hits of find), cut by substring
//   and read by decimalValue.
//   What the loop finds goes to a sink: ThinningSink makes the result, ParameterSink the rows
//   of the parameter table (ReadParameters).

#include <optional>

#include "core/filter_state.h"
#include "core/filter_stats.h"

namespace habuki {

struct FilterOutcome {
  bool produced = false;  // OutText holds a new result
  std::optional<FilterError> error;
  FilterStats stats;

  friend bool operator==(const FilterOutcome&, const FilterOutcome&) = default;
};

// Thins AllText with the filter of `kind` into OutText, led by CommentText when `withComment`.
// An empty AllText produces nothing. A failed run leaves OutText as it was, so that nothing
// later shows or saves a result the user never saw; the outcome says what failed and where.
// Where every character of AllText is a single byte, the filter reads the bytes themselves and
// copies the kept ones; otherwise it reads 16-bit codes (see Cp932Text).
FilterOutcome RunFilter(FilterState& state, FormatKind kind, bool withComment);

// The same on 16-bit codes, whatever the text. Both ways give the same outcome on every text;
// the fuzz target holds them to it.
FilterOutcome RunFilterOnCodes(FilterState& state, FormatKind kind, bool withComment);

FilterOutcome Filter30i(FilterState& state, bool withComment);
FilterOutcome Filter16i(FilterState& state, bool withComment);
FilterOutcome FilterPmc(FilterState& state, bool withComment);

}  // namespace habuki
