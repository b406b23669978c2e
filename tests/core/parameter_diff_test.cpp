#include "core/table/parameter_diff.h"

#include <gtest/gtest.h>

#include "core/table/changed_bits.h"
#include "core/table/decimal_number.h"
#include "tests/support/test_support.h"

namespace habuki {
namespace {

// Values as a parameter file writes them, and whether two of them are the same number.
TEST(CanonicalDecimal, OneSpellingForEachNumber) {
  const struct {
    std::string_view value;
    std::optional<std::string> canonical;
  } cases[] = {
      {"00000010", "10"},    {"10", "10"},
      {" 0.0\r\n", "0"},     {"-0", "0"},
      {"+0.000", "0"},       {".5", "0.5"},
      {"360.0", "360"},      {"-120.50", "-120.5"},
      {"-.0", "0"},          {"12.", "12"},
      {"", std::nullopt},    {"-", std::nullopt},
      {".", std::nullopt},   {"1.2.3", std::nullopt},
      {"1 2", std::nullopt}, {"0x10", std::nullopt},
  };
  for (const auto& [value, canonical] : cases)
    EXPECT_EQ(CanonicalDecimal(value), canonical) << value;
}

// A value of exactly 8 binary digits is a bit parameter: its changed bits from #7 (leftmost) down
// to #0; any other value has none.
TEST(ChangedBits, OnlyBetweenTwoPatternsOfEightBinaryDigits) {
  const struct {
    std::string_view before, after;
    std::vector<BitChange> bits;
  } cases[] = {
      {"00000011", "00000111", {{2, '0', '1'}}},
      {"00000001", "10000000", {{7, '0', '1'}, {0, '1', '0'}}},
      {"00000011", "00000011", {}},
      {"0000011", "00000111", {}},
      {"000000011", "000000111", {}},
      {"00000012", "00000011", {}},
      {"00000011", "0000001 ", {}},
      {"00000011", "", {}},
  };
  for (const auto& [before, after, bits] : cases)
    EXPECT_EQ(ChangedBits(before, after), bits) << before << " -> " << after;
}

ParameterRow Row(std::string_view number, std::string_view entry, std::string_view value,
                 std::string_view marker = "P") {
  const bool zero = !marker.empty() && CanonicalDecimal(value) == "0";
  return {number, "Q1", entry, marker, value, 1, zero};
}

struct DiffCase {
  const char* name;
  std::vector<ParameterRow> before, after;
  std::size_t changed, added, removed, setToZero;
};

// A missing row is the value 0, a row of 0 set to 0; numbers compare exactly, unhandled kinds as
// text.
TEST(CompareParameters, MissingIsZeroAndNumbersCompareExactly) {
  const std::vector<DiffCase> cases = {
      {"same spelling", {Row("00001", "", "5")}, {Row("00001", "", "5")}, 0, 0, 0, 0},
      {"leading zeros", {Row("00001", "A1", "00000010")}, {Row("00001", "A1", "10")}, 0, 0, 0, 0},
      {"signs and fractions",
       {Row("00001", "", "-0"), Row("00002", "", "360.0")},
       {Row("00001", "", "0.0"), Row("00002", "", "360")},
       0,
       0,
       0,
       0},
      {"a zero row against none", {Row("00001", "", "0")}, {}, 0, 0, 0, 0},
      {"a value that changed",
       {Row("00001", "A4", "00000011")},
       {Row("00001", "A4", "10000011")},
       1,
       0,
       0,
       0},
      {"zero to a value", {Row("00001", "", "0")}, {Row("00001", "", "7")}, 1, 0, 0, 0},
      {"a value set to 0", {Row("00001", "", "7")}, {Row("00001", "", "0")}, 0, 0, 0, 1},
      {"numbers as numbers", {Row("1005", "A1", "1")}, {Row("01005", "A1", "1")}, 0, 0, 0, 0},
      {"added and removed", {Row("00001", "A1", "1")}, {Row("00001", "A2", "1")}, 0, 1, 1, 0},
      {"indexes as numbers", {Row("00001", "A01", "1")}, {Row("00001", "A2", "1")}, 0, 1, 1, 0},
      {"unhandled kinds as text",
       {Row("00001", "", "X1 ", "")},
       {Row("00001", "", "X01", "")},
       1,
       0,
       0,
       0},
      {"order need not be the same",
       {Row("00002", "", "2"), Row("00001", "", "1")},
       {Row("00001", "", "1"), Row("00002", "", "3")},
       1,
       0,
       0,
       0},
  };
  for (const DiffCase& row : cases) {
    const ParameterDiff diff = CompareParameters(row.before, row.after);
    EXPECT_EQ(diff.changed, row.changed) << row.name;
    EXPECT_EQ(diff.added, row.added) << row.name;
    EXPECT_EQ(diff.removed, row.removed) << row.name;
    EXPECT_EQ(diff.setToZero, row.setToZero) << row.name;
    EXPECT_EQ(diff.changes.size(), row.changed + row.added + row.removed + row.setToZero)
        << row.name;
  }
}

// Differences come in the order of the parameters: numbers as numbers, entries by their index.
TEST(CompareParameters, ChangesComeInTheOrderOfTheParameters) {
  const std::vector<ParameterRow> before = {Row("00010", "A2", "1"), Row("00010", "A10", "1"),
                                            Row("00009", "", "1")};
  const ParameterDiff diff = CompareParameters(before, {});
  ASSERT_EQ(diff.changes.size(), 3u);
  EXPECT_EQ(diff.changes[0].before->number, "00009");
  EXPECT_EQ(diff.changes[1].before->entry, "A2");
  EXPECT_EQ(diff.changes[2].before->entry, "A10");
}

// Backups compared as they are read: in the order of their parameters or not, zero rows shown
// where a change needs them.
TEST(CompareBackups, AnyOrderOfRecordsAndZerosWhereAChangeNeedsThem) {
  const std::string backup = "%\r\nN00001Q1A1P5A2P0\r\nN00002Q1P2\r\nN00003Q1L1P7\r\n%\r\n";
  const struct {
    const char* name;
    std::string before, after;
    std::size_t changed, added, removed, setToZero;
  } cases[] = {
      {"alike", backup, backup, 0, 0, 0, 0},
      {"new out of order", backup, "%\r\nN00003Q1L1P7\r\nN00002Q1P3\r\nN00001Q1A1P5A2P0\r\n%\r\n",
       1, 0, 0, 0},
      {"old out of order", "%\r\nN00003Q1L1P7\r\nN00002Q1P2\r\nN00001Q1A1P5\r\n%\r\n",
       "%\r\nN00001Q1A1P5A2P4\r\nN00003Q1L1P0\r\n%\r\n", 0, 1, 1, 1},
      {"a zero found out of order", "%\r\nN00003Q1L1P7\r\nN00001Q1A1P5A2P0\r\n%\r\n",
       "%\r\nN00001Q1A1P5A2P4\r\nN00003Q1L1P7\r\n%\r\n", 1, 0, 0, 0},
      {"zero to a value", backup, "%\r\nN00001Q1A1P5A2P9\r\nN00002Q1P2\r\nN00003Q1L1P7\r\n%\r\n", 1,
       0, 0, 0},
  };
  for (const auto& row : cases) {
    const FilterState before = test::StateWithText(row.before),
                      after = test::StateWithText(row.after);
    const BackupComparison comparison =
        CompareBackups(before, FormatKind::Fs30i, after, FormatKind::Fs30i);
    const ParameterDiff& diff = comparison.diff;
    EXPECT_EQ(diff.changed, row.changed) << row.name;
    EXPECT_EQ(diff.added, row.added) << row.name;
    EXPECT_EQ(diff.removed, row.removed) << row.name;
    EXPECT_EQ(diff.setToZero, row.setToZero) << row.name;
  }
}

}  // namespace
}  // namespace habuki
