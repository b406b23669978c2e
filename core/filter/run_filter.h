#pragma once

// How a filter run goes, from the entry point down to the text rules
// (core/text/text_primitives.h):
//   RunFilter picks the FormatProfile (core/filter/format_profile.h) and runs RecordScanner
//   (core/filter/record_scanner.h). RecordScanner::Run cuts the text at each "N" (find) and
//   checks a single value with IsNonZeroValue or gives the record to ScanEntries
//   (core/filter/scan_entries.h). There UsualEntryReader (core/filter/usual_entry.h) reads the
//   entries that it can from bits of 64 characters at a time (core/text/byte_scan.h); the others
//   are found by the searches for markers (LetterFinder::find, which remembers hits of find), cut
//   by substring and read by IsNonZeroValue. What the loop finds goes to a sink: ThinningSink
//   (core/filter/thinning_sink.h) makes the result, ParameterSink (core/table/parameter_sink.h)
//   the rows of the parameter table (ReadParameters). The loop's templates are instantiated in
//   each sink's own file, so the filter knows nothing of the table.

#include <optional>

#include "core/filter/filter_state.h"
#include "core/filter/filter_stats.h"

namespace habuki {

struct FilterOutcome {
  bool produced = false;  // OutText holds a new result
  std::optional<FilterError> error;
  FilterStats stats;

  friend bool operator==(const FilterOutcome&, const FilterOutcome&) = default;
};

// The numbers a record scanner of `state` is to keep: none when it reads every record, so that
// a run with no choice of numbers costs nothing more per record.
const NumberChoice* ChosenNumbers(const FilterState& state);

// Thins AllText with the filter of `kind` into OutText, led by CommentText when `withComment`,
// keeping only the records whose numbers Numbers keeps.
// An empty AllText produces nothing. A failed run leaves OutText as it was, so that nothing
// later shows or saves a result the user never saw; the outcome says what failed and where.
// Where every character of AllText is a single byte, the filter reads the bytes themselves and
// copies the kept ones; otherwise it reads 16-bit codes (see Cp932Text).
FilterOutcome RunFilter(FilterState& state, FormatKind kind, bool withComment);

// The same on 16-bit codes, whatever the text. Both ways give the same outcome on every text;
// the fuzz target holds them to it.
FilterOutcome RunFilterOnCodes(FilterState& state, FormatKind kind, bool withComment);

}  // namespace habuki
