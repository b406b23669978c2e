// Built twice, with HABUKI_THINNING_BUILD naming the namespace of each copy (see
// thinning_looks.h); in the portable build `habuki` is a macro for that build's namespace.
#include "tests/core/thinning_looks.h"

#include <optional>
#include <variant>

#include "core/filter/detect_format.h"
#include "core/filter/format_guess.h"
#include "core/filter/run_filter.h"
#include "core/filter/text_looks.h"

namespace HABUKI_THINNING_BUILD {

namespace {

using habuki::Pos;
using habuki::TextPlace;

std::string Told(Pos number) { return std::to_string(number) + ' '; }

std::string Told(const std::optional<TextPlace>& place) {
  if (!place) return "none ";
  return Told(place->position) + Told(place->line) + Told(place->column) + '"' +
         std::string(place->text.Bytes()) + (place->cut ? "\"... " : "\" ");
}

std::string Told(const habuki::FilterOutcome& outcome) {
  std::string told = outcome.produced ? "produced\n" : "produced nothing\n";
  if (const auto& error = outcome.error) {
    told += habuki::Describe(error->kind) + " at " + Told(error->at) + "in the record at " +
            Told(error->record) + "stray line " + Told(error->strayLine) + '\n';
  }
  const habuki::FilterStats& stats = outcome.stats;
  for (const Pos count : {stats.recordsRead, stats.recordsKept, stats.recordsZero,
                          stats.recordsUnhandled, stats.recordsAfterEnd, stats.recordsLostAfterEnd,
                          stats.entriesZero, stats.entriesUnmarked, stats.recordsNotChosen}) {
    told += Told(count);
  }
  for (const auto* first : {&stats.firstUnhandled, &stats.firstUnmarked, &stats.firstLostAfterEnd,
                            &stats.firstNotChosen}) {
    told += '\n' + Told(*first);
  }
  return told;
}

}  // namespace

thinning_looks::Looks Thin(const thinning_looks::Run& run) {
  habuki::FilterState state;
  state.AllText = habuki::Cp932Text::FromBytes(run.text);
  state.OutText = habuki::Cp932Text::FromBytes("previous");
  if (run.comment != nullptr) state.CommentText = habuki::Cp932Text::FromBytes(run.comment);
  if (!run.only.empty()) {
    state.Numbers.only = std::get<habuki::NumberRanges>(habuki::ParseNumberRanges(run.only));
  }
  const auto kind = static_cast<habuki::FormatKind>(run.kind);
  const bool withComment = run.comment != nullptr;
  const habuki::FilterOutcome outcome = run.byCodes
                                            ? habuki::RunFilterOnCodes(state, kind, withComment)
                                            : habuki::RunFilter(state, kind, withComment);
  return {std::string(state.OutText.Bytes()), Told(outcome)};
}

std::string Guessed(std::string_view text) {
  const habuki::Cp932Text all = habuki::Cp932Text::FromBytes(text);
  std::string told = Told(static_cast<int>(habuki::DetectFormat(all))) + '\n';
  for (const habuki::HeadsFound& heads : habuki::GuessFormat(all).heads) {
    told += Told(heads.count) + Told(heads.first) + '\n';
  }
  const habuki::TextLooks looks = habuki::LooksOf(all);
  return told + Told(static_cast<int>(looks.kind)) + Told(looks.example);
}

bool BuiltWithVectorInstructions() {
#ifdef __SSE2__
  return true;
#else
  return false;
#endif
}

}  // namespace HABUKI_THINNING_BUILD
