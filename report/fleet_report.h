#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/table/fleet_comparison.h"
#include "core/table/header_comparison.h"
#include "report/report_kind.h"
#include "report/xlsx_sheet.h"

namespace habuki {

// What `habuki diff` of three or more files found, as its table shows it.
struct FleetFindings {
  std::vector<std::string_view> files;  // as given
  std::vector<std::string_view> formats;
  FleetComparison table;
  std::vector<HeaderLineAcross> headers;      // the header lines not the same in every file
  std::vector<std::size_t> headersDiffering;  // the files whose header lines are not the first's
  std::vector<std::string> leftOut;  // what the comparison could not read, one part a file's kind
  std::size_t leftOutCount = 0;      // records and entries in it
  std::vector<std::string> notCompared;  // the files left out, as given: they could not be read

  // Nothing differs and nothing was left out that might.
  bool Alike() const {
    return table.differing == 0 && headers.empty() && leftOut.empty() && notCompared.empty();
  }
};

// The header lines of the files compared line by line as text: the lines that differ, and the
// files whose lines are not the first file's.
void CompareFleetHeaders(const std::vector<std::vector<std::string_view>>& lines,
                         FleetFindings& findings);

// The table as text, CSV or JSON.
std::string FleetReport(const FleetFindings& findings, ReportKind to);

// The table as a workbook: every cell text, the cells whose value is not the first file's
// shaded, a missing value an empty cell.
XlsxWorkbook FleetWorkbook(const FleetFindings& findings);

}  // namespace habuki
