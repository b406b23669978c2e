#include <gtest/gtest.h>

#include <utility>

#include "comment/comment_files.h"
#include "core/io/path_text.h"
#include "habuki/version.h"
#include "tests/cli/simple_backup.h"
#include "tests/support/habuki_runner.h"
#include "tests/support/test_support.h"

namespace habuki {
namespace {

using test::Habuki;
using test::kExample;
using test::kSimple;
using test::kSimpleThinned;
using Result = test::HabukiRun;

TEST(Cli, ThinsAFileToStandardOutputEndedWithCrLf) {
  const Result result = Habuki{}.Run({"-c", "none", kExample});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out.substr(0, 22), "%\nN00000Q1L1P00000010\n");
  EXPECT_EQ(result.out.substr(result.out.size() - 3), "%\r\n");
}

// Only a user who named no file and types at a terminal hears how the program is meant to run.
TEST(Cli, ReadsStandardInputWithoutFileOrWithDash) {
  const std::string hint =
      "habuki: reading a backup from standard input; give a file name, or see habuki --help\n";
  for (const bool typed : {false, true}) {
    Habuki habuki{kSimple};
    habuki.inputTerminal = typed;
    const Result withoutFile = habuki.Run({"-c", "none"});
    EXPECT_EQ(withoutFile.out, kSimpleThinned);
    EXPECT_EQ(withoutFile.err, typed ? hint : "");
    const Result withDash = habuki.Run({"-c", "none", "-"});
    EXPECT_EQ(withDash.out, kSimpleThinned);
    EXPECT_EQ(withDash.err, "");
  }
}

TEST(Cli, CommentComesFromTheCommentFolderOrTheBuiltInText) {
  test::TempDir dir;
  const Habuki habuki{kSimple, false, dir.path()};
  EXPECT_EQ(habuki.Run({}).out, std::string(kBuiltInCommentJ) + "\n" + kSimpleThinned);
  test::WriteBytes(dir / "英語ｺﾒﾝﾄ.txt", "old\r\nThinned by habuki\r\n");
  EXPECT_EQ(habuki.Run({"-c", "en"}).out, "Thinned by habuki\n" + kSimpleThinned);
  test::TempDir other;
  test::WriteBytes(other / "英語ｺﾒﾝﾄ.txt", "elsewhere");
  EXPECT_EQ(habuki.Run({"-c", "en", "--comment-dir", Utf8Of(other.path())}).out.substr(0, 10),
            "elsewhere\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "ｺﾒﾝﾄ.txt"));  // the command line never writes it
}

TEST(Cli, FormatOptionOverridesTheGuess) {
  const Habuki habuki{"%\r\nN0020Q1P17\r\nN0021Q1L1P5\r\n%\r\n"};
  EXPECT_EQ(habuki.Run({"-c", "none", "-f", "16i"}).out, "%\nN0020Q1P17\r\n%\r\n");
  const Result guessed = habuki.Run({"-c", "none", "--stats"});  // its heads are 16i
  EXPECT_NE(guessed.err.find("format 16i, 2 records read, 1 kept"), std::string::npos)
      << guessed.err;
}

TEST(Cli, FilterFailureNamesFileLineAndRecord) {
  test::TempDir dir;
  test::WriteBytes(dir / "bad.txt", "%\r\nNxxxxxxxP1\r\nN00042Q1P12?\r\n%\r\n");
  const Result result = Habuki{}.Run({"-c", "none", "-f", "30i", (dir / "bad.txt").string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err,
            "habuki: " + (dir / "bad.txt").string() + ":3:10: value empty or not a number: 12?\n");
}

// Names are shown with their control characters escaped, so that none can steer the terminal.
TEST(Cli, FileProblemsAreStatusThreeAndDoNotStopTheOthers) {
  test::TempDir dir;
  test::WriteBytes(dir / "empty.txt", "");
  test::WriteBytes(dir / "good.txt", kSimple);
  test::WriteBytes(dir / "bad.txt", "%\r\nno records\r\n%\r\n");
  const Result result =
      Habuki{}.Run({"-c", "none", (dir / "bad.txt").string(), (dir / "missing.txt").string(),
                    (dir / "empty.txt").string(), dir.path().string(), (dir / "good.txt").string(),
                    (dir / "mis\x1B[2Jsing.txt").string(), "/no/such/backup.txt"});
  EXPECT_EQ(result.status, 3);
  EXPECT_EQ(result.out, kSimpleThinned);
  for (const std::string& expected : std::vector<std::string>{
           "bad.txt: not a parameter file: it holds no record head of any format",
           "missing.txt: cannot read: " + test::WhyNotRead(dir / "missing.txt") + "\n",
           "empty.txt: file is empty\n", dir.path().string() + ": cannot read: Is a directory\n",
           "mis\\x1B[2Jsing.txt: cannot read", "/no/such/backup.txt: cannot read"}) {
    EXPECT_NE(result.err.find(expected), std::string::npos) << expected << " in\n" << result.err;
  }
}

TEST(Cli, UsageErrorsAreStatusTwo) {
  test::TempDir dir;
  const std::string out = (dir / "o").string();
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"-f", "18i"}, "--format: 18i not in {auto,30i,16i,pmc}"},
      {{"--comment", "de"}, "--comment: de not in {ja,en,none}"},
      {{"--bogus"}, "not expected: --bogus"},
      {{"-o", out, kExample, kExample},
       "--output takes one input file only; thin several with --output-dir DIR"},
      {{"--output-dir", dir.path().string()}, "--output-dir needs named input files"},
      {{"--comment-dir", (dir / "none").string()}, "--comment-dir: Directory does not exist"},
      {{"-o", out, "--output-dir", dir.path().string(), kExample},
       "--output excludes --output-dir"},
  };
  for (const auto& [args, says] : cases) {
    const Result result = Habuki{}.Run(args);
    EXPECT_EQ(result.status, 2) << args[0];
    EXPECT_NE(result.err.find(says), std::string::npos) << says << " in\n" << result.err;
  }
}

