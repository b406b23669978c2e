// --only and --ignore as a user gives them: to thinning, tables and comparisons.
#include <gtest/gtest.h>

#include "tests/support/habuki_runner.h"

namespace habuki {
namespace {

using test::Habuki;
using Result = test::HabukiRun;

const std::string kOld = "%\r\nN01000Q1P1\r\nN01005Q1A1P10A2P0\r\nN06700Q1P3\r\n%\r\n";
const std::string kNew = "%\r\nN01000Q1P2\r\nN01005Q1A1P11A2P0\r\nN06700Q1P3\r\n%\r\n";

TEST(NumberOptions, BadRangesAreUsageErrorsNamingTheirPart) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--only", "1999-1000"}, "--only: bad range \"1999-1000\""},
      {{"--ignore", "abc"}, "--ignore: bad range \"abc\""},
      {{"--only", ""}, "--only: bad range \"\""},
      {{"--only", "-5"}, "--only: bad range \"-5\""},
      {{"--only", "1,99999999999"}, "--only: bad range \"99999999999\""},
      {{"diff", "--ignore", "7-", "a", "b"}, "--ignore: bad range \"7-\""},
      // What the user gave is shown escaped: no value can steer the terminal.
      {{"--only", "1\x1B[2J"}, "--only: bad range \"1\\x1B[2J\""},
      {{"diff", "-f",
        "\x9B"
        "31m",
        "a", "b"},
       "unknown format \\x9B31m"},
  };
  for (const auto& [args, message] : cases) {
    const Result run = Habuki{kOld}.Run(args);
    EXPECT_EQ(run.status, 2) << message;
    EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
  }
}

TEST(NumberOptions, ThinningKeepsOnlyTheChosenNumbersAndSaysWhatItLeftOut) {
  // Each --only takes one list: a file name after it stays a file name.
  const Result run =
      Habuki{kOld}.Run({"-c", "none", "--stats", "--only", "1000-1005", "--ignore", "1000", "-"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "%\nN01005Q1A1P10\n%\r\n");
  EXPECT_EQ(
      run.err,
      "habuki: standard input:2:1: 2 record(s) left out because --only or --ignore leaves "
      "out their numbers; the first: N01000Q1P1\n"
      "habuki: standard input: format 30i, 3 records read, 1 kept, 0 dropped as zero, 0 "
      "dropped for an unhandled kind, 0 after the closing % (0 holding a value), 1 entries "
      "dropped as zero, 0 without a value marker, 2 records left out by --only or --ignore\n");
}

TEST(NumberOptions, TablesAndComparisonsHoldOnlyTheChosenNumbers) {
  const Result csv = Habuki{kOld}.Run({"--to", "csv", "--only", "1005,6700"});
  EXPECT_EQ(csv.out,
            "number,qualifier,entry,marker,value,line,axis\r\n"
            "01005,Q1,A1,P,10,3,\r\n06700,Q1,,P,3,4,\r\n");
  const test::TempDir folder;
  test::WriteBytes(folder / "new.txt", kNew);
  const std::string newFile = (folder / "new.txt").string();
  const std::pair<std::vector<std::string>, int> diffs[] = {
      {{"diff", "-q", "-", newFile}, 1},
      {{"diff", "-q", "--ignore", "1000,1005", "-", newFile}, 0},
      {{"diff", "-q", "--only", "1000-1005", "--ignore", "1000", "-", newFile}, 1},
      {{"diff", "-q", "--only", "6700", "-", newFile}, 0},
  };
  for (const auto& [args, status] : diffs) {
    EXPECT_EQ(Habuki{kOld}.Run(args).status, status) << args[3] << ' ' << args[4];
  }
  const Result text = Habuki{kOld}.Run({"diff", "--ignore", "1000", "-", newFile});
  EXPECT_EQ(text.out.find("01000"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("01005"), std::string::npos) << text.out;
}

// A range that names no record is most likely a typo: it is named, and a comparison of nothing is
// no agreement.
TEST(NumberOptions, RangesThatNameNoRecordAreTold) {
  const test::TempDir folder;
  test::WriteBytes(folder / "new.txt", kNew);
  const std::string newFile = (folder / "new.txt").string();
  const struct {
    std::vector<std::string> args;
    int status;
    std::string err;
  } cases[] = {
      {{"--only", "1005,10005", "--ignore", "9-12"},
       0,
       "habuki: --only 10005 names no record of any input\n"
       "habuki: --ignore 9-12 names no record of any input\n"},
      {{"diff", "--only", "10005", "-", newFile},
       2,
       "habuki: --only 10005 names no record of any input\n"
       "habuki: --only and --ignore leave no record of any file to compare\n"},
      {{"diff", "--only", "1000-6700", "--ignore", "1000-6700", "-", newFile},
       2,
       "habuki: --only and --ignore leave no record of any file to compare\n"},
      {{"diff", "-q", "--only", "6700,6701", "-", newFile},
       0,
       "habuki: --only 6701 names no record of any input\n"},
  };
  for (const auto& [args, status, err] : cases) {
    const Result run = Habuki{kOld}.Run(args);
    EXPECT_EQ(run.status, status) << args[1];
    EXPECT_NE(run.err.find(err), std::string::npos) << run.err;
  }
}

}  // namespace
}  // namespace habuki
