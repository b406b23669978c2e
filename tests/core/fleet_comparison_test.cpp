#include "core/table/fleet_comparison.h"

#include <gtest/gtest.h>

#include "tests/support/test_support.h"

namespace habuki {
namespace {

// A table as lines: "00001Q1 A1: 5 | - | 0*", a missing value "-", a value that differs from
// the row's reference marked "*".
std::vector<std::string> Lines(const FleetComparison& table) {
  std::vector<std::string> lines;
  for (std::size_t row = 0; row < table.keys.size(); ++row) {
    const FleetKey& key = table.keys[row];
    std::string line =
        std::string(key.number) + std::string(key.qualifier) + " " + std::string(key.entry) + ":";
    for (const FleetCell& cell : table.Row(row)) {
      line += (&cell == &table.Row(row).front() ? " " : " | ") +
              (cell.present ? std::string(cell.value) : "-") + (cell.differs ? "*" : "");
    }
    lines.push_back(line);
  }
  return lines;
}

// What comparing the texts as 30i backups gives, told while the texts are there.
struct Compared {
  Compared(const std::vector<std::string>& texts, FleetRows rows, FleetReference reference = {}) {
    std::vector<FilterState> states;
    for (const std::string& text : texts) states.push_back(test::StateWithText(text));
    std::vector<FleetMember> members;
    for (const FilterState& state : states) members.push_back({&state, FormatKind::Fs30i});
    const FleetComparison table = CompareFleet(members, rows, reference);
    lines = Lines(table);
    differing = table.differing;
    values = table.values;
    for (const ParameterReading& reading : table.readings)
      failed.push_back(reading.error.has_value());
  }