TEST(Cli, HelpAndVersion) {
  const Result version = Habuki{}.Run({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, std::string("habuki ") + kVersionText + "\n");
  const Result help = Habuki{}.Run({"--help"});
  EXPECT_EQ(help.status, 0);
  for (const char* option : {"--format", "--comment", "--comment-dir", "--output", "--output-dir",
                             "--stats", "Exit status"}) {
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  }
}

TEST(Cli, OutputFolderTakesEachInputsNameButNeverOverwritesAnInput) {
  test::TempDir in, out;
  test::WriteBytes(in / "a.txt", kSimple);
  test::WriteBytes(in / "b.PRM", "%\r\nN0002Q1P2\r\n%\r\n");
  test::WriteBytes(in / "bad.txt", "%\r\nN0001Q1Px\r\n%\r\n");
  // The results are replaced together: one that fails in between keeps none of the others out.
  const Result result =
      Habuki{}.Run({"-c", "none", "--output-dir", out.path().string(), (in / "a.txt").string(),
                    (in / "bad.txt").string(), (in / "b.PRM").string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(test::ReadBytes(out / "a.txt"), kSimpleThinned);
  EXPECT_EQ(test::ReadBytes(out / "b.PRM"), "%\nN0002Q1P2\r\n%\r\n");
  EXPECT_EQ(test::EntriesIn(out.path()), 2u);

  const Result self = Habuki{}.Run({"--output-dir", in.path().string(), (in / "a.txt").string()});
  EXPECT_EQ(self.status, 3);
  EXPECT_EQ(test::ReadBytes(in / "a.txt"), kSimple);
}

// Values that are not zero and left out make status 1, though the result is written; zeros
// after the closing "%" are no loss.
TEST(Cli, LossesThatAreNotZeroAreReported) {
  const std::string zerosAfter =
      "%\r\nN0001Q1P5\r\n%\r\nN0002Q1P0\r\nN0003Q1P000\r\nN0004Q1A1P0A2P0\r\n";
  const std::pair<std::string, std::string> cases[] = {
      {zerosAfter, ""},
      {"%\r\nN0020Q1P17\r\nN0021Q1L1P5\r\nN0022Q1L2P5\r\n%\r\n",
       "standard input:3:1: 2 record(s) dropped because format 16i has no rule for their kind, "
       "not because they are zero; the first: N0021Q1L1P5\n"},
      {zerosAfter + "N0005Q1A1P0A2P3\r\n",
       "standard input:7:1: 1 record(s) dropped because they follow the closing \"%\", not "
       "because they are zero; the first: N0005Q1A1P0A2P3\n"},
      {"%\r\nN0001Q1A1P5A2\r\n%\r\n", "1 entry(ies) dropped because no value marker follows"},
  };
  for (const auto& [text, err] : cases) {
    const Result result = Habuki{text}.Run({"-f", "16i", "-c", "none"});
    EXPECT_EQ(result.status, err.empty() ? 0 : 1) << text;
    EXPECT_TRUE(result.out.starts_with("%\nN0")) << result.out;
    EXPECT_NE(result.err.find(err), std::string::npos) << result.err;
    EXPECT_EQ(result.err.empty(), err.empty()) << result.err;
  }
  // In a batch, the file that lost values has its result too, and the run ends with status 1.
  test::TempDir dir;
  test::WriteBytes(dir / "a.txt", kSimple);
  test::WriteBytes(dir / "b.txt", zerosAfter + "N0005Q1P1\r\n");
  std::filesystem::create_directory(dir / "out");
  const Result batch = Habuki{}.Run({"-c", "none", "--output-dir", (dir / "out").string(),
                                     (dir / "a.txt").string(), (dir / "b.txt").string()});
  EXPECT_EQ(batch.status, 1);
  EXPECT_EQ(test::ReadBytes(dir / "out" / "a.txt"), kSimpleThinned);
  EXPECT_EQ(test::ReadBytes(dir / "out" / "b.txt"), "%\nN0001Q1P5\r\n%\r\n");
}

// Two results for one target, or an input in the way of another's result: the whole run is a
// usage error that names both inputs, and nothing is written.
TEST(Cli, OutputFolderRefusesAWholeRunThatWouldLoseAResult) {
  test::TempDir dir;
  for (const char* folder : {"m1", "m2", "a", "out"})
    std::filesystem::create_directory(dir / folder);
  for (const char* file : {"m1/CNC-PARA.TXT", "m2/CNC-PARA.TXT", "a/x.txt"}) {
    test::WriteBytes(dir / file, kSimple);
  }
  test::WriteBytes(dir / "out/x.txt", "the PMC backup");
  const test::InFolder inDir(dir.path());
  for (const auto& [first, second] :
       {std::pair{"m1/CNC-PARA.TXT", "m2/CNC-PARA.TXT"}, std::pair{"a/x.txt", "out/x.txt"},
        std::pair{"out/x.txt", "a/x.txt"}}) {
    const Result result = Habuki{}.Run({"--output-dir", "out", first, second});
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find(std::string(first) + " and " + second + " would both be written"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(test::ReadBytes("out/x.txt"), "the PMC backup");
    EXPECT_EQ(test::EntriesIn("out"), 1u);
  }
}

// `diff` is the command only as the first argument; elsewhere it is a file name, as a shell's `*`
// gives it. First among the files after options, with no file of that name, it is a usage error.
TEST(Cli, DiffIsTheCommandOnlyAsTheFirstArgument) {
  test::TempDir dir;
  for (const char* file : {"m1.txt", "m2.txt"}) test::WriteBytes(dir / file, kSimple);
  const test::InFolder inDir(dir.path());
  const struct {
    bool fileNamedDiff;
    std::vector<std::string> args;
    int status;
    std::string says;     // part of standard output and error
    std::size_t written;  // files then in out/
  } cases[] = {
      {true, {"-c", "none", "--output-dir", "out", "diff", "m1.txt", "m2.txt"}, 0, "", 3},
      {true, {"-c", "none", "m1.txt", "diff"}, 0, kSimpleThinned + kSimpleThinned, 0},
      {false, {"-o", "out/r.txt", "diff", "m1.txt", "m2.txt"}, 2, "give --output after it", 0},
      {false,
       {"--to", "csv", "-f", "30i", "diff", "m1.txt", "m2.txt"},
       2,
       "give --to, --format",
       0},
      {true, {"diff", "m1.txt", "m2.txt"}, 0, "0 changed, 0 added, 0 removed", 0},
  };
  for (const auto& [fileNamedDiff, args, status, says, written] : cases) {
    std::filesystem::remove_all("out");
    std::filesystem::create_directory("out");
    std::filesystem::remove("diff");
    if (fileNamedDiff) test::WriteBytes("diff", kSimple);
    const Result result = Habuki{}.Run(args);
    EXPECT_EQ(result.status, status) << args[0] << result.err;
    EXPECT_NE((result.out + result.err).find(says), std::string::npos) << args[0] << result.err;
    EXPECT_EQ(test::EntriesIn("out"), written) << args[0];
  }
}

// Entries without a marker (A2) are counted apart from those of value 0, and the records after
// the closing "%" that hold a value (N00006: 1) apart from those that do not (N00005).
TEST(Cli, StatsCountWhatBecameOfRecordsAndEntries) {
  const std::string records = "%\r\nN00001Q1L1P5L2P0L3P0\r\nN00002Q1P0\r\nN00003Q1X1\r\n";
  const std::pair<std::string, std::string> cases[] = {
      {records + "N00004Q1A1P0A2\r\n%\r\nN9\r\n",
       "4 records read, 1 kept, 2 dropped as zero, 1 dropped for an unhandled kind, 1 after the "
       "closing % (1 holding a value), 3 entries dropped as zero, 1 without a value marker\n"},
      {records + "%\r\nN00005Q1P0\r\nN00006Q1A1P0A2P1\r\n",
       "3 records read, 1 kept, 1 dropped as zero, 1 dropped for an unhandled kind, 2 after the "
       "closing % (1 holding a value), 2 entries dropped as zero, 0 without a value marker\n"}};
  for (const auto& [text, stats] : cases) {
    const Result result = Habuki{text}.Run({"-c", "none", "--stats"});
    EXPECT_NE(result.err.find("format 30i, " + stats), std::string::npos) << result.err;
  }
}

}  // namespace
}  // namespace habuki
