#pragma once

#include <functional>
#include <optional>
#include <string_view>

#include "core/filter/filter_state.h"
#include "core/filter/run_filter.h"

namespace habuki {

// One value of a parameter backup: a single-value record, one entry of a multi-entry record, or
// a record of a kind the format has no rule for (then `entry` and `marker` are empty and `value`
// is the text after the head). Every field is a view of the loaded text's bytes, as written.
struct ParameterRow {
  std::string_view number;     // the digits after "N": "01005", "600002"
  std::string_view qualifier;  // the rest of the head, blanks left out: "Q1"; empty for PMC
  std::string_view entry;      // the entry's letter and index, "A4"; empty for a single value
  std::string_view marker;     // "P" or "M"; empty for a record of an unhandled kind
  std::string_view value;      // without the blanks and line breaks around it
  Pos line = 0;                // the line of the record, as an editor numbers it
  bool zero = false;           // a number equal to 0; never so for an unhandled kind
};

// What reading a text's parameters came to: the rows were all given, or the text breaks the
// filter's rules just as RunFilter would report it (FilterError), and the rows given so far
// stand for nothing.
struct ParameterReading {
  std::optional<FilterError> error;
  FilterStats stats;
};

// Which rows a reading gives: a value of 0 is as good as none for most uses, and nearly every
// value of a backup is 0, so leaving those out early is most of the speed.
enum class RowsWanted { NonZero, All };

// Gives the parameters of AllText in the order of the text, cut into records and entries
// exactly as the filter of `kind` cuts them (same heads, kinds, value markers, closing "%",
// failures and limits). Records after the closing "%" are not read, as the filter does not
// read them; they are counted in the stats. The views stay valid while `state` keeps its text.
ParameterReading ReadParameters(const FilterState& state, FormatKind kind, RowsWanted wanted,
                                const std::function<void(const ParameterRow&)>& row);

// RowsWanted::NonZero, of the records whose numbers `numbers` keeps rather than those the
// state's own choice keeps: for what labels a table's rows, read from parameters the table may
// not show (the axis names of 1020 beside --only 1320).
ParameterReading ReadParameters(const FilterState& state, FormatKind kind,
                                const NumberChoice& numbers,
                                const std::function<void(const ParameterRow&)>& row);

// Which records' rows of value 0 are wanted, by number and qualifier; asked once per record that
// has one. A reading that looks for a few zero rows then makes no row of the others.
using ZeroRowsOf = std::function<bool(std::string_view number, std::string_view qualifier)>;

// RowsWanted::All, the rows of value 0 only of the records `zeroRowsOf` wants.
ParameterReading ReadParameters(const FilterState& state, FormatKind kind,
                                const ZeroRowsOf& zeroRowsOf,
                                const std::function<void(const ParameterRow&)>& row);

}  // namespace habuki
