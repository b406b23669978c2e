#include "report/fleet_report.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <span>
#include <utility>

#include "core/text/display_text.h"
#include "habuki/version.h"
#include "report/bits_text.h"
#include "report/export_text.h"
#include "report/parameter_export.h"

namespace habuki {

namespace {

// A row's key, and what labels it: the axis its entry stands for, the user's name of its
// parameter where names are given.
constexpr std::string_view kKeyColumns[] = {"number", "qualifier", "entry", "axis", "name"};

std::size_t KeyColumnCount(const FleetFindings& findings) {
  return findings.names != nullptr ? 5 : 4;
}

// The labels of a line's key, after its fields.
void AppendLabels(const FleetFindings& findings, const FleetKey& key,
                  std::vector<std::string>& fields) {
  fields.push_back(AxisAcross(key.entry, findings.axes));
  if (findings.names != nullptr) fields.emplace_back(NameOf(key.number, findings.names));
}

// Gives `visit` the lines of a table: the header lines that differ (their key fields empty, a
// line shaded where it is not the first file's) where wanted, then the parameters' rows; each
// line's key fields as written and its cells.
template <typename Visit>
void ForEachLine(const FleetFindings& findings, bool headerLines, Visit visit) {
  if (headerLines) {
    std::vector<FleetCell> cells;
    for (const HeaderLineAcross& header : findings.headers) {
      cells.clear();
      for (const std::optional<std::string_view>& line : header) {
        cells.push_back({line.value_or(""), line.has_value(), line != header.front()});
      }
      visit(FleetKey{}, std::span<const FleetCell>(cells));
    }
  }
  const FleetComparison& table = findings.table;
  for (std::size_t row = 0; row < table.keys.size(); ++row) visit(table.keys[row], table.Row(row));
}

// A line's fields as a table writes them: UTF-8, a missing value empty (`present` tells), the
// bits that differ last.
void LineFields(const FleetFindings& findings, const FleetKey& key,
                std::span<const FleetCell> cells, std::vector<std::string>& fields) {
  fields = {FieldText(key.number), FieldText(key.qualifier), FieldText(key.entry)};
  AppendLabels(findings, key, fields);
  for (const FleetCell& cell : cells) fields.push_back(FieldText(cell.value));
  fields.push_back(DifferingBitsText(cells));
}

// The parameters' rows as the text shows them: escaped where needed, a missing value "-".
std::vector<std::vector<std::string>> TextLines(const FleetFindings& findings) {
  std::vector<std::vector<std::string>> lines;
  ForEachLine(findings, false, [&](const FleetKey& key, std::span<const FleetCell> cells) {
    std::vector<std::string>& line = lines.emplace_back(std::vector{
        Cp932ForMessage(key.number), Cp932ForMessage(key.qualifier), Cp932ForMessage(key.entry)});
    AppendLabels(findings, key, line);
    if (findings.names != nullptr) line.back() = EscapeControls(line.back());
    for (const FleetCell& cell : cells) {
      line.push_back(cell.present ? Cp932ForMessage(cell.value) : "-");
    }
    line.push_back(DifferingBitsText(cells));
  });
  return lines;
}

std::vector<std::string> ColumnNames(const FleetFindings& findings,
                                     std::string (*name)(std::string_view)) {
  std::vector<std::string> names(std::begin(kKeyColumns),
                                 std::begin(kKeyColumns) + KeyColumnCount(findings));
  for (const std::string_view file : findings.files) names.push_back(name(file));
  names.emplace_back("bits");
  return names;
}

void AppendAligned(std::string& out, const std::vector<std::string>& line,
                   const std::vector<std::size_t>& widths) {
  for (std::size_t i = 0; i < line.size(); ++i) {
    out += line[i];
    if (i + 1 < line.size()) out.append(widths[i] - DisplayWidth(line[i]) + 2, ' ');
  }
  out.erase(out.find_last_not_of(' ') + 1);  // a row with no bits ends at its last value
  out += '\n';
}

// Leaves out a column of the text that no line fills.
void DropEmptyColumn(std::vector<std::string>& names, std::vector<std::vector<std::string>>& lines,
                     std::size_t column) {
  if (!std::ranges::all_of(lines, [&](const auto& line) { return line[column].empty(); })) return;
  names.erase(names.begin() + static_cast<std::ptrdiff_t>(column));
  for (auto& line : lines) line.erase(line.begin() + static_cast<std::ptrdiff_t>(column));
}

// number  qualifier  entry  axis  a.txt     b.txt     c.txt  bits
// 01005   Q1         A5     B     00000011  00000111  -      #2
// 1 row(s) differ among 3 files; header lines of c.txt differ from a.txt's; left out: ...
// The axis and bits columns stand only where some row fills them.
std::string TextReport(const FleetFindings& findings) {
  std::vector<std::string> names = ColumnNames(findings, DisplayName);
  // The text tells only whose header lines differ: a header line can be as long as a screen.
  std::vector<std::vector<std::string>> lines = TextLines(findings);
  DropEmptyColumn(names, lines, names.size() - 1);
  DropEmptyColumn(names, lines, 3);
  std::string out;
  if (!lines.empty()) {
    std::vector<std::size_t> widths(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) widths[i] = DisplayWidth(names[i]);
    for (const auto& line : lines) {
      for (std::size_t i = 0; i < line.size(); ++i)
        widths[i] = std::max(widths[i], DisplayWidth(line[i]));
    }
    AppendAligned(out, names, widths);
    for (const auto& line : lines) AppendAligned(out, line, widths);
  }
  out += std::to_string(findings.table.differing) + " row(s) differ among " +
         std::to_string(findings.files.size()) + " files";
  for (std::size_t i = 0; i < findings.headersDiffering.size(); ++i) {
    out += (i == 0 ? "; header lines of " : ", ") +
           DisplayName(findings.files[findings.headersDiffering[i]]);
  }
  if (!findings.headersDiffering.empty()) {
    out += " differ from " + DisplayName(findings.files.front()) + "'s";
  }
  for (std::size_t i = 0; i < findings.leftOut.size(); ++i) {
    out += (i == 0 ? "; left out: " : ", ") + findings.leftOut[i];
  }
  for (std::size_t i = 0; i < findings.notCompared.size(); ++i) {
    out += (i == 0 ? "; not compared: " : ", ") + DisplayName(findings.notCompared[i].given);
  }
  return out + "\n";
}

std::string AsGiven(std::string_view name) { return std::string(name); }

constexpr std::string_view kFileColumns[] = {
    "file",         "full path", "size (bytes)", "modified",     "format",
    "records read", "values",    "differences",  "header lines", "not compared"};

std::vector<std::string> FileRow(const FleetFile& file) {
  std::string headerLines;
  for (const std::string_view line : file.headerLines) {
    headerLines += (headerLines.empty() ? "" : "\n") + FieldText(line);
  }
  return {file.given,       file.path,   file.size,        file.modified, file.format,
          file.recordsRead, file.values, file.differences, headerLines,   file.notCompared};
}

// What the shading compares with, in the words of the legend.
std::string ShadingMeaning(const FleetFindings& findings) {
  if (findings.against) return "the value differs from " + *findings.against + "'s";
  if (findings.compared.size() < 3) return "the value differs from the first file's";
  return "the value differs from the value most files have in its row (the first file's where "
         "no one value has the most)";
}

// Each file's facts, then the legend and what made the workbook.
std::vector<std::vector<std::string>> FilesSheet(const FleetFindings& findings) {
  std::vector<std::vector<std::string>> rows;
  rows.emplace_back(std::begin(kFileColumns), std::end(kFileColumns));
  for (const FleetFile& file : findings.compared) rows.push_back(FileRow(file));
  for (const FleetFile& file : findings.notCompared) rows.push_back(FileRow(file));
  rows.emplace_back();
  rows.push_back({"shaded", ShadingMeaning(findings)});
  rows.push_back({"-", "the file has no such parameter"});
  rows.push_back({"bits", "the bits of a bit parameter that differ between the files"});
  rows.push_back({"command", findings.commandLine});
  rows.push_back({"habuki", kVersionText});
  rows.push_back({"made", findings.made});
  return rows;
}

// Written as the lines come, so that a table of every row is not held twice.
std::string CsvReport(const FleetFindings& findings) {
  std::string out;
  std::vector<std::string> fields = ColumnNames(findings, AsGiven);
  std::vector<std::string_view> views(fields.begin(), fields.end());
  AppendCsvRow(out, views);
  ForEachLine(findings, true, [&](const FleetKey& key, std::span<const FleetCell> cells) {
    LineFields(findings, key, cells, fields);
    views.assign(fields.begin(), fields.end());
    AppendCsvRow(out, views);
  });
  return out;
}

// An array of strings, or null where `text` gives none.
void AppendJsonArray(std::string& out, const auto& values, auto text) {
  out += '[';
  bool first = true;
  for (const auto& value : values) {
    if (!std::exchange(first, false)) out += ", ";
    if (const std::optional<std::string> utf8 = text(value)) {
      AppendJsonString(out, *utf8);
    } else {
      out += "null";
    }
  }
  out += ']';
}

std::optional<std::string> NameText(std::string_view name) { return std::string(name); }

// A JSON string, or null for an empty text.
void AppendJsonStringOrNull(std::string& out, std::string_view text) {
  if (text.empty()) {
    out += "null";
  } else {
    AppendJsonString(out, text);
  }
}

std::optional<std::string> HeaderText(std::optional<std::string_view> line) {
  return line ? std::optional(FieldText(*line)) : std::nullopt;
}

std::optional<std::string> CellText(const FleetCell& cell) {
  return cell.present ? std::optional(FieldText(cell.value)) : std::nullopt;
}

// {"files": [...], "formats": [...], "headers": [[...]], "parameters": [
//   {"number": "01005", "qualifier": "Q1", "entry": "A5", "values": ["00000011", null, "0"]}
// ], "counts": {"differing": 1, "header lines": 0, "left out": 0}}
std::string JsonReport(const FleetFindings& findings) {
  std::string out = "{\"files\": ";
  AppendJsonArray(out, findings.files, NameText);
  out += ", \"formats\": ";
  AppendJsonArray(out, findings.formats, NameText);
  out += ", \"not compared\": ";
  AppendJsonArray(out, findings.notCompared,
                  [](const FleetFile& file) { return NameText(file.given); });
  out += ", \"header lines\": [";
  for (const FleetFile& file : findings.compared) {
    if (&file != &findings.compared.front()) out += ", ";
    AppendJsonArray(out, file.headerLines, NameText);
  }
  out += "], \"headers\": [";
  for (const HeaderLineAcross& header : findings.headers) {
    if (&header != &findings.headers.front()) out += ", ";
    AppendJsonArray(out, header, HeaderText);
  }
  out += "], \"parameters\": [";
  const FleetComparison& table = findings.table;
  for (std::size_t row = 0; row < table.keys.size(); ++row) {
    const FleetKey& key = table.keys[row];
    out += row == 0 ? "\n  {" : ",\n  {";
    const std::string_view fields[] = {key.number, key.qualifier, key.entry};
    for (std::size_t i = 0; i < std::size(fields); ++i) {
      AppendJsonString(out, kKeyColumns[i]);
      out += ": ";
      AppendJsonString(out, FieldText(fields[i]));
      out += ", ";
    }
    out += "\"axis\": ";
    AppendJsonStringOrNull(out, AxisAcross(key.entry, findings.axes));
    if (findings.names != nullptr) {
      out += ", \"name\": ";
      AppendJsonStringOrNull(out, NameOf(key.number, findings.names));
    }
    out += ", \"values\": ";
    AppendJsonArray(out, table.Row(row), CellText);
    out += ", \"bits\": ";
    AppendJsonStringOrNull(out, DifferingBitsText(table.Row(row)));
    out += '}';
  }
  out += table.keys.empty() ? "]" : "\n]";
  out += ", \"counts\": {\"differing\": " + std::to_string(table.differing) +
         ", \"header lines\": " + std::to_string(findings.headers.size()) +
         ", \"left out\": " + std::to_string(findings.leftOutCount) + "}}\n";
  return out;
}

}  // namespace

void CompareFleetHeaders(const std::vector<std::vector<std::string_view>>& lines,
                         FleetFindings& findings) {
  findings.headers = DifferingHeaderLines(lines);
  for (std::size_t file = 1; file < lines.size(); ++file) {
    const bool differs =
        std::any_of(findings.headers.begin(), findings.headers.end(),
                    [&](const HeaderLineAcross& line) { return line[file] != line.front(); });
    if (differs) findings.headersDiffering.push_back(file);
  }
}

XlsxWorkbook FleetWorkbook(const FleetFindings& findings) {
  const std::vector<std::string> names = ColumnNames(findings, AsGiven);
  const std::vector<std::string_view> header(names.begin(), names.end());
  const std::size_t keys = KeyColumnCount(findings);
  XlsxSheet sheet(header, {}, keys);
  std::vector<std::string> texts;
  std::vector<std::optional<std::string_view>> cells;
  const auto shaded = std::make_unique<bool[]>(names.size());
  ForEachLine(findings, true, [&](const FleetKey& key, std::span<const FleetCell> values) {
    LineFields(findings, key, values, texts);
    cells.assign(texts.begin(), texts.end());
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (!values[i].present) cells[keys + i] = "-";
      shaded[keys + i] = values[i].differs;
    }
    sheet.AddRow(cells, std::span<const bool>(shaded.get(), names.size()));
  });
  sheet.AddTextSheet("Files", FilesSheet(findings));
  return sheet.Finish();
}

std::string FleetReport(const FleetFindings& findings, ReportKind to) {
  switch (to) {
    case ReportKind::Text:
      return TextReport(findings);
    case ReportKind::Csv:
      return CsvReport(findings);
    case ReportKind::Json:
      return JsonReport(findings);
    case ReportKind::Xlsx:
      break;  // a workbook: FleetWorkbook
  }
  return {};
}

}  // namespace habuki
