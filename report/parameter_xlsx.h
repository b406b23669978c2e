#pragma once

#include <string_view>

#include "report/parameter_export.h"
#include "report/xlsx_sheet.h"

namespace habuki {

// The parameters of backups as a workbook (--to xlsx): the rows and columns of the CSV table,
// a document of several inputs with its `file` column first, every cell text but the line.
class ParameterWorkbook {
 public:
  // `names`: the user's names of parameters, for a name column; none: no such column.
  ParameterWorkbook(TablePart part, const ParameterNames* names);

  // Adds the parameters of a loaded text: the non-zero rows, or all of them with `all`; `file`
  // names the input in a member's rows. The text is read through once first, so that one that
  // breaks the filter's rules (the reading says so) adds no row to a sheet that may hold other
  // inputs' rows, and a table too long for a sheet fails before any of it is written.
  TableExport Add(const FilterState& state, FormatKind kind, bool all, std::string_view file);

  XlsxWorkbook Finish() { return sheet_.Finish(); }

 private:
  TablePart part_;
  const ParameterNames* names_;
  XlsxSheet sheet_;
};

}  // namespace habuki
