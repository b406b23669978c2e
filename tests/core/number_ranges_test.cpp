// --only and --ignore in the core: the list of ranges, and the records a run reads by number.
#include "core/filter/number_ranges.h"

#include <gtest/gtest.h>

#include <sstream>

#include "core/filter/run_filter.h"
#include "tests/support/test_support.h"

namespace habuki {
namespace {

TEST(NumberRanges, ParsesListsOfNumbersAndRanges) {
  struct Case {
    std::string_view text;
    std::vector<std::uint32_t> in, out;
  };
  const Case cases[] = {
      {"6700", {6700}, {6699, 6701}},
      {"1000-1999,6700", {1000, 1500, 1999, 6700}, {999, 2000, 6699}},
      {"0-0,4294967295", {0, 4294967295U}, {1, 4294967294U}},
      {"01005", {1005}, {1004, 1006}},
      {"5-5", {5}, {4, 6}},
  };
  for (const Case& c : cases) {
    const auto parsed = ParseNumberRanges(c.text);
    ASSERT_TRUE(std::holds_alternative<NumberRanges>(parsed)) << c.text;
    const auto& ranges = std::get<NumberRanges>(parsed);
    for (const auto n : c.in) EXPECT_TRUE(ranges.Contains(n)) << c.text << ' ' << n;
    for (const auto n : c.out) EXPECT_FALSE(ranges.Contains(n)) << c.text << ' ' << n;
  }
}

TEST(NumberRanges, NamesTheBadPart) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"1999-1000", "bad range \"1999-1000\": its first number is greater than its last"},
      {"abc", "bad range \"abc\": not a number"},
      {"", "bad range \"\": a number or FIRST-LAST is missing"},
      {"-5", "bad range \"-5\": not a number"},
      {"4294967296", "bad range \"4294967296\": not a number"},
      {"1-2-3", "bad range \"1-2-3\": not a number"},
      {" 5", "bad range \" 5\": not a number"},
      {"1,,2", "bad range \"\": a number or FIRST-LAST is missing in \"1,,2\""},
      {"1000-1999,x7", "bad range \"x7\": not a number"},
  };
  for (const auto& [text, message] : cases) {
    const auto parsed = ParseNumberRanges(text);
    ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << text;
    EXPECT_EQ(std::get<std::string>(parsed).rfind(message, 0), 0U) << std::get<std::string>(parsed);
  }
}

NumberRanges Ranges(std::string_view text) {
  return std::get<NumberRanges>(ParseNumberRanges(text));
}

// The lines of a thinned result whose records `choice` keeps: what a run with the choice makes.
std::string LinesChosen(const std::string& thinned, const NumberChoice& choice) {
  std::istringstream lines(thinned);
  std::string result;
  for (std::string line; std::getline(lines, line);) {
    if (line.front() != 'N' || choice.Keeps(HeadNumber<char>(line))) result += line + '\n';
  }
  return result.substr(0, result.size() - 1);  // the closing "%" has no line break
}

TEST(NumberChoice, ThinsRealBackupsToExactlyTheChosenRecords) {
  struct Case {
    const char* file;
    FormatKind kind;
    NumberChoice choice;
  };
  const Case cases[] = {
      {"machining-center-30i.txt", FormatKind::Fs30i, {Ranges("1000-1999,6700"), {}}},
      {"machining-center-30i.txt", FormatKind::Fs30i, {Ranges("1000-1999"), Ranges("1005")}},
      {"machining-center-30i.txt", FormatKind::Fs30i, {std::nullopt, Ranges("0-1400,6700")}},
      {"machining-center-pmc.txt", FormatKind::Pmc, {Ranges("600000-600099"), {}}},
  };
  for (const Case& c : cases) {
    FilterState all = test::StateWithText(test::ReadBytes(test::DataFile(c.file)));
    FilterState chosen = all;
    chosen.Numbers = c.choice;
    const FilterOutcome whole = RunFilter(all, c.kind, false);
    const FilterOutcome part = RunFilter(chosen, c.kind, false);
    ASSERT_TRUE(whole.produced && part.produced) << c.file;
    const std::string expected = LinesChosen(std::string(all.OutText.Bytes()), c.choice);
    EXPECT_EQ(std::string(chosen.OutText.Bytes()), expected) << c.file;
    EXPECT_LT(part.stats.recordsKept, whole.stats.recordsKept) << c.file;
    EXPECT_GT(part.stats.recordsKept, 0) << c.file;
    EXPECT_EQ(part.stats.recordsRead, whole.stats.recordsRead) << c.file;
    EXPECT_EQ(part.stats.recordsNotChosen + part.stats.recordsKept + part.stats.recordsZero +
                  part.stats.recordsUnhandled,
              part.stats.recordsRead)
        << c.file;
  }
}

TEST(NumberChoice, NamesNumbersAsTheControlDoes) {
  // 1005 is N01005 in a 30i backup and N1005 in a 16i one.
  const NumberChoice only{Ranges("1005"), {}};
  const std::pair<std::string_view, FormatKind> texts[] = {
      {"%\r\nN01004Q1P1\r\nN01005Q1P1\r\nN11005Q1P1\r\n%\r\n", FormatKind::Fs30i},
      {"%\r\nN1004Q1P1\r\nN1005Q1A1P1\r\nN11005Q1P1\r\n%\r\n", FormatKind::Fs16i},
  };
  for (const auto& [text, kind] : texts) {
    FilterState state = test::StateWithText(text);
    state.Numbers = only;
    const FilterOutcome outcome = RunFilter(state, kind, false);
    EXPECT_EQ(outcome.stats.recordsKept, 1) << text;
    EXPECT_EQ(outcome.stats.recordsNotChosen, 2) << text;
    EXPECT_NE(state.OutText.Bytes().find("1005"), std::string_view::npos) << text;
    ASSERT_TRUE(outcome.stats.firstNotChosen);
    EXPECT_EQ(outcome.stats.firstNotChosen->line, 2);
  }
}

}  // namespace
}  // namespace habuki
