// habuki --to xlsx where it refuses: what a workbook cannot be written to or cannot hold.
#include <gtest/gtest.h>

#include <string>

#include "tests/cli/simple_backup.h"
#include "tests/support/habuki_runner.h"
#include "tests/support/test_support.h"

namespace habuki {
namespace {

using test::Habuki;
using Result = test::HabukiRun;

constexpr std::string_view kTerminalRefused =
    "habuki: an xlsx workbook is not shown on a terminal: give -o FILE or --output-dir DIR, or "
    "redirect standard output\n";

// Refused as a usage error before any input is read: a missing file is not even looked for.
TEST(XlsxExport, ATerminalIsRefusedBeforeAnythingIsRead) {
  Habuki terminal{test::kSimple};
  terminal.terminal = true;
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--to", "xlsx"}, {"--to", "xlsx", "--all", "missing.txt"}}) {
    const Result refused = terminal.Run(args);
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err, kTerminalRefused);
    EXPECT_EQ(refused.out, "");
  }
  const test::TempDir dir;
  const Result toFile = terminal.Run({"--to", "xlsx", "-o", (dir / "out.xlsx").string()});
  EXPECT_EQ(toFile.status, 0) << toFile.err;
  EXPECT_EQ(test::ReadBytes(dir / "out.xlsx").substr(0, 4), "PK\x03\x04");
}

// 95,326 records of 11 entries: 1,048,586 rows with --all, ten more than a sheet holds under
// its header.
std::string TooLongForASheet() {
  std::string entries;
  for (int entry = 1; entry <= 11; ++entry) entries += "A" + std::to_string(entry) + "P0";
  std::string text = "%\r\n";
  char number[8];
  for (int record = 0; record < 95326; ++record) {
    std::snprintf(number, sizeof number, "%05d", record);
    text.append("N").append(number).append("Q1").append(entries).append("\r\n");
  }
  return text + "%\r\n";
}

// Nothing is written, to a file or standard output, and a file that was there stays as it was.
TEST(XlsxExport, ATableLongerThanASheetWritesNothing) {
  const test::TempDir dir;
  test::WriteBytes(dir / "long.txt", TooLongForASheet());
  test::WriteBytes(dir / "out.xlsx", "previous");
  std::filesystem::create_directory(dir / "results");
  const std::string input = (dir / "long.txt").string();
  const std::string message =
      ": cannot write: the table has more rows than a sheet holds (1,048,576, the header's "
      "included): row 1,048,577 cannot be written\n";
  const struct {
    std::vector<std::string> args;
    std::string target;
  } cases[] = {
      {{"-o", (dir / "out.xlsx").string(), input}, (dir / "out.xlsx").string()},
      {{"--output-dir", (dir / "results").string(), input},
       (dir / "results" / "long.txt.xlsx").string()},
      {{input}, "standard output"},
      {{input, input}, "standard output"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args{"--to", "xlsx", "--all", "-f", "30i"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const Result result = Habuki{}.Run(args);
    EXPECT_EQ(result.status, 3) << c.target;
    EXPECT_EQ(result.err, "habuki: " + c.target + message);
    EXPECT_EQ(result.out, "");
  }
  EXPECT_EQ(test::ReadBytes(dir / "out.xlsx"), "previous");
  EXPECT_EQ(test::EntriesIn(dir.path()), 3u);
  EXPECT_EQ(test::EntriesIn(dir / "results"), 0u);
  // Without --all it holds no row at all.
  EXPECT_EQ(Habuki{}.Run({"--to", "xlsx", "-f", "30i", input}).status, 0);
}

}  // namespace
}  // namespace habuki
