#include "cli/parameter_export.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "cli/export_text.h"
#include "core/display_text.h"

namespace habuki {

namespace {

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

constexpr std::string_view kColumns[] = {"number", "qualifier", "entry", "marker", "value", "line"};

// A row's fields in the order of kColumns, as UTF-8. Plain ASCII fields, nearly all of them,
// stay views of the text; only the others are converted, into `converted`.
std::array<std::string_view, 6> Fields(const ParameterRow& row,
                                       std::array<std::string, 6>& converted, char (&line)[24]) {
  const std::string_view cp932[] = {row.number, row.qualifier, row.entry, row.marker, row.value};
  std::array<std::string_view, 6> fields;
  for (std::size_t i = 0; i < 5; ++i) {
    fields[i] =
        IsAscii(cp932[i]) ? cp932[i] : std::string_view(converted[i] = Cp932ToUtf8(cp932[i]));
  }
  fields[5] = std::string_view(
      line, static_cast<std::size_t>(std::to_chars(line, line + sizeof line, row.line).ptr - line));
  return fields;
}

}  // namespace

std::string FieldText(std::string_view cp932) {
  return IsAscii(cp932) ? std::string(cp932) : Cp932ToUtf8(cp932);
}

ParameterExport ExportParameters(const FilterState& state, FormatKind kind, ExportKind to, bool all,
                                 std::string_view file) {
  ParameterExport result;
  std::string& out = result.text;
  // Room for the whole table at once: a table of every value is several times the text, and
  // growing it step by step would copy it each time. Room never written costs no memory.
  const std::size_t perByte = (to == ExportKind::Json ? 12 : 4) * (all ? 1 : 0) + 1;
  out.reserve(state.AllText.Bytes().size() * perByte + 256);
  JsonRows json(kColumns);
  if (to == ExportKind::Csv) {
    AppendCsvRow(out, kColumns);
  } else {
    out += "{\"file\": ";
    AppendJsonString(out, file);  // a file name is the system's bytes, UTF-8 as a rule
    out += ", \"format\": ";
    AppendJsonString(out, FormatName(kind));
    out += ", \"parameters\": [";
  }
  const RowsWanted wanted = all ? RowsWanted::All : RowsWanted::NonZero;
  std::array<std::string, 6> converted;
  char line[24];
  result.reading = ReadParameters(state, kind, wanted, [&](const ParameterRow& row) {
    const std::array<std::string_view, 6> fields = Fields(row, converted, line);
    if (to == ExportKind::Csv) {
      AppendCsvRow(out, fields);
    } else {
      std::array<std::optional<std::string_view>, 6> values;
      std::copy(fields.begin(), fields.end(), values.begin());
      json.Append(out, values);
    }
  });
  if (to == ExportKind::Json) json.End(out);
  return result;
}

}  // namespace habuki