  std::vector<std::string> lines;
  std::size_t differing;
  std::vector<std::size_t> values;
  std::vector<bool> failed;
};

// A backup of these records and a last one of its own, as one without records is refused.
std::string Backup(std::string_view records) {
  return "%\r\n" + std::string(records) + "N00009Q1P1\r\n%\r\n";
}

// Rows of three backups, matched and compared as two backups' rows are.
TEST(CompareFleet, RowsAndCells) {
  const std::string base = "N00001Q1A1P5A2P7\r\nN00002Q1P2\r\n";
  const struct {
    const char* name;
    std::vector<std::string> texts;
    FleetRows rows;
    std::vector<std::string> lines;
    std::size_t differing;
  } cases[] = {
      {"alike", {Backup(base), Backup(base), Backup(base)}, FleetRows::Differing, {}, 0},
      {"one value differs, every file shown",
       {Backup(base), Backup(base), Backup("N00001Q1A1P5A2P8\r\nN00002Q1P2\r\n")},
       FleetRows::Differing,
       {"00001Q1 A2: 7 | 7 | 8*"},
       1},
      {"every row",
       {Backup(base), Backup(base), Backup("N00001Q1A1P5A2P8\r\nN00002Q1P2\r\n")},
       FleetRows::All,
       {"00001Q1 A1: 5 | 5 | 5", "00001Q1 A2: 7 | 7 | 8*", "00002Q1 : 2 | 2 | 2",
        "00009Q1 : 1 | 1 | 1"},
       1},
      {"missing and 0 alike, each shown as what it is",
       {Backup("N00003Q1P0\r\n"), Backup(""), Backup("N00003Q1P00\r\n")},
       FleetRows::All,
       {"00003Q1 : 0 | - | 00", "00009Q1 : 1 | 1 | 1"},
       0},
      {"a value against missing and 0",
       {Backup("N00003Q1P4\r\n"), Backup(""), Backup("N00003Q1P0\r\n")},
       FleetRows::Differing,
       {"00003Q1 : 4* | - | 0"},
       1},
      {"the first file missing a value",
       {Backup(""), Backup("N00003Q1L1P4\r\n"), Backup("")},
       FleetRows::Differing,
       {"00003Q1 L1: - | 4* | -"},
       1},
      {"numbers exactly, unhandled kinds as text",
       {Backup("N00004Q1P+5\r\nN00005Q1X1\r\n"), Backup("N00004Q1P5\r\nN00005Q1X1\r\n"),
        Backup("N00004Q1P5.0\r\nN00005Q1X01\r\n")},
       FleetRows::Differing,
       {"00005Q1 : X1 | X1 | X01*"},
       1},
      {"the k-th row of a key with the k-th",
       {Backup("N00006Q1P1\r\nN00006Q1P2\r\n"), Backup("N00006Q1P1\r\nN00006Q1P3\r\n"),
        Backup("N00006Q1P1\r\n")},
       FleetRows::Differing,
       {"00006Q1 : 2 | 3* | -*"},
       1},
      {"in the order of the parameters, whatever the files' order",
       {Backup("N00002Q1P2\r\nN00001Q1P1\r\n"), Backup("N00001Q1P1\r\nN00002Q1P2\r\n"),
        Backup("N00001Q1P9\r\nN00002Q1P9\r\n")},
       FleetRows::Differing,
       {"00001Q1 : 1 | 1 | 9*", "00002Q1 : 2 | 2 | 9*"},
       2},
  };
  for (const auto& [name, texts, rows, lines, differing] : cases) {
    const Compared table(texts, rows);
    EXPECT_EQ(table.failed, std::vector<bool>(texts.size(), false)) << name;
    EXPECT_EQ(table.lines, lines) << name;
    EXPECT_EQ(table.differing, differing) << name;
  }
}

// A cell is marked where it differs from the value most files have, the first file's on a tie,
// or from the file named to compare against.
TEST(CompareFleet, MarksTheOddOneOut) {
  const auto values = [](std::vector<int> each) {
    std::vector<std::string> texts;
    for (const int value : each)
      texts.push_back(Backup("N00003Q1P" + std::to_string(value) + "\r\n"));
    return texts;
  };
  const struct {
    std::vector<int> values;
    FleetReference reference;
    std::string line;
  } cases[] = {
      {{9, 1, 1, 1, 1}, {}, "00003Q1 : 9* | 1 | 1 | 1 | 1"},
      {{1, 1, 9, 1, 1}, {}, "00003Q1 : 1 | 1 | 9* | 1 | 1"},
      {{5, 1, 1, 2, 2}, {}, "00003Q1 : 5 | 1* | 1* | 2* | 2*"},
      {{1, 2, 2, 1}, {}, "00003Q1 : 1 | 2* | 2* | 1"},
      {{2, 1}, {}, "00003Q1 : 2 | 1*"},
      {{9, 1, 1, 1, 1}, {2}, "00003Q1 : 9* | 1 | 1 | 1 | 1"},
      {{9, 1, 1, 1, 1}, {0}, "00003Q1 : 9 | 1* | 1* | 1* | 1*"},
  };
  for (const auto& [each, reference, line] : cases) {
    EXPECT_EQ(Compared(values(each), FleetRows::Differing, reference).lines,
              std::vector<std::string>{line})
        << line;
  }
}

// Each backup's values that are not 0, whatever rows the table holds.
TEST(CompareFleet, CountsTheValuesThatAreNotZero) {
  const std::vector<std::string> texts = {Backup("N00003Q1P0\r\nN00004Q1A1P0A2P5\r\n"), Backup("")};
  for (const FleetRows rows : {FleetRows::Differing, FleetRows::All}) {
    EXPECT_EQ(Compared(texts, rows).values, (std::vector<std::size_t>{2, 1}));
  }
}

// A backup that breaks its format's rules leaves the table empty, and every backup is read.
TEST(CompareFleet, EveryBackupReadWhenOneFails) {
  const Compared table(
      {Backup("N00001Q1P1 2\r\n"), Backup("N00001Q1P1\r\n"), Backup("N00001Q1P1 2\r\n")},
      FleetRows::All);
  EXPECT_EQ(table.failed, std::vector<bool>({true, false, true}));
  EXPECT_TRUE(table.lines.empty());
}

}  // namespace
}  // namespace habuki
