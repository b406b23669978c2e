#include "cli/fleet_report.h"

#include <algorithm>
#include <memory>
#include <span>

#include "cli/export_text.h"
#include "cli/messages.h"
#include "cli/parameter_export.h"
#include "core/text/display_text.h"

namespace habuki {

namespace {

constexpr std::string_view kKeyColumns[] = {"number", "qualifier", "entry"};

std::optional<std::string_view> ValueOf(const FleetCell& cell) {
  return cell.present ? std::optional(cell.value) : std::nullopt;
}

// Gives `visit` the lines of a table: the header lines that differ (their key fields empty, a
// line shaded where it is not the first file's) where wanted, then the parameters' rows; each
// line's key fields as written and its cells.
template <typename Visit>
void ForEachLine(const FleetFindings& findings, bool headerLines, Visit visit) {
  if (headerLines) {
    std::vector<FleetCell> cells;
    for (const FleetHeaderLine& header : findings.headers) {
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

// A table's lines as fields: `field` makes a field of a backup's bytes, `missing` stands for a
// value a file does not have.
template <typename Field>
std::vector<std::vector<std::string>> TableLines(const FleetFindings& findings, Field field,
                                                 std::string_view missing, bool headerLines) {
  std::vector<std::vector<std::string>> lines;
  ForEachLine(findings, headerLines, [&](const FleetKey& key, std::span<const FleetCell> cells) {
    std::vector<std::string>& line =
        lines.emplace_back(std::vector{field(key.number), field(key.qualifier), field(key.entry)});
    for (const FleetCell& cell : cells) {
      line.push_back(cell.present ? field(cell.value) : std::string(missing));
    }
  });
  return lines;
}

std::vector<std::string> ColumnNames(const FleetFindings& findings,
                                     std::string (*name)(std::string_view)) {
  std::vector<std::string> names(std::begin(kKeyColumns), std::end(kKeyColumns));
  for (const std::string_view file : findings.files) names.push_back(name(file));
  return names;
}

// What a terminal shows of a text as wide as it is: the characters of its UTF-8.
std::size_t Width(std::string_view utf8) {
  return static_cast<std::size_t>(
      std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

void AppendAligned(std::string& out, const std::vector<std::string>& line,
                   const std::vector<std::size_t>& widths) {
  for (std::size_t i = 0; i < line.size(); ++i) {
    out += line[i];
    if (i + 1 < line.size()) out.append(widths[i] - Width(line[i]) + 2, ' ');
  }
  out += '\n';
}

// number  qualifier  entry  a.txt     b.txt     c.txt
// 01005   Q1         A5     00000011  00000111  -
// 1 row(s) differ among 3 files; header lines of c.txt differ from a.txt's; left out: ...
std::string TextReport(const FleetFindings& findings) {
  const std::vector<std::string> names = ColumnNames(findings, DisplayName);
  // The text tells only whose header lines differ: a header line can be as long as a screen.
  const std::vector<std::vector<std::string>> lines = TableLines(
      findings, [](std::string_view bytes) { return Cp932ForMessage(bytes); }, "-", false);
  std::string out;
  if (!lines.empty()) {
    std::vector<std::size_t> widths(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) widths[i] = Width(names[i]);
    for (const auto& line : lines) {
      for (std::size_t i = 0; i < line.size(); ++i) widths[i] = std::max(widths[i], Width(line[i]));
    }
    AppendAligned(out, names, widths);
    for (const auto& line : lines) AppendAligned(out, line, widths);
  }
  out += std::to_string(findings.table.differing) + " row(s) differ among " +
         std::to_string(findings.files.size()) + " files";
  for (std::size_t i = 0; i < findings.headersDiffering.size(); ++i) {
    out += (i == 0 ? "; header lines of " : ", ") + names[3 + findings.headersDiffering[i]];
  }
  if (!findings.headersDiffering.empty()) out += " differ from " + names[3] + "'s";
  for (std::size_t i = 0; i < findings.leftOut.size(); ++i) {
    out += (i == 0 ? "; left out: " : ", ") + findings.leftOut[i];
  }
  return out + "\n";
}

std::string AsGiven(std::string_view name) { return std::string(name); }

std::string CsvReport(const FleetFindings& findings) {
  std::string out;
  const auto appendRow = [&](const std::vector<std::string>& fields) {
    const std::vector<std::string_view> views(fields.begin(), fields.end());
    AppendCsvRow(out, views);
  };
  appendRow(ColumnNames(findings, AsGiven));
  for (const auto& line : TableLines(findings, FieldText, "", true)) appendRow(line);
  return out;
}

void AppendJsonArray(std::string& out, const auto& values, auto valueOf) {
  out += '[';
  bool first = true;
  for (const auto& value : values) {
    if (!std::exchange(first, false)) out += ", ";
    const std::optional<std::string_view> text = valueOf(value);
    if (text) {
      AppendJsonString(out, FieldText(*text));
    } else {
      out += "null";
    }
  }
  out += ']';
}

std::optional<std::string_view> Itself(std::optional<std::string_view> text) { return text; }

// {"files": [...], "formats": [...], "headers": [[...]], "parameters": [
//   {"number": "01005", "qualifier": "Q1", "entry": "A5", "values": ["00000011", null, "0"]}
// ], "counts": {"differing": 1, "header lines": 0, "left out": 0}}
std::string JsonReport(const FleetFindings& findings) {
  std::string out = "{\"files\": ";
  AppendJsonArray(out, findings.files, [](std::string_view name) { return std::optional(name); });
  out += ", \"formats\": ";
  AppendJsonArray(out, findings.formats, [](std::string_view name) { return std::optional(name); });
  out += ", \"headers\": [";
  for (const FleetHeaderLine& header : findings.headers) {
    if (&header != &findings.headers.front()) out += ", ";
    AppendJsonArray(out, header, Itself);
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
    out += "\"values\": ";
    AppendJsonArray(out, table.Row(row), ValueOf);
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
  std::size_t longest = 0;
  for (const auto& file : lines) longest = std::max(longest, file.size());
  const auto lineOf = [](const std::vector<std::string_view>& file, std::size_t i) {
    return i < file.size() ? std::optional(file[i]) : std::nullopt;
  };
  std::vector<bool> differs(lines.size(), false);
  for (std::size_t i = 0; i < longest; ++i) {
    FleetHeaderLine line;
    for (const auto& file : lines) line.push_back(lineOf(file, i));
    for (std::size_t file = 1; file < line.size(); ++file) {
      if (line[file] != line.front()) differs[file] = true;
    }
    if (std::adjacent_find(line.begin(), line.end(), std::not_equal_to<>()) != line.end()) {
      findings.headers.push_back(std::move(line));
    }
  }
  for (std::size_t file = 1; file < differs.size(); ++file) {
    if (differs[file]) findings.headersDiffering.push_back(file);
  }
}

XlsxWorkbook FleetWorkbook(const FleetFindings& findings) {
  const std::vector<std::string> names = ColumnNames(findings, AsGiven);
  const std::vector<std::string_view> header(names.begin(), names.end());
  XlsxSheet sheet(header);
  std::vector<std::string> texts;
  std::vector<std::optional<std::string_view>> cells;
  const auto shaded = std::make_unique<bool[]>(names.size());
  ForEachLine(findings, true, [&](const FleetKey& key, std::span<const FleetCell> values) {
    texts = {FieldText(key.number), FieldText(key.qualifier), FieldText(key.entry)};
    for (const FleetCell& cell : values) texts.push_back(FieldText(cell.value));
    cells.assign(texts.begin(), texts.end());
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (!values[i].present) cells[3 + i] = std::nullopt;
      shaded[3 + i] = values[i].differs;
    }
    sheet.AddRow(cells, std::span<const bool>(shaded.get(), names.size()));
  });
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
