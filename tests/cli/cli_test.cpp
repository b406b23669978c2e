#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <sstream>

#include "comment_files.h"
#include "habuki_runner.h"
#include "test_support.h"

namespace habuki {
namespace {

using test::Habuki;
using Result = test::HabukiRun;

const std::string kExample = test::ExampleFile("fs30i-example.txt").string();
const std::string kSimple = "%\r\nN00001Q1P0\r\nN00002Q1L1P1\r\n%\r\n";
const std::string kSimpleThinned = "%\nN00002Q1L1P1\r\n%\r\n";

TEST(Cli, ThinsAFileToStandardOutputEndedWithCrLf) {
  const Result result = Habuki{}.Run({"-c", "none", kExample});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out.substr(0, 22), "%\nN00000Q1L1P00000010\n");
  EXPECT_EQ(result.out.substr(result.out.size() - 3), "%\r\n");
}

TEST(Cli, ReadsStandardInputWithoutFileOrWithDash) {
  const Habuki habuki{kSimple};
  EXPECT_EQ(habuki.Run({"-c", "none"}).out, kSimpleThinned);
  EXPECT_EQ(habuki.Run({"-c", "none", "-"}).out, kSimpleThinned);
}

TEST(Cli, CommentComesFromTheCommentFolderOrTheBuiltInText) {
  test::TempDir dir;
  const Habuki habuki{kSimple, false, dir.path()};
  EXPECT_EQ(habuki.Run({}).out, std::string(kBuiltInCommentJ) + "\n" + kSimpleThinned);
  test::WriteBytes(dir / "英語ｺﾒﾝﾄ.txt", "old\r\nThinned by habuki\r\n");
  EXPECT_EQ(habuki.Run({"-c", "en"}).out, "Thinned by habuki\n" + kSimpleThinned);
  test::TempDir other;
  test::WriteBytes(other / "英語ｺﾒﾝﾄ.txt", "elsewhere");
  EXPECT_EQ(habuki.Run({"-c", "en", "--comment-dir", other.path()}).out.substr(0, 10),
            "elsewhere\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "ｺﾒﾝﾄ.txt"));  // the command line never writes it
}

TEST(Cli, FormatOptionOverridesTheGuess) {
  const Habuki habuki{"%\r\nN0020Q1P17\r\nN0021Q1L1P5\r\n%\r\n"};
  EXPECT_EQ(habuki.Run({"-c", "none", "-f", "16i"}).out, "%\nN0020Q1P17\r\n%\r\n");
  const Result guessed = habuki.Run({"-c", "none", "--stats"});  // the "L" makes it 30i
  EXPECT_NE(guessed.err.find("format 30i, 2 records read, 0 kept"), std::string::npos)
      << guessed.err;
}

TEST(Cli, FilterFailureNamesFileLineAndRecord) {
  test::TempDir dir;
  test::WriteBytes(dir / "bad.txt", "%\r\nNxxxxxxxP1\r\nN00042Q1P12?\r\n%\r\n");
  const Result result = Habuki{}.Run({"-c", "none", "-f", "30i", (dir / "bad.txt").string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "habuki: " + (dir / "bad.txt").string() +
                            ":3: value empty or not a number at character 25 (N00042Q1P)\n");
}

TEST(Cli, FileProblemsAreStatusThreeAndDoNotStopTheOthers) {
  test::TempDir dir;
  test::WriteBytes(dir / "empty.txt", "");
  test::WriteBytes(dir / "good.txt", kSimple);
  test::WriteBytes(dir / "bad.txt", "%\r\nno records\r\n%\r\n");
  const Result result =
      Habuki{}.Run({"-c", "none", (dir / "bad.txt").string(), (dir / "missing.txt").string(),
                    (dir / "empty.txt").string(), dir.path().string(), (dir / "good.txt").string()});
  EXPECT_EQ(result.status, 3);
  EXPECT_EQ(result.out, kSimpleThinned);
  for (const std::string& expected : std::vector<std::string>{
           "bad.txt:1: no record: the text holds no \"N\"\n",
        "missing.txt: cannot read: No such file or directory\n", "empty.txt: file is empty\n",
        dir.path().string() + ": cannot read: Is a directory\n"}) {
    EXPECT_NE(result.err.find(expected), std::string::npos) << expected << " in\n" << result.err;
  }
}

TEST(Cli, UsageErrorsAreStatusTwo) {
  test::TempDir dir;
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"-f", "18i"}, {"--comment", "de"}, {"--bogus"},
        {"-o", (dir / "o").string(), kExample, kExample},
        {"--output-dir", dir.path().string()},
        {"--comment-dir", (dir / "none").string()},
        {"-o", (dir / "o").string(), "--output-dir", dir.path().string(), kExample}}) {
    const Result result = Habuki{}.Run(args);
    EXPECT_EQ(result.status, 2) << args[0];
    EXPECT_NE(result.err, "") << args[0];
  }
}

