#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <sstream>
#include <thread>
#include <utility>

#include "comment/comment_files.h"
#include "habuki/version.h"
#include "tests/support/habuki_runner.h"
#include "tests/support/test_support.h"

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
           "bad.txt:1: no record: the text holds no \"N\"\n",
           "missing.txt: cannot read: No such file or directory\n", "empty.txt: file is empty\n",
           dir.path().string() + ": cannot read: Is a directory\n",
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
      {{"-o", out, kExample, kExample}, "--output takes one input file only"},
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

TEST(Cli, LossesThatAreNotZeroAreReported) {
  const Result result =
      Habuki{"%\r\nN0020Q1P17\r\nN0021Q1L1P5\r\nN0022Q1L2P5\r\n%\r\n"}.Run({"-f", "16i"});
  EXPECT_EQ(result.status, 0);
  EXPECT_NE(
      result.err.find("standard input: 2 record(s) dropped because format 16i has no rule for "
                      "their kind, not because they are zero; first at line 3 (N0021Q1L)"),
      std::string::npos)
      << result.err;
}

TEST(Cli, TerminalSeesUtf8AndEverythingElseTheBytes) {
  // A head holding ク and a byte that CP932 does not use.
  const std::string record =
      "N\x83\x4E\xFD"
      "00001P5\r\n";
  const Habuki habuki{"%\r\n" + record + "%\r\n"};
  EXPECT_EQ(habuki.Run({"-c", "none", "-f", "30i"}).out, "%\n" + record + "%\r\n");
  Habuki terminal = habuki;
  terminal.terminal = true;
  EXPECT_EQ(terminal.Run({"-c", "none", "-f", "30i"}).out,
            "%\nNク\xEF\xBF\xBD"
            "00001P5\r\n%\r\n");
}

// The real program, copied into a folder of its own, finds its comment files there, unless the
// user's configuration folder holds one.
TEST(CliProcess, ReadsCommentFilesFromTheUsersFolderThenBesideItsExecutable) {
  test::TempDir dir;
  std::filesystem::copy_file(HABUKI_EXECUTABLE, dir / "habuki");
  test::WriteBytes(dir / "英語ｺﾒﾝﾄ.txt", "beside the program");
  test::WriteBytes(dir / "in.txt", kSimple);
  const std::string command =
      "cd '" + dir.path().string() +
      "' && XDG_CONFIG_HOME=\"$PWD/config\" ./habuki -c en < in.txt > out.txt";
  for (const char* expected : {"beside the program", "the user's own"}) {
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(test::ReadBytes(dir / "out.txt"), expected + ("\n" + kSimpleThinned));
    std::filesystem::create_directories(dir / "config" / "habuki");
    test::WriteBytes(dir / "config" / "habuki" / "英語ｺﾒﾝﾄ.txt", "the user's own");
  }
  EXPECT_EQ(
      WEXITSTATUS(std::system(("'" + (dir / "habuki").string() + "' -f 17i 2>/dev/null").c_str())),
      2);
}

// Address space runs out, as it may on a small machine: the file gets a message and status 3,
// and the program goes on, never aborting. Sanitizers reserve too much address space to run
// under such a limit.
TEST(CliProcess, RunningOutOfMemoryIsAMessage) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer needs more address space than the limit leaves";
#endif
  test::TempDir dir;
  test::WriteBytes(dir / "big.txt", "%\r\n" + std::string(200 << 20, 'N'));
  test::WriteBytes(dir / "small.txt", kSimple);
  const std::string command = "ulimit -v 150000 && '" + std::string(HABUKI_EXECUTABLE) +
                              "' -c none '" + (dir / "big.txt").string() + "' '" +
                              (dir / "small.txt").string() + "' > '" + (dir / "out.txt").string() +
                              "' 2> '" + (dir / "err.txt").string() + "'";
  const int status = std::system(("bash -c \"" + command + "\"").c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 3);
  EXPECT_NE(test::ReadBytes(dir / "err.txt").find("big.txt: "), std::string::npos);
  EXPECT_NE(test::ReadBytes(dir / "err.txt").find("memory"), std::string::npos);
  EXPECT_EQ(test::ReadBytes(dir / "out.txt"), kSimpleThinned);
}

