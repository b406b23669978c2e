// habuki diff --to xlsx read back by a spreadsheet reader: the cells are the CSV table's fields
// with a missing value "-", the values that differ from the row's reference, and only those, are
// shaded, and a sheet of files says what was compared.
#include <gtest/gtest.h>

#include "tests/cli/fleet_files.h"
#include "tests/cli/posix/read_xlsx.h"
#include "tests/support/habuki_runner.h"

namespace habuki {
namespace {

using test::Habuki;

// The lines of the reader's "styles" from `from` on: how the sheet prints, or its shaded cells.
std::string StylesFrom(const std::filesystem::path& workbook, std::string_view from) {
  const std::string styles = test::ReadXlsx("styles", workbook);
  const std::size_t at = styles.find(from);
  return at == std::string::npos ? styles : styles.substr(at, styles.find('\n', at) + 1 - at);
}

// Runs `habuki diff --to xlsx ARGS` into fleet.xlsx; gives the exit status.
int Workbook(std::vector<std::string> args) {
  args.insert(args.begin(), {"diff", "--to", "xlsx", "-o", "fleet.xlsx"});
  const test::HabukiRun run = Habuki{}.Run(args);
  EXPECT_EQ(run.err, "") << args.back();
  return run.status;
}

TEST(FleetXlsx, CellsAreTheTablesFieldsAndTheOddValuesAreShaded) {
  const test::FleetFiles files;
  std::filesystem::copy_file(files.dir() / "a.txt", files.dir() / "\x8B\x40\x8A\x42.txt");
  const std::string abc = "00001,Q1,A2,,7,8,-,\r\n00020,Q1,,,17,0,17,\r\n";
  const struct {
    std::vector<std::string> args;
    std::string cells, shaded;
  } cases[] = {
      // The first file's value where all differ; the value most files have otherwise.
      {{"a.txt", "b.txt", "c.txt"},
       "number,qualifier,entry,axis,a.txt,b.txt,c.txt,bits\r\n" + abc,
       "shaded F2 G2 F3\n"},
      {{"c.txt", "a.txt", "a.txt"},
       "number,qualifier,entry,axis,c.txt,a.txt,a.txt,bits\r\n00001,Q1,A2,,-,7,7,\r\n",
       "shaded E2\n"},
      {{"--against", "b.txt", "a.txt", "b.txt", "c.txt"},
       "number,qualifier,entry,axis,a.txt,b.txt,c.txt,bits\r\n" + abc,
       "shaded E2 G2 E3 G3\n"},
      {{"--all", "a.txt", "b.txt", "c.txt"},
       "number,qualifier,entry,axis,a.txt,b.txt,c.txt,bits\r\n00001,Q1,A1,,5,5,5,\r\n" + abc,
       "shaded F3 G3 F4\n"},
      {{"p1.txt", "p2.txt", "p3.txt"},
       "number,qualifier,entry,axis,p1.txt,p2.txt,p3.txt,bits\r\n"
       ",,,,\"(PMC=0I-F,MSID=1)\",\"(PMC=0I-F,MSID=1)\",\"(PMC=0I-F,MSID=2)\",\r\n",
       "shaded G2\n"},
      // Two files: the bits as the text of diff shows them.
      {{"bits1.txt", "bits2.txt"},
       "number,qualifier,entry,axis,bits1.txt,bits2.txt,bits\r\n00005,Q1,,,00000100,10000100,#7 "
       "0->1\r\n",
       "shaded F2\n"},
      // A name that is no UTF-8 (CP932 機械) is written \xHH in the workbook as in the CSV.
      {{"\x8B\x40\x8A\x42.txt", "b.txt", "c.txt"},
       "number,qualifier,entry,axis,\\x8B@\\x8AB.txt,b.txt,c.txt,bits\r\n" + abc,
       "shaded F2 G2 F3\n"},
  };
  for (const auto& [args, cells, shaded] : cases) {
    EXPECT_EQ(Workbook(args), 1) << args.back();
    EXPECT_EQ(test::ReadXlsx("cells", files.dir() / "fleet.xlsx"), cells) << args.back();
    EXPECT_EQ(StylesFrom(files.dir() / "fleet.xlsx", "shaded"), shaded) << args.back();
  }
}

// The workbook prints landscape, one page wide, the header row and the key columns on every
// page; its sheet "Files" tells of each file, those left out too, and of the run.
TEST(FleetXlsx, SaysWhatWasComparedAndPrints) {
  const test::FleetFiles files;
  Habuki run;
  const test::HabukiRun made =
      run.Run({"diff", "--to", "xlsx", "-o", "fleet.xlsx", "p1.txt", "missing.txt", "p3.txt"});
  EXPECT_EQ(made.status, 3) << made.err;
  const std::filesystem::path workbook = files.dir() / "fleet.xlsx";
  EXPECT_EQ(StylesFrom(workbook, "sheets"), "sheets Parameters Files\n");
  EXPECT_EQ(StylesFrom(workbook, "print"),
            "print landscape fit to width True titles $1:$1 $A:$D\n");
  const std::string sheet = test::ReadXlsx("cells", workbook, "Files");
  const std::string size = std::to_string(std::filesystem::file_size(files.dir() / "p1.txt"));
  for (const std::string& expected :
       {std::string("file,full path,size (bytes),modified,format,records read,values,"
                    "differences,header lines,not compared\r\n"),
        "p1.txt," + (files.dir() / "p1.txt").string() + "," + size + ",",
        std::string(" UTC,pmc (guessed),1,1,0,\"(PMC=0I-F,MSID=1)\",\r\n"),
        std::string(" UTC,pmc (guessed),1,1,0,\"(PMC=0I-F,MSID=2)\",\r\n"),
        std::string("missing.txt,,,,,,,,,it could not be read\r\n"),
        std::string("command,habuki diff --to xlsx -o fleet.xlsx p1.txt missing.txt p3.txt,"),
        std::string("habuki,"), std::string("made,20")}) {
    EXPECT_NE(sheet.find(expected), std::string::npos) << expected << " in\n" << sheet;
  }
}

// --against names one of the files compared, and is for the workbook alone.
TEST(FleetXlsx, AgainstIsOneOfTheFiles) {
  const test::FleetFiles files;
  for (const auto& [args, says] : {
           std::pair<std::vector<std::string>, std::string>{
               {"diff", "--to", "xlsx", "-o", "f.xlsx", "--against", "d.txt", "a.txt", "b.txt"},
               "--against names none of the files compared: d.txt"},
           {{"diff", "--against", "a.txt", "a.txt", "b.txt", "c.txt"},
            "--against is for --to xlsx"},
       }) {
    const test::HabukiRun run = Habuki{}.Run(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find(says), std::string::npos) << run.err;
  }
}

}  // namespace
}  // namespace habuki