TEST(Cli, HelpAndVersion) {
  const Result version = Habuki{}.Run({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "habuki 3.0.1\n");
  const Result help = Habuki{}.Run({"--help"});
  EXPECT_EQ(help.status, 0);
  for (const char* option : {"--format", "--comment", "--comment-dir", "--output", "--output-dir",
                             "--stats", "Exit status"}) {
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  }
}

TEST(Cli, OutputFileIsReplacedWholeOrNotAtAll) {
  test::TempDir dir;
  const std::string out = (dir / "out.txt").string();
  test::WriteBytes(dir / "out.txt", "previous result");
  const Habuki bad{"%\r\nN0001Q1Px\r\n%\r\n"};
  EXPECT_EQ(bad.Run({"-c", "none", "-o", out}).status, 1);
  EXPECT_EQ(test::ReadBytes(out), "previous result");

  EXPECT_EQ(Habuki{kSimple}.Run({"-c", "none", "-o", out}).status, 0);
  EXPECT_EQ(test::ReadBytes(out), kSimpleThinned);

  const Result unwritable = Habuki{kSimple}.Run({"-o", (dir / "no" / "out.txt").string()});
  EXPECT_EQ(unwritable.status, 3);
  EXPECT_NE(unwritable.err.find("cannot write: No such file or directory"), std::string::npos);
  EXPECT_EQ(Habuki{kSimple}.Run({"-o", "/dev/full"}).status, 3);
}

TEST(Cli, OutputFolderTakesEachInputsNameButNeverOverwritesAnInput) {
  test::TempDir in, out;
  test::WriteBytes(in / "a.txt", kSimple);
  test::WriteBytes(in / "b.PRM", "%\r\nN0002Q1P2\r\n%\r\n");
  const Result result = Habuki{}.Run(
      {"-c", "none", "--output-dir", out.path().string(), (in / "a.txt").string(),
       (in / "b.PRM").string()});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(test::ReadBytes(out / "a.txt"), kSimpleThinned);
  EXPECT_EQ(test::ReadBytes(out / "b.PRM"), "%\nN0002Q1P2\r\n%\r\n");

  const Result self =
      Habuki{}.Run({"--output-dir", in.path().string(), (in / "a.txt").string()});
  EXPECT_EQ(self.status, 3);
  EXPECT_EQ(test::ReadBytes(in / "a.txt"), kSimple);
}

TEST(Cli, LossesThatAreNotZeroAreReported) {
  const Result result =
      Habuki{"%\r\nN0020Q1P17\r\nN0021Q1L1P5\r\nN0022Q1L2P5\r\n%\r\n"}.Run({"-f", "16i"});
  EXPECT_EQ(result.status, 0);
  EXPECT_NE(result.err.find("<stdin>: 2 record(s) dropped because format 16i has no rule for "
                            "their kind, not because they are zero; first at line 3 (N0021Q1L)"),
            std::string::npos)
      << result.err;
}

TEST(Cli, TerminalSeesUtf8AndEverythingElseTheBytes) {
  // A head holding ク and a byte that CP932 does not use.
  const std::string record = "N\x83\x4E\xFD" "00001P5\r\n";
  const Habuki habuki{"%\r\n" + record + "%\r\n"};
  EXPECT_EQ(habuki.Run({"-c", "none", "-f", "30i"}).out, "%\n" + record + "%\r\n");
  Habuki terminal = habuki;
  terminal.terminal = true;
  EXPECT_EQ(terminal.Run({"-c", "none", "-f", "30i"}).out,
            "%\nNク\xEF\xBF\xBD" "00001P5\r\n%\r\n");
}

// The real program, copied into a folder of its own: it finds its comment files there.
TEST(CliProcess, ReadsCommentFilesBesideItsExecutable) {
  test::TempDir dir;
  std::filesystem::copy_file(HABUKI_EXECUTABLE, dir / "habuki");
  test::WriteBytes(dir / "英語ｺﾒﾝﾄ.txt", "beside the program");
  test::WriteBytes(dir / "in.txt", kSimple);
  const std::string command = "cd '" + dir.path().string() + "' && ./habuki -c en < in.txt > out.txt";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(test::ReadBytes(dir / "out.txt"), "beside the program\n" + kSimpleThinned);
  EXPECT_EQ(WEXITSTATUS(std::system(("'" + (dir / "habuki").string() + "' -f 17i 2>/dev/null").c_str())), 2);
}

}  // namespace
}  // namespace habuki
