// habuki diff of three or more backups: one column a file.
#include <gtest/gtest.h>

#include "tests/cli/fleet_files.h"
#include "tests/support/habuki_runner.h"
#include "tests/support/test_support.h"

namespace habuki {
namespace {

using test::Habuki;
using Result = test::HabukiRun;
using test::FleetFiles;

// The table in each form: the rows that differ, every file's value, a missing one "-", empty or
// null, a present 0 as written.
TEST(FleetDiff, TableInEachForm) {
  const FleetFiles files;
  const struct {
    std::vector<std::string> args;
    std::string out;
  } cases[] = {
      {{"a.txt", "b.txt", "c.txt"},
       "number  qualifier  entry  a.txt  b.txt  c.txt\n"
       "00001   Q1         A2     7      8      -\n"
       "00020   Q1                17     0      17\n"
       "2 row(s) differ among 3 files\n"},
      {{"--to", "csv", "a.txt", "b.txt", "c.txt"},
       "number,qualifier,entry,axis,a.txt,b.txt,c.txt,bits\r\n00001,Q1,A2,,7,8,,\r\n00020,Q1,,,17,"
       "0,17,"
       "\r\n"},
      {{"--to", "json", "a.txt", "b.txt", "c.txt"},
       "{\"files\": [\"a.txt\", \"b.txt\", \"c.txt\"], \"formats\": [\"30i\", \"30i\", \"30i\"], "
       "\"not compared\": [], \"header lines\": [[], [], []], \"headers\": [], \"parameters\": [\n"
       "  {\"number\": \"00001\", \"qualifier\": \"Q1\", \"entry\": \"A2\", \"axis\": null, "
       "\"values\": [\"7\", "
       "\"8\", null], \"bits\": null},\n"
       "  {\"number\": \"00020\", \"qualifier\": \"Q1\", \"entry\": \"\", \"axis\": null, "
       "\"values\": [\"17\", "
       "\"0\", \"17\"], \"bits\": null}\n], \"counts\": {\"differing\": 2, \"header lines\": 0, "
       "\"left out\": "
       "0}}\n"},
      {{"--all", "--to", "csv", "a.txt", "b.txt", "a.txt"},
       "number,qualifier,entry,axis,a.txt,b.txt,a.txt,bits\r\n00001,Q1,A1,,5,5,5,\r\n00001,Q1,A2,,"
       "7,8,7,"
       "\r\n"
       "00020,Q1,,,17,0,17,\r\n"},
      {{"--ignore", "1", "--to", "csv", "a.txt", "b.txt", "c.txt"},
       "number,qualifier,entry,axis,a.txt,b.txt,c.txt,bits\r\n00020,Q1,,,17,0,17,\r\n"},
      {{"-f", "30i,30i,16i", "--to", "csv", "a.txt", "c.txt", "16i.txt"},
       "number,qualifier,entry,axis,a.txt,c.txt,16i.txt,bits\r\n00001,Q1,A2,,7,,7,\r\n"},
      {{"bits1.txt", "bits2.txt", "bits3.txt"},
       "number  qualifier  entry  bits1.txt  bits2.txt  bits3.txt  bits\n"
       "00005   Q1                00000100   10000100   00000101   #7, #0\n"
       "1 row(s) differ among 3 files\n"},
      {{"--to", "csv", "bits1.txt", "bits2.txt", "bits3.txt"},
       "number,qualifier,entry,axis,bits1.txt,bits2.txt,bits3.txt,bits\r\n"
       "00005,Q1,,,00000100,10000100,00000101,\"#7, #0\"\r\n"},
      {{"--to", "json", "bits1.txt", "bits2.txt", "bits3.txt"},
       "{\"files\": [\"bits1.txt\", \"bits2.txt\", \"bits3.txt\"], \"formats\": [\"30i\", "
       "\"30i\", \"30i\"], \"not compared\": [], \"header lines\": [[], [], []], \"headers\": [], "
       "\"parameters\": [\n  "
       "{\"number\": \"00005\", \"qualifier\": \"Q1\", \"entry\": \"\", \"axis\": null, "
       "\"values\": "
       "[\"00000100\", \"10000100\", \"00000101\"], \"bits\": \"#7, #0\"}\n], \"counts\": "
       "{\"differing\": 1, \"header lines\": 0, \"left out\": 0}}\n"},
      {{"p1.txt", "p2.txt", "p3.txt"},
       "0 row(s) differ among 3 files; header lines of p3.txt differ from p1.txt's\n"},
      {{"p4.txt", "p1.txt", "p3.txt"},
       "0 row(s) differ among 3 files; header lines of p1.txt, p3.txt differ from p4.txt's\n"},
      {{"--to", "csv", "p1.txt", "p2.txt", "p3.txt"},
       "number,qualifier,entry,axis,p1.txt,p2.txt,p3.txt,bits\r\n"
       ",,,,\"(PMC=0I-F,MSID=1)\",\"(PMC=0I-F,MSID=1)\",\"(PMC=0I-F,MSID=2)\",\r\n"},
      {{"--to", "json", "p1.txt", "p2.txt", "p3.txt"},
       "{\"files\": [\"p1.txt\", \"p2.txt\", \"p3.txt\"], \"formats\": [\"pmc\", \"pmc\", "
       "\"pmc\"], \"not compared\": [], \"header lines\": [[\"(PMC=0I-F,MSID=1)\"], "
       "[\"(PMC=0I-F,MSID=1)\"], [\"(PMC=0I-F,MSID=2)\"]], \"headers\": [[\"(PMC=0I-F,MSID=1)\", "
       "\"(PMC=0I-F,MSID=1)\", "
       "\"(PMC=0I-F,MSID=2)\"]], \"parameters\": [], \"counts\": {\"differing\": 0, \"header "
       "lines\": 1, \"left out\": 0}}\n"},
      {{"a.txt", "a.txt", "doubled.txt"},
       "0 row(s) differ among 3 files; left out: 1 record(s) of doubled.txt after the closing "
       "\"%\"\n"},
  };
  for (auto [args, out] : cases) {
    args.insert(args.begin(), "diff");
    const Result result = Habuki{}.Run(args);
    EXPECT_EQ(result.status, 1) << args[2] << result.err;
    EXPECT_EQ(result.out, out) << args[2];
  }
}

// Ends as diff does; formats guessed alike or given, for all or one a file.
TEST(FleetDiff, ExitStatusesAndUsage) {
  const FleetFiles files;
  const struct {
    std::vector<std::string> args;
    int status;
    std::string out, err;
  } cases[] = {
      {{"a.txt", "a.txt", "a.txt"}, 0, "0 row(s) differ among 3 files\n", ""},
      {{"-q", "a.txt", "b.txt", "c.txt"}, 1, "", ""},
      {{"-q", "a.txt", "a.txt", "a.txt"}, 0, "", ""},
      // A fleet leaves out what it cannot read and compares the others.
      {{"a.txt", "b.txt", "missing.txt"},
       3,
       "number  qualifier  entry  a.txt  b.txt\n00001   Q1         A2     7      8\n"
       "00020   Q1                17     0\n"
       "2 row(s) differ among 2 files; not compared: missing.txt\n",
       "missing.txt: cannot read"},
      {{"-f", "30i", "a.txt", "broken.txt", "a.txt", "16i.txt"},
       3,
       "0 row(s) differ among 2 files; not compared: 16i.txt, broken.txt\n",
       "broken.txt:2:10: value empty or not a number: 1 2\n"},
      {{"--to", "json", "broken.txt", "missing.txt", "broken.txt"},
       3,
       "",
       "habuki: none of the files could be compared; no table was written\n"},
      {{"a.txt", "b.txt", "16i.txt"},
       2,
       "",
       "habuki: the files look like different formats: a.txt 30i, b.txt 30i, 16i.txt 16i; give "
       "the format of all with -f, or of each in the files' order (here -f 30i,30i,16i)\n"},
      {{"-q", "-f", "30i,30i,16i", "a.txt", "b.txt", "16i.txt"}, 1, "", ""},
      {{"-q", "-f", "30i", "a.txt", "b.txt", "16i.txt"},
       3,
       "",
       "16i.txt: not a parameter file of format 30i: it holds no 30i record head"},
      {{"-f", "30i,30i", "a.txt", "b.txt", "c.txt"},
       2,
       "",
       "-f gives 2 formats for 3 files; give one for all, or one a file"},
      {{"-f", "30i,16i,30i", "a.txt", "b.txt"}, 2, "", "-f gives 3 formats for 2 files"},
      {{"--all", "a.txt", "b.txt"}, 2, "", "--all is for three or more files"},
      {{"-", "a.txt", "-"}, 2, "", "diff reads standard input for one side only"},
      {{"--all", "--to", "xlsx", "-q", "a.txt", "b.txt"}, 1, "", ""},
      {{"-q", "-o", "report.txt", "a.txt", "b.txt"}, 2, "", "--quiet excludes --output"},
  };
  for (auto [args, status, out, err] : cases) {
    args.insert(args.begin(), "diff");
    const Result result = Habuki{}.Run(args);
    EXPECT_EQ(result.status, status) << args[1] << " " << args[2] << result.err;
    EXPECT_EQ(result.out, out) << args[2];
    EXPECT_NE(result.err.find(err), std::string::npos) << result.err;
  }
}

// -o writes the report that standard output would get, whole, and never over a backup.
TEST(FleetDiff, ReportToAFile) {
  const FleetFiles files;
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"diff", "a.txt", "b.txt"},
        std::vector<std::string>{"diff", "--to", "csv", "a.txt", "b.txt", "c.txt"}}) {
    const Result shown = Habuki{}.Run(args);
    std::vector<std::string> toFile = args;
    toFile.insert(toFile.begin() + 1, {"-o", "report"});
    const Result written = Habuki{}.Run(toFile);
    EXPECT_EQ(written.status, shown.status) << written.err;
    EXPECT_EQ(written.out, "");
    EXPECT_EQ(test::ReadBytes(files.dir() / "report"), shown.out);
  }
  const std::string before = test::ReadBytes(files.dir() / "c.txt");
  const Result refused = Habuki{}.Run({"diff", "-o", "c.txt", "a.txt", "b.txt", "c.txt"});
  EXPECT_EQ(refused.status, 3);
  EXPECT_NE(refused.err.find("will not overwrite an input of this run"), std::string::npos)
      << refused.err;
  EXPECT_EQ(test::ReadBytes(files.dir() / "c.txt"), before);
}

