#include "core/run_filter.h"

#include "core/record_scanner.h"

namespace habuki {

FilterOutcome RunFilter(FilterState& state, FormatKind kind, bool withComment) {
  FilterOutcome outcome;
  if (state.AllText.empty()) return outcome;
  const CodeView text = state.AllText.codes();
  const FormatProfile& profile = ProfileFor(kind);
  RecordScanner scanner(text, profile);
  try {
    state.OutText = Cp932Text(scanner.Run(withComment ? &state.CommentText : nullptr));
    outcome.produced = true;
  } catch (const FilterFailure& failure) {
    outcome.error =
        FilterError{failure.kind, failure.position,
                    MakeRecordRef(text, scanner.CurrentRecord(), profile.headLength + 1)};
  }
  outcome.stats = scanner.Stats();
  return outcome;
}

FilterOutcome Filter30i(FilterState& state, bool withComment) {
  return RunFilter(state, FormatKind::Fs30i, withComment);
}

FilterOutcome Filter16i(FilterState& state, bool withComment) {
  return RunFilter(state, FormatKind::Fs16i, withComment);
}

FilterOutcome FilterPmc(FilterState& state, bool withComment) {
  return RunFilter(state, FormatKind::Pmc, withComment);
}

}  // namespace habuki
