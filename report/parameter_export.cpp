#include "report/parameter_export.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "core/filter/format_profile.h"
#include "core/filter/header_lines.h"
#include "core/text/display_text.h"
#include "report/export_text.h"

namespace habuki {

namespace {

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

// Plain ASCII fields, nearly all of them, stay views of the text; only the others are
// converted.
std::array<std::string_view, 8> TableFields(const ParameterRow& row, const RowLabels& labels,
                                            std::array<std::string, 6>& converted,
                                            char (&line)[24]) {
  const std::string_view cp932[] = {row.number, row.qualifier, row.entry, row.marker, row.value};
  std::array<std::string_view, 8> fields;
  for (std::size_t i = 0; i < 5; ++i) {
    fields[i] =
        IsAscii(cp932[i]) ? cp932[i] : std::string_view(converted[i] = Cp932ToUtf8(cp932[i]));
  }
  fields[5] = std::string_view(
      line, static_cast<std::size_t>(std::to_chars(line, line + sizeof line, row.line).ptr - line));
  fields[6] = labels.axes.NameOf(row.entry);
  fields[7] = NameOf(row.number, labels.names);
  return fields;
}

std::string FieldText(std::string_view cp932) {
  return IsAscii(cp932) ? std::string(cp932) : Cp932ToUtf8(cp932);
}

namespace {

// The table as it is made: sent on a chunk at a time, once the text is known to read through;
// dropped from the moment that the text fails or the writer does.
class TableBuffer {
 public:
  TableBuffer(const FilterState& state, FormatKind kind, const TableWriter& write,
              std::size_t expected)
      : state_(state),
        kind_(kind),
        write_(write),
        chunk_(std::max(kTableChunk, 2 * state.AllText.Bytes().size())) {
    // Room for the whole table at once where it is small: growing it step by step would copy
    // it each time. Room never written costs no memory.
    out_.reserve(std::min(expected, chunk_ + (64 << 10)));
  }

  std::string& out() { return out_; }

  // After each row: a full chunk goes to the writer.
  void RowDone() {
    if (out_.size() < chunk_) return;
    if (!checked_) {
      checked_ = true;
      const auto ignore = [](const ParameterRow&) {};
      if (ReadParameters(state_, kind_, RowsWanted::NonZero, ignore).error) dropped_ = true;
    }
    Send();
  }

  // The rest, unless the text failed; gives the writer's first error.
  std::error_code Finish(bool failed) {
    if (failed) dropped_ = true;
    Send();
    return error_;
  }

 private:
  void Send() {
    if (!dropped_ && !out_.empty()) error_ = write_(out_);
    if (error_) dropped_ = true;
    out_.clear();
  }

  const FilterState& state_;
  FormatKind kind_;
  const TableWriter& write_;
  // Twice the text, which nearly every table of the non-zero values stays within, so that it is
  // written at once with no reading beforehand; a table of every value is larger.
  const std::size_t chunk_;
  std::string out_;
  bool checked_ = false;
  bool dropped_ = false;
  std::error_code error_;
};

}  // namespace

TableExport WriteParameterTable(const FilterState& state, FormatKind kind,
                                const TableChoice& choice, std::string_view file,
                                std::string_view lead, const TableWriter& write) {
  TableExport result;
  const bool member = choice.part == TablePart::Member;
  const bool csv = choice.to == ExportKind::Csv;
  const std::size_t columns = TableColumnCount(choice.names != nullptr);
  const std::size_t perByte = (csv ? 4 : 12) * (choice.all ? 1 : 0) + 1;
  TableBuffer buffer(state, kind, write, state.AllText.Bytes().size() * perByte + 256);
  std::string& out = buffer.out();
  out += lead;
  JsonRows json(std::span(kTableColumns.data(), columns), {"line"});
  if (csv) {
    if (!member) AppendCsvRow(out, std::span(kTableColumns.data(), columns));
  } else {
    out += "{\"file\": ";
    AppendJsonString(out, file);  // a file name is the system's bytes, UTF-8 as a rule
    out += ", \"format\": ";
    AppendJsonString(out, FormatName(kind));
    out += ", \"header lines\": [";
    for (const std::string_view headerLine : HeaderLines(state.AllText.Bytes())) {
      if (out.back() != '[') out += ", ";
      AppendJsonString(out, FieldText(headerLine));
    }
    out += "], \"parameters\": [";
  }
  const RowLabels labels{ReadAxisNames(state, kind), choice.names};
  const RowsWanted wanted = choice.all ? RowsWanted::All : RowsWanted::NonZero;
  std::array<std::string, 6> converted;
  char line[24];
  std::array<std::string_view, 9> memberFields{file};
  std::array<std::optional<std::string_view>, 8> values;
  result.reading = ReadParameters(state, kind, wanted, [&](const ParameterRow& row) {
    ++result.rows;
    const std::array<std::string_view, 8> fields = TableFields(row, labels, converted, line);
    if (csv && !member) {
      AppendCsvRow(out, std::span(fields.data(), columns));
    } else if (csv) {
      std::copy(fields.begin(), fields.end(), memberFields.begin() + 1);
      AppendCsvRow(out, std::span(memberFields.data(), columns + 1));
    } else {
      for (std::size_t i = 0; i < columns; ++i) {
        const bool unknown = i >= kFirstLabelColumn && fields[i].empty();
        values[i] = unknown ? std::nullopt : std::optional(fields[i]);
      }
      json.Append(out, std::span(values.data(), columns));
    }
    buffer.RowDone();
  });
  if (!csv) {
    json.End(out);
    out += member ? "}" : "}\n";
  }
  result.writeError = buffer.Finish(result.reading.error.has_value());
  return result;
}

std::string TablesOpening(ExportKind to, bool named) {
  if (to == ExportKind::Json) return "{\"files\": [\n";
  std::string header;
  AppendCsvRow(header, std::span(kMemberTableColumns.data(), TableColumnCount(named) + 1));
  return header;
}

std::string TablesClosing(ExportKind to) { return to == ExportKind::Json ? "\n]}\n" : ""; }

}  // namespace habuki
