// The filter held to the reference reading (tests/support/reference), which works each result
// out afresh from the manual's rules and shares no code with the filter: on every text, in every
// format, by bytes and by 16-bit codes. Comparing the two ways of the filter with each other
// cannot see a fault they share; this can.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/filter/run_filter.h"
#include "core/io/param_file.h"
#include "tests/support/reference/edge_texts.h"
#include "tests/support/reference/expected_result.h"
#include "tests/support/test_support.h"

namespace habuki {
namespace {

// Under the sanitizers' unoptimised build a run of the filter takes some ten times as long.
#ifdef HABUKI_SANITIZED
constexpr int kGeneratedTexts = 25000;
#else
constexpr int kGeneratedTexts = 100000;
#endif
constexpr FormatKind kKinds[] = {FormatKind::Fs30i, FormatKind::Fs16i, FormatKind::Pmc};

std::string Bytes(std::u16string_view codes) {
  std::string bytes;
  AppendBytes(bytes, codes);
  return bytes;
}

std::string Told(const std::optional<reference::ExpectedRun>& run) {
  if (!run) return "a failure";
  return reference::Escaped(Bytes(run->result)) + " (" + std::to_string(run->recordsRead) +
         " records read, " + std::to_string(run->recordsKept) + " kept)";
}

std::string Told(const FilterOutcome& outcome, const FilterState& state) {
  if (outcome.error) {
    return "a failure of kind " + std::to_string(static_cast<int>(outcome.error->kind)) + " at " +
           std::to_string(outcome.error->at.position);
  }
  if (!outcome.produced) return "neither a result nor a failure";
  return reference::Escaped(state.OutText.Bytes()) + " (" +
         std::to_string(outcome.stats.recordsRead) + " records read, " +
         std::to_string(outcome.stats.recordsKept) + " kept)";
}

// An empty text produces nothing and fails nothing; the reference reading knows no such text.
bool Same(const FilterOutcome& outcome, const FilterState& state,
          const std::optional<reference::ExpectedRun>& expected) {
  if (state.AllText.empty()) return outcome == FilterOutcome{};
  if (!expected) return !outcome.produced && outcome.error.has_value();
  return outcome.produced && !outcome.error && state.OutText.codes() == expected->result &&
         outcome.stats.recordsRead == static_cast<Pos>(expected->recordsRead) &&
         outcome.stats.recordsKept == static_cast<Pos>(expected->recordsKept);
}

// The filter's outcome on `loaded` in every format, by bytes (where its characters are single
// bytes) and by codes, against the reference reading's; the first difference with the input.
::testing::AssertionResult MatchesReference(const FilterState& loaded, bool withComment) {
  const std::u16string comment(loaded.CommentText.codes());
  const std::u16string_view commentView = comment;
  for (const FormatKind kind : kKinds) {
    const auto expected = reference::ExpectedResult(loaded.AllText.codes(), kind,
                                                    withComment ? &commentView : nullptr);
    for (const bool byCodes : {false, true}) {
      FilterState state = loaded;
      const FilterOutcome outcome = byCodes ? RunFilterOnCodes(state, kind, withComment)
                                            : RunFilter(state, kind, withComment);
      if (Same(outcome, state, expected)) continue;
      return ::testing::AssertionFailure()
             << "input " << reference::Escaped(loaded.AllText.Bytes()) << "\nas format "
             << static_cast<int>(kind) << (byCodes ? " by codes" : " by RunFilter")
             << (withComment ? " with a comment" : "") << "\nexpected " << Told(expected)
             << "\ngot " << Told(outcome, state);
    }
  }
  return ::testing::AssertionSuccess();
}

FilterState Raw(std::string_view bytes, bool withComment) {
  FilterState state = test::StateWithText(bytes);
  state.OutText = Cp932Text::FromBytes("previous");
  if (withComment) state.CommentText = Cp932Text::FromBytes("comment \x82\xA0");
  return state;
}

TEST(ReferenceReading, GeneratedTextsThinAsTheRulesSay) {
  reference::EdgeTexts texts(20261207);
  for (int i = 0; i < kGeneratedTexts; ++i) {
    const std::string text = i % 2 == 0 ? texts.NextSingleBytes() : texts.Next();
    ASSERT_TRUE(MatchesReference(Raw(text, i % 3 == 0), i % 3 == 0)) << "text " << i;
  }
}

// The fuzzers' seed corpus: as bytes exactly, without pairs, and loaded as a file is.
TEST(ReferenceReading, FuzzCorpusThinsAsTheRulesSay) {
  int files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(HABUKI_FUZZ_CORPUS_DIR)) {
    if (!entry.is_regular_file()) continue;
    ++files;
    const std::string bytes = test::ReadBytes(entry.path());
    for (const bool withComment : {false, true}) {
      ASSERT_TRUE(MatchesReference(Raw(bytes, withComment), withComment)) << entry.path();
      ASSERT_TRUE(MatchesReference(Raw(reference::WithoutPairs(bytes), withComment), withComment))
          << entry.path();
      FilterState loaded = Raw("", withComment);
      if (LoadParamBytes(loaded, bytes)) {
        ASSERT_TRUE(MatchesReference(loaded, withComment)) << entry.path();
      }
    }
  }
  EXPECT_GT(files, 20);
}

}  // namespace
}  // namespace habuki
