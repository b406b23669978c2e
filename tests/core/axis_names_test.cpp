#include "core/table/axis_names.h"

#include <gtest/gtest.h>

#include "core/io/param_file.h"
#include "tests/support/test_support.h"

namespace habuki {
namespace {

using Strings = std::vector<std::string>;

// Entries A1 up to A`count` with their names: "A1 (X)", or "A6" without one.
Strings Labels(const AxisNames& names, std::size_t count) {
  Strings labels;
  for (std::size_t axis = 1; axis <= count; ++axis) {
    const std::string entry = "A" + std::to_string(axis);
    const std::string_view name = names.NameOf(entry);
    labels.push_back(name.empty() ? entry : entry + " (" + std::string(name) + ")");
  }
  return labels;
}

// Five named axes of twenty in the real 30i backup, none in the PMC one.
TEST(AxisNames, RealBackups) {
  for (const auto& [file, kind] : {std::pair("machining-center-30i.txt", FormatKind::Fs30i),
                                   std::pair("machining-center-pmc.txt", FormatKind::Pmc)}) {
    FilterState state;
    ASSERT_TRUE(LoadParamFile(state, test::DataFile(file)));
    const AxisNames names = ReadAxisNames(state, kind);
    const Strings on30i = {"A1 (X)", "A2 (Y)", "A3 (Z)", "A4 (B)", "A5 (W)", "A6"};
    const Strings none = {"A1", "A2", "A3", "A4", "A5", "A6"};
    EXPECT_EQ(Labels(names, 6), kind == FormatKind::Pmc ? none : on30i) << file;
    EXPECT_EQ(names.NameOf("A20"), "") << file;
  }
}

// Every row of a made-up backup given to Add, those of value 0 too.
TEST(AxisNames, MadeUpBackups) {
  const struct {
    const char* name;
    std::string records;
    FormatKind kind;
    Strings labels;  // of A1 and on
  } cases[] = {
      {"16i", "N1020Q1A1P88A2P090", FormatKind::Fs16i, {"A1 (X)", "A2 (Z)", "A3"}},
      {"codes",
       "N01020Q1A1P0A2P32A3P33A4P126A5P127A6P-88A7P344A8P88.5A9P89.0",
       FormatKind::Fs30i,
       {"A1", "A2", "A3 (!)", "A4 (~)", "A5", "A6", "A7", "A8", "A9 (Y)"}},
      {"no 1020",
       "N01021Q1A1P88\r\nN10200Q1A1P88\r\nN01020Q1L1P88L2P89",
       FormatKind::Fs30i,
       {"A1", "A2"}},
      {"the first name stays", "N01020Q1A1P88\r\nN01020Q1A1P89", FormatKind::Fs30i, {"A1 (X)"}},
  };
  for (const auto& [name, records, kind, labels] : cases) {
    const FilterState state = test::StateWithText("%\r\n" + records + "\r\n%\r\n");
    AxisNames names;
    const ParameterReading reading = ReadParameters(
        state, kind, RowsWanted::All, [&](const ParameterRow& row) { names.Add(row); });
    ASSERT_FALSE(reading.error) << name;
    EXPECT_EQ(Labels(names, labels.size()), labels) << name;
  }
}

// Entries are matched as numbers, and only "A" and digits is an axis.
TEST(AxisNames, EntriesThatNameAnAxis) {
  const FilterState state = test::StateWithText("%\r\nN01020Q1A1P88A10P66\r\n%\r\n");
  const AxisNames names = ReadAxisNames(state, FormatKind::Fs30i);
  const std::pair<const char*, const char*> entries[] = {{"A1", "X"}, {"A01", "X"}, {"A10", "B"},
                                                         {"A0", ""},  {"A", ""},    {"L1", ""},
                                                         {"A1x", ""}, {"", ""}};
  for (const auto& [entry, name] : entries) EXPECT_EQ(names.NameOf(entry), name) << entry;
}

// The names come from parameter 1020 alone: a fault elsewhere is for the reading of the rows to
// tell; a 1020 that breaks its format's rules names no axis.
TEST(AxisNames, ReadFrom1020AloneAndNoneWhereItIsBroken) {
  const std::string brokenElsewhere = "%\r\nN01005Q1A1P1x\r\nN01020Q1A1P88\r\n%\r\n";
  const std::string broken1020 = "%\r\nN01020Q1A1P88A2P8x\r\n%\r\n";
  EXPECT_EQ(ReadAxisNames(test::StateWithText(brokenElsewhere), FormatKind::Fs30i).NameOf("A1"),
            "X");
  EXPECT_TRUE(ReadAxisNames(test::StateWithText(broken1020), FormatKind::Fs30i).empty());
}

}  // namespace
}  // namespace habuki
