#include "core/text/text_primitives.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>

#include "core/filter/letter_finder.h"
#include "core/filter/run_filter.h"
#include "tests/support/test_support.h"

namespace habuki {
namespace {

FailureKind FailureOf(auto&& call) {
  try {
    call();
  } catch (const FilterFailure& failure) {
    return failure.kind;
  }
  ADD_FAILURE() << "no failure";
  return FailureKind::NoRecord;
}

TEST(Find, OneBasedPositionsAndZeroForNothing) {
  const CodeView text = u"%N1N2";
  EXPECT_EQ(find(text, 1, u'N'), 2);
  EXPECT_EQ(find(text, 2, u'N'), 2);
  EXPECT_EQ(find(text, 3, u'N'), 4);
  EXPECT_EQ(find(text, 5, u'N'), 0);
  EXPECT_EQ(find(text, 99, u'N'), 0);
  EXPECT_EQ(find(text, 1, u'n'), 0);  // case-sensitive
}

TEST(Substring, RulesOfStartAndLength) {
  const CodeView text = u"ABCDE";
  EXPECT_EQ(substring(text, 2, 3), u"BCD");
  EXPECT_EQ(substring(text, 4, 10), u"DE");
  EXPECT_EQ(substring(text, 6, 1), u"");
  EXPECT_EQ(substring(text, 3, 0), u"");
  EXPECT_EQ(FailureOf([&] { substring(text, 0, 1); }), FailureKind::NoRecord);
  EXPECT_EQ(FailureOf([&] { substring(text, 2, -1); }), FailureKind::NegativeLength);
}

// The whole of `value`, read as the filter reads a value.
bool IsNonZero(CodeView value) { return IsNonZeroValue(value, 1, static_cast<Pos>(value.size())); }

TEST(DecimalValue, ZeroIsEveryDigitZero) {
  for (const CodeView zero :
       {u"0", u"00000000", u"-0", u"+0", u"0.0", u".0", u"0.", u"  0  \r\n", u"\t-000.000\n\r\n"}) {
    EXPECT_FALSE(IsNonZero(zero)) << std::string(zero.begin(), zero.end());
  }
  for (const CodeView nonZero : {u"5", u"-3", u"0.001", u"00000010 \r\n", u"-865.475", u".5"}) {
    EXPECT_TRUE(IsNonZero(nonZero)) << std::string(nonZero.begin(), nonZero.end());
  }
}

TEST(DecimalValue, NoRangeLimit) {
  const std::u16string tinyButNotZero = u"0." + std::u16string(10000, u'0') + u"1";
  EXPECT_TRUE(IsNonZero(tinyButNotZero));
  EXPECT_FALSE(IsNonZero(std::u16string(10000, u'0')));
  EXPECT_TRUE(IsNonZero(u" -12.50 "));
  EXPECT_TRUE(IsNonZero(u"+12.50"));
}

std::optional<FailureKind> FilterFailureOf(const std::string& record, bool byCodes) {
  FilterState state = test::StateWithText("%\n" + record + "N00002Q1P1\n%");
  const FilterOutcome outcome = byCodes ? RunFilterOnCodes(state, FormatKind::Fs30i, false)
                                        : RunFilter(state, FormatKind::Fs30i, false);
  if (!outcome.error) return std::nullopt;
  return outcome.error->kind;
}

// Each bad value fails alone, and as a single value and as an entry inside whole records, where
// the filter reads it from bit masks (on bytes, and on 16-bit codes); a "%" in a record ends the
// text, so values with one are tried alone only.
TEST(DecimalValue, WhatIsNotANumberFails) {
  for (const CodeView bad : {u"", u"  \r\n", u"-", u".", u"+-1", u"1 2", u"0 1", u"1.2.3", u"1e5",
                             u"0x1", u"1,000", u":", u"%", u"5\r\n%", u"\x8250", u"1\x1A"}) {
    std::string bytes;
    AppendBytes(bytes, bad);
    EXPECT_EQ(FailureOf([&] { IsNonZero(bad); }), FailureKind::BadValue) << bytes;
    if (bytes.find('%') != std::string::npos) continue;
    for (const bool byCodes : {false, true}) {
      EXPECT_EQ(FilterFailureOf("N00001Q1P" + bytes + "\n", byCodes), FailureKind::BadValue)
          << bytes << (byCodes ? " by codes" : "");
      EXPECT_EQ(FilterFailureOf("N00001Q1A1P" + bytes + "A2P1\n", byCodes), FailureKind::BadValue)
          << bytes << (byCodes ? " by codes" : "");
    }
  }
}

TEST(IsNonZeroValue, FailuresTellWhereTheValueStarts) {
  try {
    IsNonZeroValue(u"P12X4", 2, 3);
    FAIL();
  } catch (const FilterFailure& failure) {
    EXPECT_EQ(failure.kind, FailureKind::BadValue);
    EXPECT_EQ(failure.position, 2);
  }
}

// The remembered searches must give exactly what a fresh search gives, whatever the order.
TEST(LetterFinder, AgreesWithFindOnRandomSearches) {
  std::mt19937 random(7);
  std::u16string text;
  for (int i = 0; i < 2000; ++i) text.push_back(u"NPMA%x\r\n"[random() % 8]);
  LetterFinder<char16_t> finder(text);
  Pos start = 1;
  for (int i = 0; i < 20000; ++i) {
    start = random() % 10 == 0 ? Pos(random() % 2100) : start + Pos(random() % 5);
    const char16_t letter = u"NPMAZ\x834E"[random() % 6];
    ASSERT_EQ(finder.find(start, letter), find(text, start, letter)) << start;
  }
}

}  // namespace
}  // namespace habuki