// A file size limit makes the write fail with a message, not end the program, and leaves the old
// file and no temporary.
TEST(CliProcess, AFileSizeLimitIsAFailedWrite) {
  test::TempDir dir;
  test::WriteBytes(dir / "out.txt", "old");
  const std::string command = "ulimit -f 4 && '" + std::string(HABUKI_EXECUTABLE) +
                              "' -c none -o '" + (dir / "out.txt").string() + "' '" +
                              test::DataFile("machining-center-30i.txt").string() + "' 2> '" +
                              (dir / "err.txt").string() + "'";
  const int status = std::system(("bash -c \"" + command + "\"").c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 3);
  EXPECT_NE(test::ReadBytes(dir / "err.txt").find("out.txt: cannot write: File too large"),
            std::string::npos)
      << test::ReadBytes(dir / "err.txt");
  EXPECT_EQ(test::ReadBytes(dir / "out.txt"), "old");
  EXPECT_EQ(test::EntriesIn(dir.path()), 2u);
}

// Another program rewrites a backup while habuki thins it: in place with other line breaks (a
// count of lone CRs taken once no longer holds), cut short, copied afresh. habuki reads its own
// copy, so no run ends by a signal and the next file of the batch is still thinned.
TEST(CliProcess, AFileRewrittenDuringTheRunNeverEndsIt) {
  test::TempDir dir;
  const std::string backup = test::ReadBytes(test::DataFile("machining-center-30i.txt"));
  std::string loneCrs = backup;
  std::replace(loneCrs.begin(), loneCrs.end(), '\n', '\r');
  test::WriteBytes(dir / "rewritten.txt", backup);
  test::WriteBytes(dir / "next.txt", kSimple);
  std::atomic<bool> stop = false;
  std::thread rewriter([&] {
    for (int round = 0; !stop; ++round) {
      const int file = ::open((dir / "rewritten.txt").c_str(), O_WRONLY | O_CLOEXEC);
      const std::string& bytes = round % 2 == 0 ? loneCrs : backup;
      if (round % 3 == 0) {
        EXPECT_EQ(::ftruncate(file, 0), 0);
      }
      EXPECT_EQ(::pwrite(file, bytes.data(), bytes.size(), 0), static_cast<ssize_t>(bytes.size()));
      ::close(file);
    }
  });
  const std::string command = "exec '" + std::string(HABUKI_EXECUTABLE) +
                              "' -f 30i -c none --output-dir '" + dir.path().string() + "/out' '" +
                              (dir / "rewritten.txt").string() + "' '" +
                              (dir / "next.txt").string() + "' >/dev/null 2>&1";
  std::filesystem::create_directory(dir / "out");
  for (int attempt = 0; attempt < 200 && !HasFailure(); ++attempt) {
    std::filesystem::remove(dir / "out" / "next.txt");
    const int status = std::system(command.c_str());
    EXPECT_FALSE(WIFSIGNALED(status)) << "attempt " << attempt << ": signal " << WTERMSIG(status);
    EXPECT_EQ(test::ReadBytes(dir / "out" / "next.txt"), kSimpleThinned) << "attempt " << attempt;
  }
  stop = true;
  rewriter.join();
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

// The result, and the text of --version and --help, alike.
TEST(Cli, FailedWriteToStandardOutputIsStatusThree) {
  Habuki habuki{kSimple};
  habuki.outputFile = "/dev/full";
  for (const char* arg : {"-cnone", "--version", "--help"}) {
    const Result result = habuki.Run({arg});
    EXPECT_EQ(result.status, 3) << arg;
    EXPECT_EQ(result.err, "habuki: standard output: cannot write: No space left on device\n")
        << arg;
  }
}

// Entries dropped count those without a marker (A2) with those of value 0.
TEST(Cli, StatsCountWhatBecameOfRecordsAndEntries) {
  const Result result =
      Habuki{
          "%\r\nN00001Q1L1P5L2P0L3P0\r\nN00002Q1P0\r\nN00003Q1X1\r\nN00004Q1A1P0A2\r\n%\r\nN9\r\n"}
          .Run({"-c", "none", "--stats"});
  EXPECT_NE(result.err.find("format 30i, 4 records read, 1 kept, 2 dropped as zero, 1 dropped for "
                            "an unhandled kind, 1 after the closing %, 4 entries dropped\n"),
            std::string::npos)
      << result.err;
}

// As a shell runs the real program: redirections, closed and odd standard streams, files too
// large to read, comment files that are no files, a head that would steer the terminal.
struct ShellCase {
  const char* command;  // run in a folder holding in.txt and the folder "folder"
  int status;
  std::string message;                                       // part of standard error
  std::vector<std::pair<const char*, std::string>> files{};  // and what they then hold
};

const std::string kBuiltInE = "Parameters of the parameter value 0 have been omitted.\n";

const std::vector<ShellCase> kShellCases = {
    {"habuki -c none -o in.txt < in.txt",
     3,
     "in.txt: will not overwrite an input of this run",
     {{"in.txt", kSimple}}},
    {"habuki -c none in.txt >> in.txt",
     3,
     "in.txt: input file is output file",
     {{"in.txt", kSimple}}},
    {"cp in.txt b.txt && habuki diff in.txt b.txt >> b.txt",
     3,
     "habuki: b.txt: input file is output file\n",
     {{"b.txt", kSimple}}},
    {"mkdir a b out && cp in.txt a/x.txt && cp in.txt b/y.txt && ln -s x.txt out/y.txt && "
     "habuki --output-dir out a/x.txt b/y.txt",
     2, "a/x.txt and b/y.txt would both be written to out/y.txt (which leads to /"},
    {"{ echo A; habuki -c none -o /dev/stdout in.txt; habuki -c none -o /dev/fd/1 in.txt; } "
     "> report.txt",
     0,
     "",
     {{"report.txt", "A\n" + kSimpleThinned + kSimpleThinned}}},
    {"habuki -c none - in.txt <&- > out.txt",
     3,
     "habuki: standard input: cannot read: Bad file descriptor\n",
     {{"out.txt", kSimpleThinned}}},
    {"habuki -c none - in.txt < folder > out.txt",
     3,
     "habuki: standard input: cannot read: Is a directory\n",
     {{"out.txt", kSimpleThinned}}},
    {"{ printf 'N00009Q1P7\\r\\n'; cat in.txt; } > two.txt && "
     "{ IFS= read -r first; habuki -f 30i -c none > out.txt; } < two.txt",
     0,
     "",
     {{"out.txt", kSimpleThinned}}},
    {"habuki < /dev/zero", 3,
     "habuki: standard input: file is too large: more than 268435456 bytes, the limit is 256 MiB"},
    {"truncate -s 100G huge.txt && habuki huge.txt", 3,
     "habuki: huge.txt: file is too large: 107374182400 bytes, the limit is 256 MiB"},
    {"mkfifo 英語ｺﾒﾝﾄ.txt && habuki -c en --comment-dir . in.txt > out.txt",
     0,
     "",
     {{"out.txt", kBuiltInE + kSimpleThinned}}},
    {"head -c 2M /dev/zero > 英語ｺﾒﾝﾄ.txt && habuki -c en --comment-dir . in.txt > out.txt",
     0,
     "",
     {{"out.txt", kBuiltInE + kSimpleThinned}}},
    {"printf '%%\\r\\nN\\033[2J\\033[HQ1\\r\\n%%\\r\\n' | habuki -f 30i -c none > out.txt", 0,
     "first at line 2 (N\\x1B[2J\\x1B[HQ)"},
};

void PrintTo(const ShellCase& row, std::ostream* out) { *out << row.command; }

class CliShell : public testing::TestWithParam<ShellCase> {};

TEST_P(CliShell, SaysWhatAndKeepsEveryFile) {
  const ShellCase& row = GetParam();
  test::TempDir dir;
  test::WriteBytes(dir / "in.txt", kSimple);
  std::filesystem::create_directory(dir / "folder");
  const std::string script =
      "cd '" + dir.path().string() + "' && XDG_CONFIG_HOME='" + dir.path().string() +
      "/config' PATH='" + std::filesystem::path(HABUKI_EXECUTABLE).parent_path().string() +
      "':$PATH && export XDG_CONFIG_HOME && { " + row.command + "; } 2> err.txt";
  const int status = std::system(("bash -c \"" + script + "\"").c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), row.status);
  const std::string err = test::ReadBytes(dir / "err.txt");
  EXPECT_NE(err.find(row.message), std::string::npos) << err;
  if (row.message.empty()) {
    EXPECT_EQ(err, "");
  }
  for (const auto& [file, bytes] : row.files) EXPECT_EQ(test::ReadBytes(dir / file), bytes) << file;
}

INSTANTIATE_TEST_SUITE_P(Cases, CliShell, testing::ValuesIn(kShellCases));

}  // namespace
}  // namespace habuki
