#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "report/xlsx_sheet.h"
#include "tests/cli/posix/read_xlsx.h"
#include "tests/support/habuki_runner.h"
#include "tests/support/posix/temporary_folder.h"

namespace habuki {
namespace {

using Cells = std::array<std::optional<std::string_view>, 3>;

// Read back by a spreadsheet reader, every text is the text given, whatever it looks like; only
// the numeric column holds numbers.
TEST(XlsxSheetRead, EveryCellReadsBackAsItWasGiven) {
  constexpr std::string_view header[] = {"number", "value", "line"};
  constexpr std::size_t numeric[] = {2};
  XlsxSheet sheet(header, numeric);
  sheet.AddRow(Cells{"01005", "00000010", "2"});
  sheet.AddRow(Cells{"=1+1", "360.0", "12"}, std::array{false, true, true});
  sheet.AddRow(Cells{"-0", "+5", std::nullopt}, std::array{true, false, true});
  sheet.AddRow(Cells{"1+1", "日本語ｶﾅ", "1e3"});
  sheet.AddRow(Cells{"say \"5\", 6", "TRUE", "007"});
  const XlsxWorkbook workbook = sheet.Finish();
  ASSERT_EQ(workbook.error, "");
  EXPECT_EQ(test::ReadXlsx("cells", workbook.bytes),
            "number,value,line\r\n"
            "01005,00000010,2\r\n"
            "=1+1,360.0,12\r\n"
            "-0,+5,\r\n"
            "1+1,日本語ｶﾅ,1e3\r\n"
            "\"say \"\"5\"\", 6\",TRUE,007\r\n");
  EXPECT_EQ(test::ReadXlsx("styles", workbook.bytes),
            "sheets Parameters\n"
            "print landscape fit to width True titles $1:$1 None\n"
            "freeze A2\n"
            "filter A1:C6\n"
            "header bold True\n"
            "column number width 13 kinds s:@\n"
            "column value width 11 kinds s:@\n"
            "column line width 7 kinds n:General s:@\n"
            "shaded B3 C3 A4 C4\n");
}

// Another program that removes what it finds in the temporary folder meanwhile changes nothing:
// the library reaches its folder and its file through the descriptors held, not by name.
TEST(XlsxSheetRead, NamesRemovedMeanwhileChangeNothing) {
  const test::TempDir dir;
  const test::TemporaryFolderIs temporary(dir.path());
  constexpr std::string_view header[] = {"number"};
  XlsxSheet sheet(header);
  sheet.AddRow(std::array<std::optional<std::string_view>, 1>{"01005"});
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    std::filesystem::remove_all(entry.path());
  }
  const XlsxWorkbook workbook = sheet.Finish();
  ASSERT_EQ(workbook.error, "");
  EXPECT_EQ(test::ReadXlsx("cells", workbook.bytes), "number\r\n01005\r\n");
}

// The real 30i backup with records whose fields a spreadsheet would take for numbers, formulas or
// dates, quoted CSV fields and Japanese text, before its closing "%".
std::string TrickyBackup() {
  std::string text = test::ReadBytes(test::DataFile("machining-center-30i.txt"));
  text.insert(text.rfind('%'), "N09000Q1A=1+1P360.0\nN09001Q1A1+1P+5\nN09002Q1" +
                                   test::Utf8ToCp932("A日本ｶﾅ") +
                                   "P-0\nN09003Q1X1,\"2\"\nN09004Q1A1/2P.50\n");
  return text;
}

// The line of read_xlsx.py's styles about `column`.
std::string KindsOf(const std::string& styles, const std::string& column) {
  const std::size_t at = styles.find("column " + column + " ");
  return at == std::string::npos ? "" : styles.substr(at, styles.find('\n', at) - at);
}

struct Exported {
  std::string csv;    // --to csv
  std::string cells;  // --to xlsx, read back
  std::string styles;
};

// Exports `inputs` (to standard output, or with `args` to a file) as CSV and as a workbook.
Exported Export(const std::vector<std::string>& inputs, std::vector<std::string> args = {}) {
  args.insert(args.end(), inputs.begin(), inputs.end());
  std::vector<std::string> csv{"--to", "csv"};
  csv.insert(csv.end(), args.begin(), args.end());
  std::vector<std::string> xlsx{"--to", "xlsx"};
  xlsx.insert(xlsx.end(), args.begin(), args.end());
  const test::TempDir dir;
  test::Habuki habuki;
  habuki.outputFile = dir / "out.xlsx";
  const test::HabukiRun workbook = habuki.Run(xlsx);
  EXPECT_EQ(workbook.status, 0) << workbook.err;
  const test::HabukiRun table = test::Habuki{}.Run(csv);
  EXPECT_EQ(workbook.err, table.err);
  return {table.out, test::ReadXlsx("cells", dir / "out.xlsx"),
          test::ReadXlsx("styles", dir / "out.xlsx")};
}

// Every cell of the workbook reads back as the CSV's field, whatever it looks like: 01005,
// 00000010, 360.0, -0, +5, 1+1, =1+1, Japanese; the lines are numbers, every other cell text.
TEST(XlsxExportRead, EveryCellIsTheCsvField) {
  const test::TempDir dir;
  test::WriteBytes(dir / "tricky.txt", TrickyBackup());
  const std::string tricky = (dir / "tricky.txt").string();
  const std::string pmc = test::DataFile("machining-center-pmc.txt").string();
  const struct {
    std::string input;
    std::vector<std::string> args;
  } cases[] = {{tricky, {}}, {tricky, {"--all", "--only", "1-1999,9000-9999"}}, {pmc, {"--all"}}};
  for (const auto& c : cases) {
    const Exported exported = Export({c.input}, c.args);
    EXPECT_EQ(exported.cells, exported.csv) << c.input;
    const auto rows = std::count(exported.csv.begin(), exported.csv.end(), '\n');
    EXPECT_EQ(exported.styles.substr(0, exported.styles.find("column")),
              "sheets Parameters\nprint landscape fit to width True titles $1:$1 $A:$C\nfreeze "
              "A2\nfilter A1:G" +
                  std::to_string(rows) + "\nheader bold True\n");
    // Each text column holds text shown as text, the line numbers alone.
    EXPECT_TRUE(KindsOf(exported.styles, "number").ends_with(" kinds s:@")) << exported.styles;
    EXPECT_TRUE(KindsOf(exported.styles, "value").ends_with(" kinds s:@")) << exported.styles;
    EXPECT_TRUE(KindsOf(exported.styles, "line").ends_with(" kinds n:General")) << exported.styles;
    EXPECT_EQ(exported.styles.find(" n:"), exported.styles.rfind(" n:")) << exported.styles;
  }
  const std::string csv = Export({tricky}, cases[1].args).csv;
  for (const std::string_view field :
       {"\n01005,", ",00000010,", ",360.0,", ",-0,", ",+5,", ",A1+1,", ",A=1+1,", "A日本ｶﾅ"}) {
    EXPECT_NE(csv.find(field), std::string::npos) << field;
  }
}

// Several inputs make one workbook with a `file` column first, as they make one CSV document;
// with --output-dir each gets a workbook of its own, its name ending in .xlsx.
TEST(XlsxExportRead, SeveralInputsAsCsvHasThem) {
  const std::vector<std::string> inputs{test::DataFile("machining-center-30i.txt").string(),
                                        test::DataFile("machining-center-pmc.txt").string()};
  const Exported together = Export(inputs, {"--only", "1000-1999,6700"});
  EXPECT_EQ(together.cells, together.csv);
  EXPECT_NE(together.styles.find("filter A1:H"), std::string::npos);

  const test::TempDir dir;
  for (const std::string kind : {"csv", "xlsx"}) {
    std::filesystem::create_directory(dir / kind);
    std::vector<std::string> args{"--to", kind, "--output-dir", (dir / kind).string()};
    args.insert(args.end(), inputs.begin(), inputs.end());
    EXPECT_EQ(test::Habuki{}.Run(args).status, 0);
  }
  for (const char* name : {"machining-center-30i.txt", "machining-center-pmc.txt"}) {
    EXPECT_EQ(test::ReadXlsx("cells", dir / "xlsx" / (name + std::string(".xlsx"))),
              test::ReadBytes(dir / "csv" / (name + std::string(".csv"))));
  }
}

// A real terminal, made by script(1), is refused, as standard output or named by -o; the same
// command into a pipe is written.
TEST(XlsxExportRead, TheProgramRefusesARealTerminal) {
  const test::TempDir dir;
  const std::string backup = "'" + test::DataFile("machining-center-30i.txt").string() + "'";
  const std::string habuki = std::string("'") + HABUKI_EXECUTABLE + "'";
  for (const std::string& args : {" --to xlsx " + backup, " --to xlsx -o /dev/tty " + backup,
                                  " diff --to xlsx -o /dev/tty " + backup + " " + backup}) {
    const std::string onTerminal =
        "script -qec \"" + habuki + args + "\" /dev/null > '" + (dir / "terminal").string() + "'";
    const int status = std::system(onTerminal.c_str());
    EXPECT_EQ(WEXITSTATUS(status), 2) << args;
    const std::string shown = test::ReadBytes(dir / "terminal");
    EXPECT_NE(shown.find("not shown on a terminal"), std::string::npos) << args << shown;
    EXPECT_EQ(shown.find("PK"), std::string::npos) << args;
  }
  const std::string piped =
      habuki + " --to xlsx " + backup + " | cat > '" + (dir / "piped.xlsx").string() + "'";
  EXPECT_EQ(std::system(piped.c_str()), 0);
  EXPECT_EQ(
      test::ReadXlsx("cells", dir / "piped.xlsx"),
      test::Habuki{}.Run({"--to", "csv", test::DataFile("machining-center-30i.txt").string()}).out);
}

}  // namespace
}  // namespace habuki
