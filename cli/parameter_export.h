#pragma once

#include <string>
#include <string_view>

#include "cli/cli_options.h"
#include "core/parameter_table.h"

namespace habuki {

// A field of a backup as UTF-8 for a table or report: CP932 converted, bytes that are no CP932
// as U+FFFD. Plain ASCII, which nearly every field is, is taken as it stands.
std::string FieldText(std::string_view cp932);

// How a table stands in what is written: alone, or as one of several inputs' tables in one
// document on standard output, where CSV rows start with a `file` column and JSON objects stand
// in a "files" array.
enum class TablePart { Whole, Member };

// The parameters of a loaded text as a table (--to csv or json): the non-zero rows, or all of
// them with `all`. `file` names the input in a JSON document and in a member's rows.
struct ParameterExport {
  std::string text;  // UTF-8
  ParameterReading reading;
  std::size_t rows = 0;  // rows written
};
ParameterExport ExportParameters(const FilterState& state, FormatKind kind, ExportKind to, bool all,
                                 std::string_view file, TablePart part = TablePart::Whole);

// What stands before and after the members of a document of several tables; JSON members are
// joined by kJsonMemberSeparator.
std::string TablesOpening(ExportKind to);
std::string TablesClosing(ExportKind to);
inline constexpr std::string_view kJsonMemberSeparator = ",\n";

}  // namespace habuki
