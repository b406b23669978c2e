// Loads arbitrary bytes as a parameter file and thins them in every format, with and without a
// comment line, checking each run against the result worked out by
// tests/support/reference/expected_result.cpp.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "comment/comment_files.h"
#include "core/filter/detect_format.h"
#include "core/filter/run_filter.h"
#include "core/io/param_file.h"
#include "fuzz/require.h"
#include "tests/support/reference/expected_result.h"

namespace habuki::fuzz {

namespace {

constexpr FormatKind kKinds[] = {FormatKind::Fs30i, FormatKind::Fs16i, FormatKind::Pmc};

// The guess as the manual states it: the first "N" after the fifth character means PMC.
FormatKind GuessByTheRule(std::u16string_view codes) {
  constexpr auto kNone = std::u16string_view::npos;
  const std::size_t firstN = codes.find(u'N');
  if (firstN != kNone && firstN >= 5) return FormatKind::Pmc;
  return codes.find(u'L') != kNone ? FormatKind::Fs30i : FormatKind::Fs16i;
}

void CheckGuess(const Cp932Text& text) {
  Require(DetectFormat(text) == GuessByTheRule(text.codes()),
          "the format guess differs from the manual's rule");
}

// A comment line taken from the input when it has more than one line, so that comments with
// odd bytes, "%" and "N" in them are tried too; otherwise the built-in Japanese one.
Cp932Text CommentFor(const FilterState& state) {
  if (state.LineList.size() > 1) return Cp932Text::FromBytes(state.LineList.front());
  return Cp932Text::FromBytes(kBuiltInCommentJ);
}

void CheckFrame(std::u16string_view result, const Cp932Text* comment) {
  std::u16string opening = comment != nullptr ? std::u16string(comment->codes()) + u'\n' : u"";
  opening.append(u"%\n");
  Require(result.size() > opening.size() && result.starts_with(opening),
          "the result does not open with the comment line and \"%\" LF");
  Require(result.ends_with(u'%'), "the result does not end with \"%\"");
}

void CheckSuccess(const FilterState& state, const FilterOutcome& outcome,
                  const reference::ExpectedRun& expected, bool withComment) {
  const std::u16string result = state.OutText.codes();
  CheckFrame(result, withComment ? &state.CommentText : nullptr);
  Require(result == expected.result, "the result differs from the one the rules give");
  std::string saved;
  AppendBytes(saved, result);
  Require(saved == state.OutText.Bytes(),
          "the result's characters do not give back the result's bytes");
  const FilterStats& stats = outcome.stats;
  Require(stats.recordsRead == static_cast<Pos>(expected.recordsRead) &&
              stats.recordsKept == static_cast<Pos>(expected.recordsKept),
          "the counts of records read and kept are wrong");
  Require(stats.recordsRead == stats.recordsKept + stats.recordsZero + stats.recordsUnhandled,
          "a record read is neither kept nor dropped");
}

void CheckRun(FilterState& state, FormatKind kind, bool withComment) {
  const Cp932Text before = state.OutText;
  const std::u16string commentCodes = state.CommentText.codes();
  const std::u16string_view comment = commentCodes;
  const auto expected =
      reference::ExpectedResult(state.AllText.codes(), kind, withComment ? &comment : nullptr);

  const FilterOutcome outcome = RunFilter(state, kind, withComment);
  Require(outcome.produced != outcome.error.has_value(),
          "a run neither produced a result nor failed, or did both");
  if (outcome.produced) {
    Require(expected.has_value(), "a run produced a result where the rules make it fail");
    CheckSuccess(state, outcome, *expected, withComment);
  } else {
    Require(!expected.has_value(), "a run failed where the rules give a result");
    Require(state.OutText == before, "a failed run changed OutText");
  }

  const Cp932Text result = state.OutText;
  Require(RunFilter(state, kind, withComment) == outcome && state.OutText == result,
          "a second run on the same state gave another outcome");
}

}  // namespace

}  // namespace habuki::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace habuki;
  FilterState state;
  if (!LoadParamBytes(state, {reinterpret_cast<const char*>(data), size})) return 0;
  fuzz::CheckGuess(state.AllText);
  state.CommentText = fuzz::CommentFor(state);
  state.OutText = Cp932Text::FromBytes("result of an earlier run");
  const Cp932Text input = state.AllText;
  for (const FormatKind kind : fuzz::kKinds) {
    for (const bool withComment : {false, true}) fuzz::CheckRun(state, kind, withComment);
  }
  fuzz::Require(state.AllText == input, "a run changed AllText");
  return 0;
}
