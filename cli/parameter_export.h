#pragma once

#include <string>
#include <string_view>

#include "cli/cli_options.h"
#include "core/parameter_table.h"

namespace habuki {

// A field of a backup as UTF-8 for a table or report: CP932 converted, bytes that are no CP932
// as U+FFFD. Plain ASCII, which nearly every field is, is taken as it stands.
std::string FieldText(std::string_view cp932);

// The parameters of a loaded text as a table (--to csv or json): the non-zero rows, or all of
// them with `all`. `file` names the input in a JSON document.
struct ParameterExport {
  std::string text;  // UTF-8
  ParameterReading reading;
};
ParameterExport ExportParameters(const FilterState& state, FormatKind kind, ExportKind to, bool all,
                                 std::string_view file);

}  // namespace habuki
