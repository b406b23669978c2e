#include "core/table/axis_names.h"

#include <algorithm>
#include <optional>

#include "core/table/decimal_number.h"
#include "core/table/row_order.h"
#include "core/text/text_primitives.h"

namespace habuki {

namespace {

constexpr std::string_view kAxisNamesParameter = "1020";

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit<char>);
}

// The axis an entry stands for, as the digits after its "A"; none for an entry of another kind.
std::optional<std::string_view> AxisIndexOf(std::string_view entry) {
  if (entry.empty() || entry.front() != 'A' || !AllDigits(entry.substr(1))) return std::nullopt;
  return entry.substr(1);
}

// The character whose code a value writes, where it is printable and not the space, which would
// show as no name at all. The value is read as the comparisons read numbers, so "088" is 88 too.
std::optional<char> CharacterOf(std::string_view value) {
  const std::optional<std::string> number = CanonicalDecimal(value);
  if (!number || number->size() > 3 || !AllDigits(*number)) return std::nullopt;
  int code = 0;
  for (const char digit : *number) code = code * 10 + (digit - '0');
  if (code <= ' ' || code > '~') return std::nullopt;
  return static_cast<char>(code);
}

}  // namespace

void AxisNames::Add(const ParameterRow& row) {
  if (!AllDigits(row.number) || CompareNumbers(row.number, kAxisNamesParameter) != 0) return;
  const std::optional<std::string_view> index = AxisIndexOf(row.entry);
  if (!index || !NameOf(row.entry).empty()) return;
  if (const std::optional<char> name = CharacterOf(row.value)) {
    axes_.push_back({std::string(*index), *name});
  }
}

std::string_view AxisNames::NameOf(std::string_view entry) const {
  const std::optional<std::string_view> index = AxisIndexOf(entry);
  if (!index) return {};
  for (const Axis& axis : axes_) {
    if (CompareNumbers(axis.index, *index) == 0) return std::string_view(&axis.name, 1);
  }
  return {};
}

AxisNames ReadAxisNames(const FilterState& state, FormatKind kind) {
  AxisNames names;
  // Parameter 1020 alone, whichever parameters the run shows.
  const NumberChoice only1020{NumberRanges({{1020, 1020}}), {}};
  const ParameterReading reading =
      ReadParameters(state, kind, only1020, [&](const ParameterRow& row) { names.Add(row); });
  return reading.error ? AxisNames() : names;
}

}  // namespace habuki
