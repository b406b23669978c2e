#pragma once

#include <string>
#include <string_view>

#include "core/filter/filter_state.h"
#include "core/filter/run_filter.h"
#include "core/io/output_plan.h"
#include "core/io/param_file.h"

namespace habuki {

// How a file is named in messages: standard input ("-") is "standard input"; control
// characters in a name are escaped.
std::string DisplayName(std::string_view file);

// "habuki: NAME: what[: reason]" and a line break.
std::string FileProblem(std::string_view name, std::string_view what, std::string_view reason);

// Why a file could not be loaded ("cannot read: ...", "file is too large: ...", "file is
// empty"); empty when it was loaded.
std::string LoadProblem(std::string_view name, const LoadResult& loaded);

// Why the output plan keeps a result from being written, and what makes it refuse a whole run.
std::string RefusalMessage(std::string_view input, const PlannedOutput& output);
std::string ClashMessage(const TargetClash& clash);

// "habuki: NAME:LINE: what failed at character POS (record head)" and a line break.
std::string FailureMessage(std::string_view name, const FilterError& error);

// Lines about records and entries that were dropped without being zero; empty when none were.
std::string LossWarnings(std::string_view name, FormatKind kind, const FilterStats& stats);

// The same for a table or a comparison, where a record of a kind the format has no rule for is
// read as text rather than dropped, and what is lost is left out of the table or comparison.
std::string TableLossWarnings(std::string_view name, FormatKind kind, const FilterStats& stats);

// The --stats line: format and what became of the records and entries.
std::string StatsLine(std::string_view name, FormatKind kind, const FilterStats& stats);

// The --stats line of a table: format, records read, rows written (the zero values left out
// unless `all`) and what the table could not read as values.
std::string TableStatsLine(std::string_view name, FormatKind kind, const FilterStats& stats,
                           std::size_t rows, bool all);

}  // namespace habuki
