// habuki diff --to xlsx read back by a spreadsheet reader: the cells are the CSV table's fields,
// and the values that differ from the first file's, and only those, are shaded.
#include <gtest/gtest.h>

#include "tests/cli/fleet_files.h"
#include "tests/cli/posix/read_xlsx.h"
#include "tests/support/habuki_runner.h"

namespace habuki {
namespace {

using test::Habuki;

// The last line of the reader's "styles": the shaded cells.
std::string Shaded(const std::filesystem::path& workbook) {
  const std::string styles = test::ReadXlsx("styles", workbook);
  return styles.substr(styles.rfind("shaded"));
}

TEST(FleetXlsx, CellsAreTheCsvFieldsAndDifferencesAreShaded) {
  const test::FleetFiles files;
  const struct {
    std::vector<std::string> files;
    std::string shaded;
  } cases[] = {
      {{"a.txt", "b.txt", "c.txt"}, "shaded E2 F2 E3\n"},
      {{"--all", "a.txt", "b.txt", "c.txt"}, "shaded E3 F3 E4\n"},
      {{"p1.txt", "p2.txt", "p3.txt"}, "shaded F2\n"},
      // A name that is no UTF-8 (CP932 機械) is written \xHH in the workbook as in the CSV.
      {{"\x8B\x40\x8A\x42.txt", "b.txt", "c.txt"}, "shaded E2 F2 E3\n"},
  };
  std::filesystem::copy_file(files.dir() / "a.txt", files.dir() / "\x8B\x40\x8A\x42.txt");
  for (const auto& [names, shaded] : cases) {
    std::vector<std::string> args{"diff", "--to", "csv"};
    args.insert(args.end(), names.begin(), names.end());
    const std::string csv = Habuki{}.Run(args).out;
    args[2] = "xlsx";
    Habuki toFile;
    toFile.outputFile = files.dir() / "fleet.xlsx";
    EXPECT_EQ(toFile.Run(args).status, 1) << names.back();
    EXPECT_EQ(test::ReadXlsx("cells", files.dir() / "fleet.xlsx"), csv) << names.back();
    EXPECT_EQ(Shaded(files.dir() / "fleet.xlsx"), shaded) << names.back();
  }
}

// Two files as a workbook: the table of one column a file, not the changes of OLD to NEW.
TEST(FleetXlsx, TwoFilesMakeTheTable) {
  const test::FleetFiles files;
  Habuki toFile;
  toFile.outputFile = files.dir() / "two.xlsx";
  EXPECT_EQ(toFile.Run({"diff", "--to", "xlsx", "a.txt", "c.txt"}).status, 1);
  EXPECT_EQ(test::ReadXlsx("cells", files.dir() / "two.xlsx"),
            "number,qualifier,entry,a.txt,c.txt\r\n00001,Q1,A2,7,\r\n");
  EXPECT_EQ(Shaded(files.dir() / "two.xlsx"), "shaded E2\n");
}

}  // namespace
}  // namespace habuki
