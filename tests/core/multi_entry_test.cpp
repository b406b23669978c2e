#include <gtest/gtest.h>

#include "core/filter/run_filter.h"
#include "tests/support/test_support.h"

namespace habuki {
namespace {

using test::Thinned;

Thinned Thin(std::string_view records, FormatKind kind) {
  return test::Thin("%\r\n" + std::string(records) + "%\r\n", kind);
}

std::string Thin30i(std::string_view records) { return Thin(records, FormatKind::Fs30i).out; }

std::string Entries(int count, std::string_view value) {
  return test::EntryRecord(count, 'A', value);
}

TEST(Entries, ZeroEntriesAreDroppedOneByOne) {
  EXPECT_EQ(Thin30i("NxxxxxxxA1P5A2P0A3P7\r\n"), "%\nNxxxxxxxA1P5A3P7\r\n%");
  EXPECT_EQ(Thin30i("NxxxxxxxA1P0A2P0\r\n"), "%\n%");
}

TEST(Entries, ZeroLastEntryLeavesTheRecordEndingInLf) {
  EXPECT_EQ(Thin30i("NxxxxxxxA1P5A2P0\r\n"), "%\nNxxxxxxxA1P5\n%");
}

TEST(Entries, EarlierOfTheTwoMarkersCountsIn30i) {
  EXPECT_EQ(Thin30i("NxxxxxxxA1M5A2P0\r\n"), "%\nNxxxxxxxA1M5\n%");
  EXPECT_EQ(Thin30i("NxxxxxxxA1M0.0A2M-865.475\r\n"), "%\nNxxxxxxxA2M-865.475\r\n%");
}

TEST(Entries, EveryEntryKindOf30iIsScannedAlike) {
  for (const char kind : {'A', 'L', 'S', 'T'}) {
    const std::string record = std::string("Nxxxxxxx") + kind + "1P5" + kind + "2P0\r\n";
    EXPECT_EQ(Thin30i(record), "%\nNxxxxxxx" + std::string(1, kind) + "1P5\n%") << kind;
  }
}

TEST(Entries, Only16iAEntriesAndPMarkers) {
  EXPECT_EQ(Thin("NxxxxxxA1P5A2P6\r\n", FormatKind::Fs16i).out, "%\nNxxxxxxA1P5A2P6\r\n%");
  EXPECT_EQ(Thin("NxxxxxxL1P5L2P6\r\n", FormatKind::Fs16i).out, "%\n%");
  // "M" is no marker in 16i: the next "P" lies beyond the entry.
  EXPECT_EQ(Thin("NxxxxxxA1M5A2P6\r\n", FormatKind::Fs16i).outcome.error->kind,
            FailureKind::NegativeLength);
}

TEST(Entries, LastRecordEndsAtTheClosingPercent) {
  EXPECT_EQ(Thin30i("NxxxxxxxA1P0A2P7\r\n"), "%\nNxxxxxxxA2P7\r\n%");
  FilterState state = test::StateWithText("%\r\nNxxxxxxxA1P0A2P7");
  ASSERT_TRUE(RunFilter(state, FormatKind::Fs30i, false).produced);
  EXPECT_EQ(state.OutText.Bytes(), "%\nNxxxxxxxA2P7\n%");
}

TEST(Entries, EntryWithoutItsOwnMarkerFails) {
  const Thinned inner = Thin("NxxxxxxxA1A2P5\r\n", FormatKind::Fs30i);
  ASSERT_TRUE(inner.outcome.error);
  EXPECT_EQ(inner.outcome.error->kind, FailureKind::NegativeLength);
  const Thinned last = Thin("NxxxxxxxA1P5A2\r\nNxxxxxxxP3\r\n", FormatKind::Fs30i);
  EXPECT_EQ(last.outcome.error->kind, FailureKind::NegativeLength);
}

TEST(Entries, NoMarkerAnywhereAfterDropsTheRestAndSaysSo) {
  const Thinned thinned = Thin("NxxxxxxxP3\r\nNxxxxxxxA1P5A2xA3x\r\n", FormatKind::Fs30i);
  ASSERT_TRUE(thinned.outcome.produced);
  EXPECT_EQ(thinned.out, "%\nNxxxxxxxP3\r\nNxxxxxxxA1P5\n%");
  EXPECT_EQ(thinned.outcome.stats.entriesUnmarked, 2);
  EXPECT_EQ(thinned.outcome.stats.firstUnmarked->line, 3);
}

TEST(Entries, LimitIsAThousandEntriesInOneRecord) {
  const Thinned atLimit = Thin(Entries(1000, "P1"), FormatKind::Fs30i);
  ASSERT_TRUE(atLimit.outcome.produced);
  EXPECT_EQ(atLimit.out, "%\n" + Entries(1000, "P1") + "%");

  const Thinned over = Thin("NxxxxxxxP3\r\n" + Entries(1001, "P0"), FormatKind::Fs30i);
  ASSERT_TRUE(over.outcome.error);
  EXPECT_EQ(over.outcome.error->kind, FailureKind::EntryLimit);
  EXPECT_EQ(over.outcome.error->record.line, 3);
  EXPECT_EQ(over.out, "previous");  // a failed run leaves OutText as it was
}

// Values of every length up to beyond the 64 characters the entry reader sees at once, some with
// a point or a blank, so that entries start and end at every place of its looks.
TEST(Entries, ValuesOfEveryLengthAreReadAlike) {
  std::string record = "Nxxxxxxx", expected = "Nxxxxxxx";
  for (int length = 1; length <= 80; ++length) {
    const bool nonZero = length % 3 == 0;
    std::string value = std::string(length - 1, '0') + (nonZero ? "1" : "0");
    if (length % 4 == 0) value.insert(value.begin(), '.');
    if (length % 5 == 0) value += ' ';
    const std::string entry = "A" + std::to_string(length) + "P" + value;
    record += entry;
    if (nonZero) expected += entry;
  }
  EXPECT_EQ(Thin30i(record + "\r\n"), "%\n" + expected + "\n%");
}

// Entries far from the next "M": the result must still be exact, the searches reused.
TEST(Entries, LongTextWithoutAnyMKeepsEveryNonZeroEntry) {
  std::string records, expected;
  for (int r = 0; r < 300; ++r) {
    std::string head = "N" + std::to_string(1000000 + r);
    records += head;
    expected += head;
    for (int e = 1; e <= 200; ++e) {
      const std::string entry = "A" + std::to_string(e) + "P" + std::to_string(e % 3);
      records += entry;
      if (e % 3 != 0) expected += entry;
    }
    records += "\r\n";
    expected += (200 % 3 != 0) ? "\r\n" : "\n";
  }
  EXPECT_EQ(Thin30i(records), "%\n" + expected + "%");
}

}  // namespace
}  // namespace habuki
