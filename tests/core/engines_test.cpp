#include <gtest/gtest.h>

#include "bench/param_generator.h"
#include "core/filter/run_filter.h"
#include "tests/support/test_support.h"

namespace habuki {
namespace {

// Texts where the byte engine's shortcuts meet their edges: values of every length around its
// 16-byte looks, values that are not plain digits, entries whose marker lies past the record or
// is missing, records shorter than their head, and texts that end before 32 bytes can be read.
const char* const kTexts[] = {
    "%\r\nN00001Q1L1P0L2M5L3P0.0L4M1.L5P.5\r\nN00002Q1P00000010 \r\n%\r\n",
    "%\nN00001Q1A1P0000000000000000A2P00000000000000001A3P000000000000000A4P000000000000007"
    "A5P0000000000000009A6P00000000000000.1\n%",
    "%\nN00001Q1A1P00000000000000000000000000000000000000000000000000000000000000001A2P0\n%",
    "%\nN00001Q1S1P 5S2P+1S3P5 5S4P1.2.3S5P-0\n%",
    "%\nN00001Q1S1P5S2P0\r\n",
    "%\r\nN00001Q1A1A2P5\r\nN00002Q1P1\r\n%\r\n",
    "%\r\nN00001Q1T1T2T3\r\nN00002Q1L1P7\r\n%\r\n",
    "%\nN1\nN00002Q1A1P5",
    "%\nN00001Q1L1P5L2P0\xA0\xFF L3P1\n%\nN00003Q1L1P4\n",
    "(PMC)\r\nN600000 P10\r\nN600001 P0\r\n%\r\n",
};

FilterOutcome Thin(FilterState& state, FormatKind kind, bool withComment, bool byCodes) {
  return byCodes ? RunFilterOnCodes(state, kind, withComment) : RunFilter(state, kind, withComment);
}

void ExpectSameOutcome(std::string_view text) {
  for (const FormatKind kind : {FormatKind::Fs30i, FormatKind::Fs16i, FormatKind::Pmc}) {
    for (const bool withComment : {false, true}) {
      FilterState byBytes = test::StateWithText(text);
      byBytes.CommentText = Cp932Text::FromBytes("comment");
      FilterState byCodes = byBytes;
      ASSERT_FALSE(byBytes.AllText.HasDoubleByteCharacters());
      const FilterOutcome first = Thin(byBytes, kind, withComment, false);
      const FilterOutcome second = Thin(byCodes, kind, withComment, true);
      const auto where = ::testing::Message() << text << " as format " << static_cast<int>(kind);
      EXPECT_EQ(first.produced, second.produced) << where;
      EXPECT_EQ(first.error, second.error) << where;
      EXPECT_EQ(first.stats, second.stats) << where;
      EXPECT_EQ(byBytes.OutText.Bytes(), byCodes.OutText.Bytes()) << where;
    }
  }
}

TEST(FilterEngines, BytesAndCodesGiveTheSameOutcome) {
  for (const char* text : kTexts) ExpectSameOutcome(text);
}

TEST(FilterEngines, BytesAndCodesGiveTheSameOutcomeOnGeneratedBackups) {
  ExpectSameOutcome(bench::GenerateShaped30i(2000));
  ExpectSameOutcome(bench::GenerateAdversarial30i(20000));
}

}  // namespace
}  // namespace habuki
