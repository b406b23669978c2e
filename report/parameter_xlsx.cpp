#include "report/parameter_xlsx.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

namespace habuki {

namespace {

constexpr std::size_t kWholeLine[] = {5};
constexpr std::size_t kMemberLine[] = {6};

}  // namespace

ParameterWorkbook::ParameterWorkbook(TablePart part, const ParameterNames* names)
    : part_(part),
      names_(names),
      sheet_(part == TablePart::Member
                 ? std::span<const std::string_view>(kMemberTableColumns.data(),
                                                     TableColumnCount(names != nullptr) + 1)
                 : std::span<const std::string_view>(kTableColumns.data(),
                                                     TableColumnCount(names != nullptr)),
             part == TablePart::Member ? kMemberLine : kWholeLine,
             // The key of a row, printed on every page: number, qualifier and entry, and the
             // file of a member's row.
             part == TablePart::Member ? 4 : 3) {}

TableExport ParameterWorkbook::Add(const FilterState& state, FormatKind kind, bool all,
                                   std::string_view file) {
  TableExport table;
  const bool member = part_ == TablePart::Member;
  const RowsWanted wanted = all ? RowsWanted::All : RowsWanted::NonZero;
  std::size_t rows = 0;
  table.reading = ReadParameters(state, kind, wanted, [&](const ParameterRow&) { ++rows; });
  if (table.reading.error || !sheet_.Fits(rows)) return table;
  const RowLabels labels{ReadAxisNames(state, kind), names_};
  const std::size_t columns = TableColumnCount(names_ != nullptr);
  std::array<std::string, 6> converted;
  char line[24];
  std::array<std::optional<std::string_view>, 9> cells{file};
  const std::span<const std::optional<std::string_view>> row(cells.data() + (member ? 0 : 1),
                                                             columns + (member ? 1 : 0));
  table.reading = ReadParameters(state, kind, wanted, [&](const ParameterRow& parameter) {
    ++table.rows;
    const auto fields = TableFields(parameter, labels, converted, line);
    std::copy(fields.begin(), fields.end(), cells.begin() + 1);
    sheet_.AddRow(row);
  });
  return table;
}

}  // namespace habuki
