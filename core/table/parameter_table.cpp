#include "core/table/parameter_table.h"

#include "core/filter/record_scanner.h"
#include "core/filter/run_filter.h"
#include "core/table/parameter_sink.h"

namespace habuki {

namespace {

template <typename Unit>
ParameterReading Read(UnitView<Unit> text, std::string_view bytes, const NumberChoice* numbers,
                      FormatKind kind, RowsWanted wanted, const ZeroRowsOf* zeroRowsOf,
                      const std::function<void(const ParameterRow&)>& row) {
  ParameterReading reading;
  RecordScanner<Unit> scanner(text, ProfileFor(kind), numbers);
  ParameterSink<Unit> sink(text, bytes, wanted, row, zeroRowsOf);
  try {
    scanner.Walk(sink);
  } catch (const FilterFailure& failure) {
    reading.error = scanner.ErrorOf(failure);
  }
  reading.stats = scanner.Stats();
  return reading;
}

ParameterReading ReadRows(const FilterState& state, const NumberChoice* numbers, FormatKind kind,
                          RowsWanted wanted, const ZeroRowsOf* zeroRowsOf,
                          const std::function<void(const ParameterRow&)>& row) {
  if (state.AllText.empty()) return {};
  const std::string_view bytes = state.AllText.Bytes();
  if (!state.AllText.HasDoubleByteCharacters()) {
    return Read<char>(bytes, bytes, numbers, kind, wanted, zeroRowsOf, row);
  }
  const std::u16string codes = state.AllText.codes();
  return Read<char16_t>(codes, bytes, numbers, kind, wanted, zeroRowsOf, row);
}

}  // namespace

ParameterReading ReadParameters(const FilterState& state, FormatKind kind, RowsWanted wanted,
                                const std::function<void(const ParameterRow&)>& row) {
  return ReadRows(state, ChosenNumbers(state), kind, wanted, nullptr, row);
}

ParameterReading ReadParameters(const FilterState& state, FormatKind kind,
                                const NumberChoice& numbers,
                                const std::function<void(const ParameterRow&)>& row) {
  return ReadRows(state, &numbers, kind, RowsWanted::NonZero, nullptr, row);
}

ParameterReading ReadParameters(const FilterState& state, FormatKind kind,
                                const ZeroRowsOf& zeroRowsOf,
                                const std::function<void(const ParameterRow&)>& row) {
  return ReadRows(state, ChosenNumbers(state), kind, RowsWanted::All, &zeroRowsOf, row);
}

}  // namespace habuki
