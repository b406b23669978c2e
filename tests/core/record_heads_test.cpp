#include "core/filter/record_heads.h"

#include <gtest/gtest.h>

#include "core/filter/format_guess.h"
#include "core/filter/header_lines.h"
#include "core/filter/text_looks.h"
#include "tests/support/test_support.h"

namespace habuki {
namespace {

using namespace std::literals;
using Formats = std::vector<FormatKind>;

Formats Found(std::string_view text) { return GuessFormat(Cp932Text::FromBytes(text)).Found(); }

// A head is its own shape wherever it stands; what stands around the records changes nothing.
TEST(GuessFormat, ReadsTheShapesOfTheRecordHeads) {
  const Formats cnc30i{FormatKind::Fs30i}, cnc16i{FormatKind::Fs16i}, pmc{FormatKind::Pmc};
  const std::pair<std::string_view, Formats> cases[] = {
      {"%\r\nN01005Q1A1P10\r\n%", cnc30i},
      {"Comment\n%\nN01005Q1A1P10\r\nN03700Q1S2P1500\r\n%", cnc30i},  // habuki's own result
      {"\xEF\xBB\xBF%\r\n(MC-3 2024/05)\r\n\r\nN00000Q1L1P5\r\r\n%\x1A", cnc30i},
      {"N1005Q1A1P10\r\nN1006Q1P0", cnc16i},  // no "%" at all
      {"%\n\n(PMC=0I-F,MSID=1)\r\nN600002 P10\r\n%", pmc},
      {"N600002P10", pmc},
      {"%\r\nN01005Q1P1\r\n%\r\nN600002 P10\r\n", {FormatKind::Fs30i, FormatKind::Pmc}},
      // Not heads: other digit counts, another letter after them, a trail byte that is an "N".
      {"N10 G01 X10.\r\nN20 G00 Z0.\r\n", {}},
      {"N010050Q1P1 N123456Q N12345P N1005 P N1234567 P", {}},
      {"\x83N01005Q1P1", {}},
      {"", {}},
  };
  for (const auto& [text, formats] : cases) {
    EXPECT_EQ(Found(text), formats) << text;
  }
  // Heads at every place of the looks of 16 characters, up to the text's last character.
  for (std::size_t filler = 0; filler < 40; ++filler) {
    const std::string before(filler, 'x');
    EXPECT_EQ(Found(before + "N01005Q"), cnc30i) << filler;
    EXPECT_EQ(Found(before + "N01005"), Formats{}) << filler;
    EXPECT_EQ(Found(before + "N600002P" + before), pmc) << filler;
  }
  const FormatGuess guess = GuessFormat(Cp932Text::FromBytes("%\r\nN0001Q1P1\r\nN0002Q1P1\r\n"));
  EXPECT_EQ(guess.Of(FormatKind::Fs16i).count, 2);
  EXPECT_EQ(guess.Of(FormatKind::Fs16i).first->line, 2);
  // A format given needs only one head of it.
  EXPECT_EQ(GuessFormat(Cp932Text::FromBytes("%\r\nN0001Q1P1\r\nN0002Q1P1\r\n"), FormatKind::Fs16i)
                .Of(FormatKind::Fs16i)
                .count,
            1);
}

TEST(GuessFormat, RealBackupsAndExamples) {
  for (const auto& [file, kind] : test::KnownBackups()) {
    EXPECT_EQ(Found(test::ReadBytes(file)), Formats{kind}) << file;
  }
}

// What a text without records looks like, for the message that refuses it.
TEST(LooksOf, TellsWhatATextWithoutRecordsIs) {
  const std::pair<std::string_view, Resemblance> cases[] = {
      {"\x89PNG\r\n\x1A\n\0\0\0\rIHDR"sv, Resemblance::Binary},
      {"PK\x03\x04\x14\0\0\0"sv, Resemblance::Binary},
      {"\xEF\xBB\xBF  {\"file\": \"a.txt\"}", Resemblance::Json},
      {"number,qualifier,entry,marker,value,line\r\n01005,Q1,A1,P,10,2\r\n", Resemblance::Table},
      {"%\r\nO0001\r\nN10 G01 X10.\r\n", Resemblance::Program},
      {"%\r\nthis is no parameter file\r\n%\r\n", Resemblance::Text},
  };
  for (const auto& [text, kind] : cases) {
    EXPECT_EQ(LooksOf(Cp932Text::FromBytes(text)).kind, kind) << text;
  }
  const TextLooks program = LooksOf(Cp932Text::FromBytes("%\r\n\x82\xA0\r\nN10 G01 X10.\r\n"));
  ASSERT_TRUE(program.example);
  EXPECT_EQ(program.example->line, 3);
  EXPECT_EQ(program.example->text.Bytes(), "N10 G01 X10.");
}

// The header lines stand between the "%" line, however it is written, and the first record.
TEST(HeaderLines, FollowThePercentLineHoweverItIsWritten) {
  using Lines = std::vector<std::string_view>;
  const std::pair<std::string_view, Lines> cases[] = {
      {"%\r\n(PMC=0I-F,MSID=1)\r\nN600002 P10\r\n%", {"(PMC=0I-F,MSID=1)"}},
      {"\xEF\xBB\xBF%\r\n(PMC=0I-F,MSID=1)\r\nN600002 P10\r\n%", {"(PMC=0I-F,MSID=1)"}},
      {" % \r\r\n\r\n(PMC=0I-F,MSID=1)\nN600002 P10\r\n%", {"(PMC=0I-F,MSID=1)"}},
      {"Comment\n%\n\n(PMC=0I-F,MSID=1)\r\nN600002 P10\r\n%", {"(PMC=0I-F,MSID=1)"}},
      {"(PMC=0I-F,MSID=1)\r\nN600002 P10\r\n%", {"(PMC=0I-F,MSID=1)"}},
      {"\xEF\xBB\xBF%\nN01005Q1P1\n%", {}},
  };
  for (const auto& [text, lines] : cases) {
    EXPECT_EQ(HeaderLines(text), lines) << text;
  }
}

// A parameter that stands twice is found by number (as a number) and qualifier, with its lines;
// what --only leaves out, and what stands after the closing "%", does not count.
TEST(RepeatedRecords, FindsParametersThatStandMoreThanOnce) {
  const Cp932Text text = Cp932Text::FromBytes(
      "%\r\nN01000Q1P5\r\nN01000Q2P5\r\nN\x82\xA0\r\nN02000Q1P1\r\nN01000Q1P0\nN02000Q1P1\r\n"
      "N02000Q1P2\r\nN03000Q1P1\r\n%\r\nN03000Q1P1\r\n");
  const std::vector<RecordHead> heads = RecordHeads(text, FormatKind::Fs30i);
  ASSERT_EQ(heads.size(), 8u);
  EXPECT_EQ(heads[1].Qualifier(), "Q2");
  const std::vector<RepeatedRecord> repeats = RepeatedRecords(text, heads, {});
  ASSERT_EQ(repeats.size(), 2u);
  EXPECT_EQ(repeats[0].head, "N01000Q1");
  EXPECT_EQ(repeats[0].lines, (std::vector<Pos>{2, 6}));
  EXPECT_EQ(repeats[1].head, "N02000Q1");
  EXPECT_EQ(repeats[1].lines, (std::vector<Pos>{5, 7, 8}));
  EXPECT_EQ(RepeatedRecords(text, heads, {NumberRanges({{1000, 1000}}), {}}).size(), 1u);
  const Cp932Text inOrder =
      Cp932Text::FromBytes("%\r\nN01000Q1P5\r\nN01000Q2P5\r\nN01001Q1P5\r\n%");
  EXPECT_TRUE(RepeatedRecords(inOrder, RecordHeads(inOrder, FormatKind::Fs30i), {}).empty());
}

}  // namespace
}  // namespace habuki
