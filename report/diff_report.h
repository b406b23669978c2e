#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/table/header_comparison.h"
#include "core/table/parameter_diff.h"
#include "report/report_kind.h"
#include "report/row_labels.h"

namespace habuki {

// A header line (see HeaderLines) that differs: the line of each side, none where a side has
// fewer lines.
struct HeaderChange {
  std::optional<std::string_view> before;
  std::optional<std::string_view> after;
};

// The header lines of two backups, compared line by line as text.
std::vector<HeaderChange> CompareHeaderLines(const std::vector<std::string_view>& before,
                                             const std::vector<std::string_view>& after);

// What `habuki diff` found, as its reports show it.
struct DiffFindings {
  std::string_view oldFile;
  std::string_view newFile;
  std::string formats;  // as -f takes them: "30i", or "16i,30i"
  ParameterDiff parameters;
  std::vector<HeaderChange> headers;
  std::vector<std::string> leftOut;  // what the comparison could not read, one part a side's kind
  std::size_t leftOutCount = 0;      // records and entries in it
  std::vector<AxisNames> axes;       // of each side
  const ParameterNames* names = nullptr;  // the user's names of parameters; none: no name column

  // Nothing differs and nothing was left out that might.
  bool Alike() const { return parameters.changes.empty() && headers.empty() && leftOut.empty(); }
};

// The changes as text, one line each ("N01005Q1 A4 (Z) [name]: 00000011 -> 10000011 (#7 0->1)",
// the axis and the user's name where known), or as CSV or JSON rows whose columns kReportColumns
// name.
std::string DiffReport(const DiffFindings& findings, ReportKind to);

}  // namespace habuki
