#include <gtest/gtest.h>

#include "core/filter/run_filter.h"
#include "tests/support/test_support.h"

namespace habuki {
namespace {

using test::Records;
using test::Thin;
using test::Thinned;

constexpr const char* kSimple = "%\r\nNxxxxxxxP0\r\nNxxxxxxxP1\r\n%\r\n";

TEST(SingleValue, ZeroRecordsLeaveNoTrace) {
  EXPECT_EQ(Thin(kSimple, FormatKind::Fs30i).out, "%\nNxxxxxxxP1\r\n%");
  EXPECT_EQ(Thin("%\r\nNxxxxxxxP00000000   \r\nNxxxxxxxP-3\r\n%\r\n", FormatKind::Fs30i).out,
            "%\nNxxxxxxxP-3\r\n%");
  EXPECT_EQ(Thin("%\r\nNxxxxxxxP0\r\nNxxxxxxxP-0.0\r\n%\r\n", FormatKind::Fs30i).out, "%\n%");
}

TEST(SingleValue, EachFormatHasItsHeadLength) {
  EXPECT_EQ(Thin("%\r\nN0020Q1P17\r\nN0021Q1P0\r\n%\r\n", FormatKind::Fs16i).out,
            "%\nN0020Q1P17\r\n%");
  EXPECT_EQ(Thin("%\r\nN600000 P0 \r\nN600002 P10\r\n%\r\n", FormatKind::Pmc).out,
            "%\n\nN600002 P10\r\n%");
}

TEST(SingleValue, BlankLinesAfterARecordGoWithIt) {
  EXPECT_EQ(Thin("%\r\nNxxxxxxxP4\r\n\r\n  \r\nNxxxxxxxP0\r\n\r\n%\r\n", FormatKind::Fs30i).out,
            "%\nNxxxxxxxP4\r\n\r\n  \r\n%");
}

TEST(SingleValue, RealValuedRecordsOf30iAreKeptLikeP) {
  const char* text = "%\r\nN11863Q1M0.0\r\nN11864Q1M2.5\r\n%\r\n";
  EXPECT_EQ(Thin(text, FormatKind::Fs30i).out, "%\nN11864Q1M2.5\r\n%");
  const Thinned as16i = Thin("%\r\nN1186Q1M2.5\r\n%\r\n", FormatKind::Fs16i);
  EXPECT_EQ(as16i.out, "%\n%");
  EXPECT_EQ(as16i.outcome.stats.recordsUnhandled, 1);
}

TEST(Frame, CommentLineLeadsTheResult) {
  EXPECT_EQ(
      Thin(kSimple, FormatKind::Fs30i, "Parameters of the parameter value 0 have been omitted.")
          .out,
      "Parameters of the parameter value 0 have been omitted.\n%\nNxxxxxxxP1\r\n%");
  EXPECT_EQ(Thin(kSimple, FormatKind::Fs30i, "").out, "\n%\nNxxxxxxxP1\r\n%");
}

TEST(Frame, PmcKeepsWhatStandsBeforeTheFirstRecord) {
  EXPECT_EQ(
      Thin("%\r\n(PMC=0I-F,MSID=1)\r\nN600000 P0 \r\nN600002 P10\r\n%\r\n", FormatKind::Pmc).out,
      "%\n\n(PMC=0I-F,MSID=1)\r\nN600002 P10\r\n%");
  EXPECT_EQ(Thin("%\nN600002 P10\r\n%\r\n", FormatKind::Pmc).out, "%\nN600002 P10\r\n%");
}

// The header is what stands after the opening "%" line, even where that line has something in
// front of it or is missing: no character of it is cut off.
TEST(Frame, PmcKeepsItsWholeHeaderWhateverOpensTheText) {
  const std::string header = "(PMC=0I-F,MSID=1)\r\nN600002 P10\r\n%\r\n";
  const std::string thinned = "%\n\n(PMC=0I-F,MSID=1)\r\nN600002 P10\r\n%";
  for (const std::string opening : {"%\r\n", "\xEF\xBB\xBF%\r\n", " \t%\r\n"}) {
    EXPECT_EQ(Thin(opening + header, FormatKind::Pmc).out, thinned) << opening;
  }
  EXPECT_EQ(Thin("% \r\n" + header, FormatKind::Pmc).out, "%\n\r\n" + thinned.substr(3));
  EXPECT_EQ(Thin(header, FormatKind::Pmc).out, "%\n" + thinned.substr(3));
  EXPECT_EQ(Thin("%N600002 P10\r\n%\r\n", FormatKind::Pmc).out, "%\nN600002 P10\r\n%");
  EXPECT_EQ(Thin("N600002 P10\r\n%\r\n", FormatKind::Pmc).out, "%\nN600002 P10\r\n%");
}

TEST(Frame, UnhandledKindsAreDroppedAndCounted) {
  const Thinned thinned =
      Thin("%\r\nN0000001A1P5\r\nN0000002X5\r\nN0000003P5\r\n%\r\n", FormatKind::Pmc);
  EXPECT_EQ(thinned.out, "%\n\nN0000003P5\r\n%");  // the preamble is the LF of "%" CR LF
  EXPECT_EQ(thinned.outcome.stats.recordsUnhandled, 2);
  EXPECT_EQ(thinned.outcome.stats.firstUnhandled->line, 2);
  EXPECT_EQ(thinned.outcome.stats.firstUnhandled->text.Bytes(), "N0000001A1P5");
}

TEST(Frame, EmptyTextProducesNothing) {
  const Thinned thinned = Thin("", FormatKind::Fs30i);
  EXPECT_FALSE(thinned.outcome.produced);
  EXPECT_FALSE(thinned.outcome.error);
  EXPECT_EQ(thinned.out, "previous");
}

TEST(Frame, StatsAddUp) {
  const Thinned thinned = Thin(
      "%\r\nN00001Q1P0\r\nN00002Q1P3\r\nN00003Q1A1P0A2P4\r\nN00004Q1X\r\n"
      "N00005Q1L1P0L2P0\r\n%\r\n",
      FormatKind::Fs30i);
  const FilterStats& stats = thinned.outcome.stats;
  EXPECT_EQ(stats.recordsRead, 5);
  EXPECT_EQ(stats.recordsKept, 2);
  EXPECT_EQ(stats.recordsZero, 2);
  EXPECT_EQ(stats.recordsUnhandled, 1);
  EXPECT_EQ(stats.entriesZero, 3);
}

// Where the closing "%" is: the first "%" after the first record, or the end of the text.
TEST(ClosingPercent, MissingFinalPercentKeepsEveryRecord) {
  EXPECT_EQ(Thin("%\r\nNxxxxxxxP1\r\nNxxxxxxxP2\r\n", FormatKind::Fs30i).out,
            "%\nNxxxxxxxP1\r\nNxxxxxxxP2\r\n%");
  EXPECT_EQ(Thin("NxxxxxxxP1\r\nNxxxxxxxP2", FormatKind::Fs30i).out,
            "%\nNxxxxxxxP1\r\nNxxxxxxxP2\n%");
}

TEST(ClosingPercent, LineBeforeThePercentLineIsNotTheEnd) {
  EXPECT_EQ(
      Thin("Backup 2026-12-07 100%\r\n%\r\nNxxxxxxxP1\r\nNxxxxxxxP2\r\n%\r\n", FormatKind::Fs30i)
          .out,
      "%\nNxxxxxxxP1\r\nNxxxxxxxP2\r\n%");
}

TEST(ClosingPercent, TextAfterItIsIgnored) {
  EXPECT_EQ(Thin("%\r\nNxxxxxxxP1\r\n%\r\nNOTE: checked\r\nNxxxxxxxP2\r\n", FormatKind::Fs30i).out,
            "%\nNxxxxxxxP1\r\n%");
}

TEST(Failure, NoRecordAtAll) {
  for (const FormatKind kind : {FormatKind::Fs30i, FormatKind::Fs16i, FormatKind::Pmc}) {
    const Thinned thinned = Thin("%\r\nnothing here\r\n%\r\n", kind);
    ASSERT_TRUE(thinned.outcome.error);
    EXPECT_EQ(thinned.outcome.error->kind, FailureKind::NoRecord);
    EXPECT_EQ(thinned.out, "previous");
  }
}

TEST(Failure, BadValueTellsLineColumnAndText) {
  // Line ends of all three kinds before the failing record: it stands on line 4, and a
  // double-byte character before its value counts as one column.
  const Thinned thinned =
      Thin("%\r\nNxxxxxxxP1\nNxxxxxxxP2\rN\x83\x4Ex\x83\x4ExxxxP3 (three)\r\nNxxxxxxxP4\r\n%\r\n",
           FormatKind::Fs30i);
  ASSERT_TRUE(thinned.outcome.error);
  const FilterError& error = *thinned.outcome.error;
  EXPECT_EQ(error.kind, FailureKind::BadValue);
  EXPECT_EQ(error.at.position, 35);  // the character after the "P"
  EXPECT_EQ(error.at.line, 4);
  EXPECT_EQ(error.at.column, 10);
  EXPECT_EQ(error.at.text.Bytes(), "3 (three)");
  EXPECT_EQ(error.record.line, 4);
  EXPECT_EQ(error.record.column, 1);
  EXPECT_FALSE(error.strayLine);
  EXPECT_EQ(thinned.out, "previous");  // a failed run leaves the last result alone
}

// A note between two records is no value of the record before it, whichever way that record's
// value or entry runs into it.
TEST(Failure, ALineThatIsNoRecordIsNamed) {
  for (const std::string record : {"N00001Q1P5", "N00001Q1A1P5", "N00001Q1A1"}) {
    const std::string text = "%\r\n" + record + "\r\n  \r\n(COMMENT P1)\r\nN00002Q1P6\r\n%\r\n";
    const Thinned thinned = Thin(text, FormatKind::Fs30i);
    ASSERT_TRUE(thinned.outcome.error) << record;
    ASSERT_TRUE(thinned.outcome.error->strayLine) << record;
    EXPECT_EQ(thinned.outcome.error->strayLine->line, 4);
    EXPECT_EQ(thinned.outcome.error->strayLine->text.Bytes(), "(COMMENT P1)");
  }
}

// What a message shows of a line is cut at kShownCharacters.
TEST(Failure, LongLinesAreCut) {
  const std::string value = "1x" + std::string(60, '2');
  const FilterError error =
      *Thin("%\r\nN00001Q1P" + value + "\r\n%\r\n", FormatKind::Fs30i).outcome.error;
  EXPECT_EQ(error.at.text.Bytes(), value.substr(0, kShownCharacters));
  EXPECT_TRUE(error.at.cut);
}

TEST(Failure, ShortRecordAndValueRunningIntoTheNextRecord) {
  // The kind letter of "N1" is read from the next record, whose "N" comes before the value.
  EXPECT_EQ(Thin("%\r\nN1\r\nNxxxP5\r\n%\r\n", FormatKind::Fs30i).outcome.error->kind,
            FailureKind::NegativeLength);
  // The same with a kind of entries: its first entry would start beyond its own record.
  EXPECT_EQ(Thin("%\r\nN1\r\nNxxxA1P5\r\n%\r\n", FormatKind::Fs30i).outcome.error->kind,
            FailureKind::NegativeLength);
  EXPECT_EQ(Thin("%\r\nNxxxxxxxPNxxxxxxxP1\r\n%\r\n", FormatKind::Fs30i).outcome.error->kind,
            FailureKind::BadValue);
}

TEST(Failure, RecordLimitFailsInsteadOfEndingTheProgram) {
  const Thinned below = Thin(Records(99999, "P1"), FormatKind::Fs30i);
  EXPECT_TRUE(below.outcome.produced);
  EXPECT_EQ(below.outcome.stats.recordsKept, 99999);

  const Thinned at = Thin(Records(100000, "P0"), FormatKind::Fs30i);
  ASSERT_TRUE(at.outcome.error);
  EXPECT_EQ(at.outcome.error->kind, FailureKind::RecordLimit);
  EXPECT_EQ(at.outcome.error->record.line, 100001);
  EXPECT_EQ(at.out, "previous");
}

TEST(Runs, AreIndependent) {
  FilterState state = test::StateWithText(kSimple);
  ASSERT_TRUE(RunFilter(state, FormatKind::Fs30i, false).produced);
  const Cp932Text first = state.OutText;
  ASSERT_TRUE(RunFilter(state, FormatKind::Fs30i, false).produced);
  EXPECT_EQ(state.OutText, first);
  EXPECT_EQ(state.AllText.Bytes(), kSimple);
}

}  // namespace
}  // namespace habuki
