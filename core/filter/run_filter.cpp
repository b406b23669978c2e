#include "core/filter/run_filter.h"

#include "core/filter/record_scanner.h"

namespace habuki {

const NumberChoice* ChosenNumbers(const FilterState& state) {
  return state.Numbers.Everything() ? nullptr : &state.Numbers;
}

namespace {

template <typename Unit>
FilterOutcome Thin(FilterState& state, UnitView<Unit> text, FormatKind kind, bool withComment) {
  FilterOutcome outcome;
  const FormatProfile& profile = ProfileFor(kind);
  RecordScanner<Unit> scanner(text, profile, ChosenNumbers(state));
  try {
    state.OutText = Cp932Text(scanner.Run(withComment ? &state.CommentText : nullptr));
    outcome.produced = true;
  } catch (const FilterFailure& failure) {
    outcome.error = scanner.ErrorOf(failure);
  }
  outcome.stats = scanner.Stats();
  return outcome;
}

}  // namespace

FilterOutcome RunFilter(FilterState& state, FormatKind kind, bool withComment) {
  if (state.AllText.HasDoubleByteCharacters()) {
    return RunFilterOnCodes(state, kind, withComment);
  }
  if (state.AllText.empty()) return {};
  return Thin(state, state.AllText.Bytes(), kind, withComment);
}

FilterOutcome RunFilterOnCodes(FilterState& state, FormatKind kind, bool withComment) {
  if (state.AllText.empty()) return {};
  const std::u16string codes = state.AllText.codes();
  return Thin(state, CodeView(codes), kind, withComment);
}

}  // namespace habuki
