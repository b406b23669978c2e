#include "cli/record_names.h"

#include <ostream>

#include "cli/messages.h"

namespace habuki {

RecordNames CheckRecordNames(std::string_view name, const FilterState& state, FormatKind kind,
                             RangeMatches* matches, bool repeats, std::ostream& err) {
  RecordNames names;
  if (matches == nullptr && !repeats) return names;
  const std::vector<RecordHead> heads = RecordHeads(state.AllText, kind);
  for (const RecordHead& head : heads) {
    if (matches != nullptr) matches->Note(head.number);
    names.chosen += state.Numbers.Keeps(head.number) ? 1 : 0;
  }
  if (repeats) {
    names.repeats = RepeatedRecords(state.AllText, heads, state.Numbers);
    err << RepeatsMessage(name, names.repeats);
  }
  return names;
}

void TellUnmatchedRanges(const RangeMatches& matches, std::ostream& err) {
  for (const std::string& range : matches.Unmatched()) {
    err << "habuki: " << range << " names no record of any input\n";
  }
}

}  // namespace habuki
