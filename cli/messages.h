#pragma once

#include <string>
#include <string_view>

#include "core/filter/filter_state.h"
#include "core/filter/format_guess.h"
#include "core/filter/record_heads.h"
#include "core/filter/run_filter.h"
#include "core/filter/text_looks.h"
#include "core/io/output_plan.h"
#include "core/io/param_file.h"
#include "core/text/display_text.h"

namespace habuki {

// "habuki: NAME: what[: reason]" and a line break.
std::string FileProblem(std::string_view name, std::string_view what, std::string_view reason);

// Why a file could not be loaded ("cannot read: ...", "file is too large: ...", "file is
// empty"); empty when it was loaded.
std::string LoadProblem(std::string_view name, const LoadResult& loaded);

// Why the output plan keeps a result from being written, and what makes it refuse a whole run.
std::string RefusalMessage(std::string_view input, const PlannedOutput& output);
std::string ClashMessage(const TargetClash& clash);

// Why a file is refused before it is read: it holds no record head of the format `given`, or of
// any format when none is given (what it holds instead, or what it looks like, is told); or it
// holds heads of several formats.
std::string NoParameterFileMessage(std::string_view name, std::optional<FormatKind> given,
                                   const FormatGuess& guess, const TextLooks& looks);
std::string SeveralFormatsMessage(std::string_view name, const FormatGuess& guess);

// One line for each parameter that stands more than once in a file, with the lines of its
// records, the first ten of them; empty when there is none.
std::string RepeatsMessage(std::string_view name, const std::vector<RepeatedRecord>& repeats);

// "habuki: NAME:LINE:COLUMN: what failed: TEXT", or the line that is no record, and a line
// break.
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
