#include "report/diff_report.h"

#include <algorithm>
#include <array>
#include <utility>

#include "core/text/display_text.h"
#include "report/bits_text.h"
#include "report/export_text.h"
#include "report/parameter_export.h"

namespace habuki {

namespace {

const ParameterRow& KeyOf(const ParameterChange& change) {
  return change.before ? *change.before : *change.after;
}

std::string_view ChangeName(const ParameterChange& change) {
  switch (KindOf(change)) {
    case ChangeKind::Added:
      return "added";
    case ChangeKind::Removed:
      return "removed";
    case ChangeKind::SetToZero:
      return "set to 0";
    case ChangeKind::Changed:
      break;
  }
  return "changed";
}

// As the text report shows a value: escaped where it is no CP932 or a control character, so that
// what differs looks different; a missing one as "-".
std::string Shown(std::optional<std::string_view> value) {
  return value ? Cp932ForMessage(*value) : "-";
}

std::optional<std::string_view> ValueOf(const std::optional<ParameterRow>& row) {
  return row ? std::optional(row->value) : std::nullopt;
}

// The bits of a bit parameter that changed, "#7 0->1, #0 1->0"; empty where a side has no row
// or a value that is no bit pattern.
std::string BitsText(const ParameterChange& change) {
  if (!change.before || !change.after) return {};
  return BitChangesText(change.before->value, change.after->value);
}

// header: (PMC=0I-F,MSID=1) -> (PMC=0I-F,MSID=2)
// N01005Q1 A4: 00000011 -> 10000011 (#7 0->1)
// 1 changed, 0 added, 0 removed, 0 set to 0, 1 header line(s) differ; left out: ...
std::string TextReport(const DiffFindings& findings) {
  std::string out;
  for (const HeaderChange& change : findings.headers) {
    out += "header: " + Shown(change.before) + " -> " + Shown(change.after) + "\n";
  }
  const ParameterDiff& diff = findings.parameters;
  for (const ParameterChange& change : diff.changes) {
    const ParameterRow& key = KeyOf(change);
    out += "N" + Cp932ForMessage(key.number) + Cp932ForMessage(key.qualifier);
    if (!key.entry.empty()) out += " " + Cp932ForMessage(key.entry);
    if (const std::string axis = AxisAcross(key.entry, findings.axes); !axis.empty()) {
      out += " (" + axis + ")";
    }
    if (const std::string_view name = NameOf(key.number, findings.names); !name.empty()) {
      out += " [" + std::string(name) + "]";
    }
    out += ": " + Shown(ValueOf(change.before)) + " -> " + Shown(ValueOf(change.after));
    if (const std::string bits = BitsText(change); !bits.empty()) out += " (" + bits + ")";
    out += "\n";
  }
  out += std::to_string(diff.changed) + " changed, " + std::to_string(diff.added) + " added, " +
         std::to_string(diff.removed) + " removed, " + std::to_string(diff.setToZero) + " set to 0";
  if (!findings.headers.empty()) {
    out += ", " + std::to_string(findings.headers.size()) + " header line(s) differ";
  }
  for (std::size_t i = 0; i < findings.leftOut.size(); ++i) {
    out += (i == 0 ? "; left out: " : ", ") + findings.leftOut[i];
  }
  return out + "\n";
}

// Columns are only added at the end, so that those a reader takes by position stay where they
// were; name stands only where the user names parameters.
constexpr std::string_view kReportColumns[] = {"number", "qualifier", "entry", "old", "new",
                                               "change", "bits",      "axis",  "name"};
constexpr std::size_t kReportWidth = std::size(kReportColumns);
using ReportRow = std::array<std::optional<std::string>, kReportWidth>;

std::size_t ReportWidth(const DiffFindings& findings) {
  return findings.names != nullptr ? kReportWidth : kReportWidth - 1;
}

std::optional<std::string> Label(std::string text) {
  return text.empty() ? std::nullopt : std::optional(std::move(text));
}

std::optional<std::string> FieldOf(std::optional<std::string_view> value) {
  return value ? std::optional(FieldText(*value)) : std::nullopt;
}

// Every difference's fields in the order of kReportColumns, an absent value nullopt, as are the
// bits where no bit of a bit parameter changed; a header line's row has no number, qualifier or
// entry.
std::vector<ReportRow> ReportRows(const DiffFindings& findings) {
  std::vector<ReportRow> rows;
  for (const HeaderChange& change : findings.headers) {
    rows.push_back({"", "", "", FieldOf(change.before), FieldOf(change.after), "header",
                    std::nullopt, std::nullopt, std::nullopt});
  }
  for (const ParameterChange& change : findings.parameters.changes) {
    const ParameterRow& key = KeyOf(change);
    rows.push_back({FieldText(key.number), FieldText(key.qualifier), FieldText(key.entry),
                    FieldOf(ValueOf(change.before)), FieldOf(ValueOf(change.after)),
                    std::string(ChangeName(change)), Label(BitsText(change)),
                    Label(AxisAcross(key.entry, findings.axes)),
                    Label(std::string(NameOf(key.number, findings.names)))});
  }
  return rows;
}

std::string CsvReport(const DiffFindings& findings) {
  std::string out;
  const std::size_t width = ReportWidth(findings);
  AppendCsvRow(out, std::span(kReportColumns, width));
  for (const ReportRow& fields : ReportRows(findings)) {
    std::array<std::string_view, kReportWidth> row;
    std::transform(fields.begin(), fields.end(), row.begin(),
                   [](const auto& field) { return field ? std::string_view(*field) : ""; });
    AppendCsvRow(out, std::span(row.data(), width));
  }
  return out;
}

std::string JsonReport(const DiffFindings& findings) {
  std::string out = "{\"old\": ";
  AppendJsonString(out, findings.oldFile);
  out += ", \"new\": ";
  AppendJsonString(out, findings.newFile);
  out += ", \"format\": ";
  AppendJsonString(out, findings.formats);
  out += ", \"differences\": [";
  const std::size_t width = ReportWidth(findings);
  JsonRows json(std::span(kReportColumns, width));
  for (const ReportRow& fields : ReportRows(findings)) {
    std::array<std::optional<std::string_view>, kReportWidth> row;
    std::copy(fields.begin(), fields.end(), row.begin());
    json.Append(out, std::span(row.data(), width));
  }
  json.End(out);
  const ParameterDiff& diff = findings.parameters;
  const std::pair<std::string_view, std::size_t> counts[] = {
      {"changed", diff.changed},
      {"added", diff.added},
      {"removed", diff.removed},
      {"set to 0", diff.setToZero},
      {"header lines", findings.headers.size()},
      {"left out", findings.leftOutCount}};
  out += ", \"counts\": {";
  for (const auto& [name, count] : counts) {
    if (name != counts[0].first) out += ", ";
    AppendJsonString(out, name);
    out += ": " + std::to_string(count);
  }
  out += "}}\n";
  return out;
}

}  // namespace

std::vector<HeaderChange> CompareHeaderLines(const std::vector<std::string_view>& before,
                                             const std::vector<std::string_view>& after) {
  std::vector<HeaderChange> changes;
  for (const HeaderLineAcross& line : DifferingHeaderLines({before, after})) {
    changes.push_back({line[0], line[1]});
  }
  return changes;
}

std::string DiffReport(const DiffFindings& findings, ReportKind to) {
  switch (to) {
    case ReportKind::Text:
      return TextReport(findings);
    case ReportKind::Csv:
      return CsvReport(findings);
    case ReportKind::Json:
      return JsonReport(findings);
    case ReportKind::Xlsx:
      break;  // a workbook is always the table of one column a file
  }
  return {};
}

}  // namespace habuki