// A workbook is never shown on a terminal, nor anything read for it.
TEST(FleetDiff, WorkbookRefusesATerminal) {
  const FleetFiles files;
  Habuki terminal;
  terminal.terminal = true;
  const Result result = terminal.Run({"diff", "--to", "xlsx", "a.txt", "b.txt"});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err,
            "habuki: an xlsx workbook is not shown on a terminal: give -o FILE or redirect "
            "standard output to a file\n")
      << result.err;
}

// Three copies of the real backup, one value changed in one: that row alone.
TEST(FleetDiff, RealBackupsWithOneValueChanged) {
  test::TempDir dir;
  const std::string backup = test::ReadBytes(test::DataFile("machining-center-30i.txt"));
  std::string changed = backup;
  const std::size_t value = changed.find("P00000000", changed.find("\nN01"));
  ASSERT_NE(value, std::string::npos);
  changed[value + 8] = '4';
  test::WriteBytes(dir / "m1.txt", backup);
  test::WriteBytes(dir / "m2.txt", changed);
  test::WriteBytes(dir / "m3.txt", backup);
  const test::InFolder inDir(dir.path());
  const Result result = Habuki{}.Run({"diff", "--to", "csv", "m1.txt", "m2.txt", "m3.txt"});
  EXPECT_EQ(result.status, 1) << result.err;
  const std::size_t line = changed.rfind("\nN", value) + 2;
  const std::string number = changed.substr(line, 5);
  EXPECT_EQ(result.out, "number,qualifier,entry,axis,m1.txt,m2.txt,m3.txt,bits\r\n" + number +
                            ",Q1,,,00000000,00000004,00000000,\r\n");
}

}  // namespace
}  // namespace habuki
