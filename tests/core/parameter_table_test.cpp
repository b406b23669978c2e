#include "core/table/parameter_table.h"

#include <gtest/gtest.h>

#include "bench/param_generator.h"
#include "core/filter/format_guess.h"
#include "core/io/param_file.h"
#include "tests/support/test_support.h"

namespace habuki {
namespace {

// Each row as number|qualifier|entry|marker|value|line, with "=0" after a zero value.
std::vector<std::string> Rows(const FilterState& state, FormatKind kind,
                              RowsWanted wanted = RowsWanted::All,
                              ParameterReading* reading = nullptr) {
  std::vector<std::string> rows;
  const ParameterReading read = ReadParameters(state, kind, wanted, [&](const ParameterRow& row) {
    rows.push_back(std::string(row.number) + "|" + std::string(row.qualifier) + "|" +
                   std::string(row.entry) + "|" + std::string(row.marker) + "|" +
                   std::string(row.value) + "|" + std::to_string(row.line) +
                   (row.zero ? "=0" : ""));
  });
  if (reading != nullptr) *reading = read;
  return rows;
}

using Strings = std::vector<std::string>;

struct TableCase {
  const char* name;
  std::string text;
  FormatKind kind;
  Strings rows;
};

TEST(ReadParameters, RowsOfEachFormat) {
  const std::vector<TableCase> cases = {
      {"30i",
       "%\r\nN01005Q1A1P00000010A2P0 A4P00000011\r\nN11863Q1M-0.0 \r\nN00020Q1X1\r\n%\r\n",
       FormatKind::Fs30i,
       {"01005|Q1|A1|P|00000010|2", "01005|Q1|A2|P|0|2=0", "01005|Q1|A4|P|00000011|2",
        "11863|Q1||M|-0.0|3=0", "00020|Q1|||X1|4"}},
      {"16i",
       "%\r\nN1005Q1A1P5A2P0\r\nN0020Q1P17\r\n%\r\n",
       FormatKind::Fs16i,
       {"1005|Q1|A1|P|5|2", "1005|Q1|A2|P|0|2=0", "0020|Q1||P|17|3"}},
      {"PMC",
       "%\r\n(PMC)\r\nN600002 P10\r\nN600003 P0\r\n%\r\n",
       FormatKind::Pmc,
       {"600002|||P|10|3", "600003|||P|0|4=0"}},
      {"LF line ends count as lines",
       "%\nN00001Q1P1\nN00002Q1P2\n",
       FormatKind::Fs30i,
       {"00001|Q1||P|1|2", "00002|Q1||P|2|3"}},
      {"double-byte characters keep their bytes",
       "%\r\nN00001Q1A1P5\r\nN\x83\x4E"
       "0001Q1A1\x83\x4EP7\r\n%\r\n",
       FormatKind::Fs30i,
       {"00001|Q1|A1|P|5|2",
        "|\x83\x4E"
        "0001Q1|A1\x83\x4E|P|7|3"}},
  };
  for (const TableCase& row : cases) {
    const FilterState state = test::StateWithText(row.text);
    EXPECT_EQ(Rows(state, row.kind), row.rows) << row.name;
  }
}

// The table fails where the filter fails, and leaves out what the filter leaves out.
TEST(ReadParameters, FailsAndStopsAsTheFilterDoes) {
  for (const std::string& text : {std::string("%\r\nN00001Q1P1\r\nN00002Q1P1x\r\n%\r\n"),
                                  std::string("%\r\nnothing\r\n%\r\n"),
                                  "%\r\n" + test::EntryRecord(1001, 'A', "P1") + "%\r\n"}) {
    FilterState state = test::StateWithText(text);
    ParameterReading reading;
    Rows(state, FormatKind::Fs30i, RowsWanted::All, &reading);
    const FilterOutcome outcome = RunFilter(state, FormatKind::Fs30i, false);
    ASSERT_TRUE(reading.error && outcome.error) << text.substr(0, 40);
    EXPECT_EQ(reading.error->kind, outcome.error->kind);
    EXPECT_EQ(reading.error, outcome.error);
  }
  ParameterReading reading;
  const FilterState after = test::StateWithText("%\r\nN00001Q1P1\r\n%\r\nN00002Q1P2\r\n");
  EXPECT_EQ(Rows(after, FormatKind::Fs30i, RowsWanted::All, &reading), Strings{"00001|Q1||P|1|2"});
  EXPECT_EQ(reading.stats.recordsAfterEnd, 1);
}

// Line ends of every kind, falling at every place of the 16 characters that are counted at once,
// in a text of single bytes and in one with a double-byte character.
TEST(ReadParameters, LinesCountEveryKindOfLineEnd) {
  const std::pair<std::string, int> breaks[] = {
      {"\r\n", 1}, {"\n", 1}, {"\r", 1}, {"\r\n\r\n", 2}, {"\n\n\n", 3}};
  for (const std::string& first : {std::string(), std::string("N00000Q1X\x83\x4E\r\n")}) {
    std::string text = "%\r\n" + first;
    Strings expected;
    if (!first.empty()) expected.push_back("00000|Q1|||X\x83\x4E|2");
    int line = first.empty() ? 2 : 3;
    for (int i = 0; i < 80; ++i) {
      const std::string number = std::to_string(10000 + i);
      const auto& [lineEnd, lines] = breaks[i % 5];
      text += "N" + number + "Q1P1" + std::string(i % 17, ' ') + lineEnd;
      expected.push_back(number + "|Q1||P|1|" + std::to_string(line));
      line += lines;
    }
    const FilterState state = test::StateWithText(text + "%\r\n");
    EXPECT_EQ(Rows(state, FormatKind::Fs30i, RowsWanted::NonZero), expected) << first.size();
  }
}

// Rows of value 0 asked for by record are those of the records wanted, every other row as a
// full reading gives it, lines included; on bytes and on 16-bit codes.
TEST(ReadParameters, ZeroRowsOnlyOfTheRecordsWanted) {
  for (const std::string tail : {"", "N00009Q1X\x83\x4E\r\n"}) {
    const FilterState state = test::StateWithText(
        "%\r\nN00001Q1A1P0A2P5\r\nN00002Q1P0\r\nN00002Q2A1P0\r\nN00003Q1P0\r\n" + tail + "%\r\n");
    const ZeroRowsOf wanted = [](std::string_view number, std::string_view qualifier) {
      return number == "00002" && qualifier == "Q2";
    };
    Strings rows;
    ReadParameters(state, FormatKind::Fs30i, wanted, [&](const ParameterRow& row) {
      if (row.zero || row.number != "00002")
        rows.push_back(std::string(row.number) + "|" + std::string(row.entry) + "|" +
                       std::to_string(row.line));
    });
    Strings expected{"00001|A2|2", "00002|A1|4"};
    if (!tail.empty()) expected.push_back("00009||6");
    EXPECT_EQ(rows, expected) << tail.size();
  }
}

// What the filter keeps is what the table calls non-zero: a thinned file, comment line and all,
// read back with the guessed format, holds the non-zero rows of its backup, for real and
// generated backups of the three formats.
TEST(ReadParameters, ThinnedFileHoldsTheNonZeroRowsOfItsBackup) {
  const auto withoutLines = [](Strings rows) {
    for (std::string& row : rows) row.erase(row.rfind('|'));
    return rows;
  };
  const struct {
    std::string backup;
    FormatKind kind;
  } backups[] = {
      {test::ReadBytes(test::DataFile("machining-center-30i.txt")), FormatKind::Fs30i},
      {test::ReadBytes(test::DataFile("machining-center-pmc.txt")), FormatKind::Pmc},
      {bench::GenerateShaped30i(3000), FormatKind::Fs30i},
      {bench::GenerateShaped16i(3000), FormatKind::Fs16i},
  };
  for (const auto& [backup, kind] : backups) {
    FilterState state;
    ASSERT_TRUE(LoadParamBytes(state, backup));
    ASSERT_EQ(GuessFormat(state.AllText).Found(), std::vector{kind});
    state.CommentText = Cp932Text::FromBytes("Parameters of the parameter value 0 omitted.");
    ASSERT_TRUE(RunFilter(state, kind, true).produced);
    FilterState thinned;
    ASSERT_TRUE(LoadParamBytes(thinned, std::string(state.OutText.Bytes()) + "\r\n"));
    ASSERT_EQ(GuessFormat(thinned.AllText).Found(), std::vector{kind});
    const FormatKind guessed = kind;
    const Strings kept = withoutLines(Rows(thinned, guessed));
    EXPECT_EQ(kept, withoutLines(Rows(state, kind, RowsWanted::NonZero)));
    EXPECT_GT(kept.size(), 50u);
  }
}

}  // namespace
}  // namespace habuki
