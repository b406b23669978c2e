#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <system_error>

#include "core/table/parameter_names.h"
#include "core/table/parameter_table.h"
#include "report/report_kind.h"
#include "report/row_labels.h"

namespace habuki {

// A field of a backup as UTF-8 for a table or report: CP932 converted, bytes that are no CP932
// as U+FFFD. Plain ASCII, which nearly every field is, is taken as it stands.
std::string FieldText(std::string_view cp932);

// The columns of a parameter table: the row as the backup writes it, then the name of the axis
// its entry stands for (see AxisNames), then, where the user names parameters, the name of its
// parameter. Columns are only ever added at the end, so that a reader that takes them by their
// place finds them where they were.
inline constexpr std::array<std::string_view, 8> kTableColumns = {
    "number", "qualifier", "entry", "marker", "value", "line", "axis", "name"};
inline constexpr std::size_t TableColumnCount(bool named) { return named ? 8 : 7; }
// The labels, from `axis` on, are none (null in JSON) where they are not known.
inline constexpr std::size_t kFirstLabelColumn = 6;
// The columns of a document of several tables: the input's `file` first.
inline constexpr auto kMemberTableColumns = [] {
  std::array<std::string_view, kTableColumns.size() + 1> columns{"file"};
  for (std::size_t i = 0; i < kTableColumns.size(); ++i) columns[i + 1] = kTableColumns[i];
  return columns;
}();

// A row's fields in the order of kTableColumns as UTF-8: each a view of the text, of
// `converted` where it had to be converted, of `line`, or of `labels`; a label not known is
// empty.
std::array<std::string_view, 8> TableFields(const ParameterRow& row, const RowLabels& labels,
                                            std::array<std::string, 6>& converted,
                                            char (&line)[24]);

// How a table stands in what is written: alone, or as one of several inputs' tables in one
// document on standard output, where CSV rows start with a `file` column and JSON objects stand
// in a "files" array.
enum class TablePart { Whole, Member };

// Takes a table's bytes as they are made, in order; an error it gives ends the writing.
using TableWriter = std::function<std::error_code(std::string_view bytes)>;

struct TableExport {
  ParameterReading reading;
  std::size_t rows = 0;        // rows written
  std::error_code writeError;  // the first error of the writer
};

// What a table is made of and how it stands: --to, --all, the part, the user's names.
struct TableChoice {
  ExportKind to = ExportKind::Csv;
  bool all = false;
  TablePart part = TablePart::Whole;
  const ParameterNames* names = nullptr;
};

// Writes the parameters of a loaded text as a table (--to csv or json): the non-zero rows, or
// all of them with `all`, labelled with the text's axis names and the user's names of
// parameters. `file` names the input in a JSON document and in a member's rows;
// `lead` goes first (what joins JSON members). The table goes to `write` in pieces of twice the
// text's size, or kTableChunk bytes for a small text, so that a table of every value, many
// times the text, is never held whole.
// Nothing is written for a text that breaks the filter's rules (the reading says so): before
// the first piece goes, the text is read through once to make sure.
TableExport WriteParameterTable(const FilterState& state, FormatKind kind,
                                const TableChoice& choice, std::string_view file,
                                std::string_view lead, const TableWriter& write);
inline constexpr std::size_t kTableChunk = 4 << 20;

// What stands before and after the members of a document of several tables; JSON members are
// joined by kJsonMemberSeparator.
std::string TablesOpening(ExportKind to, bool named);
std::string TablesClosing(ExportKind to);
inline constexpr std::string_view kJsonMemberSeparator = ",\n";

}  // namespace habuki
