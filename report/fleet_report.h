#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/table/fleet_comparison.h"
#include "core/table/header_comparison.h"
#include "report/report_kind.h"
#include "report/row_labels.h"
#include "report/xlsx_sheet.h"

namespace habuki {

// What the workbook's sheet of files tells of one file, compared or left out.
struct FleetFile {
  std::string given;     // as named
  std::string path;      // the full path; empty for standard input
  std::string size;      // the bytes read
  std::string modified;  // "2026-12-08 22:56:59 UTC"; empty where it is not known
  std::string format;    // "30i (guessed)", "16i (given)"
  std::string recordsRead;
  std::string values;       // the values that are not 0
  std::string differences;  // its values that differ from the row's reference (shaded)
  std::vector<std::string_view> headerLines;
  std::string notCompared;  // why it was left out; empty for a file compared
};

// What `habuki diff` of three or more files found, as its table shows it.
struct FleetFindings {
  std::vector<std::string_view> files;  // as given
  std::vector<std::string_view> formats;
  FleetComparison table;
  std::vector<HeaderLineAcross> headers;      // the header lines not the same in every file
  std::vector<std::size_t> headersDiffering;  // the files whose header lines are not the first's
  std::vector<std::string> leftOut;  // what the comparison could not read, one part a file's kind
  std::size_t leftOutCount = 0;      // records and entries in it
  std::vector<AxisNames> axes;       // each compared file's
  const ParameterNames* names = nullptr;  // the user's names of parameters; none: no name column
  std::vector<FleetFile> compared;        // the files compared, in the columns' order
  std::vector<FleetFile> notCompared;     // the files left out: they could not be read or used
  // What the workbook says of itself: the run that made it, when (UTC), and the file the
  // shading compares with (--against); none: the value most files have.
  std::string commandLine;
  std::string made;
  std::optional<std::string> against;

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

// The table as a workbook: the sheet "Parameters", every cell text, the cells whose value is not
// the row's reference shaded (see FleetReference), a missing value "-", the key columns and the
// header row printed on every page; and the sheet "Files", each file's facts, then what the
// shading means and what made the workbook.
XlsxWorkbook FleetWorkbook(const FleetFindings& findings);

}  // namespace habuki
