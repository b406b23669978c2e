#include "ui/loss_message.h"

#include <string>

#include "core/filter/run_filter.h"
#include "ui/window_texts.h"

namespace habuki::ui {

namespace {

// The text from the character at `position` on, behind a "%" line of its own.
std::string FramedRest(const Cp932Text& text, Pos position) {
  std::string rest = "%\r\n";
  const auto from = static_cast<std::size_t>(position - 1);
  if (text.HasDoubleByteCharacters()) {
    AppendBytes(rest, std::u16string_view(text.codes()).substr(from));
  } else {
    rest.append(text.Bytes().substr(from));
  }
  return rest;
}

// The filter reads nothing after the closing "%", so its count of the records there includes
// those of value 0. The text from the first of them is thinned by itself with the same format:
// the records it keeps, and those of kinds it has no rule for, hold a value. Records behind a
// further "%", or a rest that cannot be thinned, cannot be told zero and all count.
Pos RecordsAfterEndWithValues(const FilterState& state, FormatKind kind, const FilterStats& stats) {
  if (!stats.firstAfterEnd) return 0;
  FilterState rest;
  rest.AllText = Cp932Text(FramedRest(state.AllText, stats.firstAfterEnd->position));
  const FilterOutcome outcome = RunFilter(rest, kind, false);
  if (outcome.error) return stats.recordsAfterEnd;
  return outcome.stats.recordsKept + outcome.stats.recordsUnhandled + outcome.stats.recordsAfterEnd;
}

}  // namespace

std::string LossMessage(const FilterState& state, FormatKind kind, const FilterStats& stats) {
  const std::pair<Pos, const char*> losses[] = {
      {stats.recordsUnhandled, kLossUnhandled},
      {RecordsAfterEndWithValues(state, kind, stats), kLossAfterEnd},
      {stats.entriesUnmarked, kLossUnmarked}};
  std::string lines;
  for (const auto& [count, line] : losses) {
    if (count != 0) lines += WithArg(line, std::to_string(count));
  }
  return lines.empty() ? std::string() : kLossStart + lines;
}

}  // namespace habuki::ui
