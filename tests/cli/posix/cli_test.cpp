#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <thread>

#include "tests/cli/simple_backup.h"
#include "tests/support/habuki_runner.h"
#include "tests/support/test_support.h"

namespace habuki {
namespace {

using test::Habuki;
using test::kSimple;
using test::kSimpleThinned;
using Result = test::HabukiRun;
// A terminal here is a descriptor like any other, that takes UTF-8; a Windows console takes
// UTF-16 through calls of its own.
TEST(Cli, TerminalSeesUtf8AndEverythingElseTheBytes) {
  // A head holding ク and a byte that CP932 does not use.
  const std::string record =
      "N\x83\x4E\xFD"
      "00001P5\r\n";
  const Habuki habuki{"%\r\nN00001Q1P1\r\n" + record + "%\r\n"};
  EXPECT_EQ(habuki.Run({"-c", "none", "-f", "30i"}).out, "%\nN00001Q1P1\r\n" + record + "%\r\n");
  Habuki terminal = habuki;
  terminal.terminal = true;
  EXPECT_EQ(terminal.Run({"-c", "none", "-f", "30i"}).out,
            "%\nN00001Q1P1\r\nNク\xEF\xBF\xBD"
            "00001P5\r\n%\r\n");
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

  // diff too: 5,000 records of 1,000 entries, none of them zero, compared with themselves.
  std::string many = "%\r\n";
  for (int record = 0; record < 5000; ++record) {
    many += test::EntryRecord(1000, 'A', "P1").replace(1, 5, std::to_string(10000 + record));
  }
  test::WriteBytes(dir / "many.txt", many + "%\r\n");
  const std::string diff = "ulimit -v 200000 && '" + std::string(HABUKI_EXECUTABLE) +
                           "' diff -q '" + (dir / "many.txt").string() + "' '" +
                           (dir / "many.txt").string() + "' 2> '" + (dir / "err.txt").string() +
                           "'";
  const int diffStatus = std::system(("bash -c \"" + diff + "\"").c_str());
  ASSERT_TRUE(WIFEXITED(diffStatus));
  EXPECT_EQ(WEXITSTATUS(diffStatus), 3);
  EXPECT_EQ(test::ReadBytes(dir / "err.txt"), "habuki: out of memory while comparing the files\n");
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

// Without /proc (a container, a chroot), files are replaced from the folder held and the name,
// and the names of descriptors are known for what they are: here /proc is hidden by a mount in a
// namespace of the test's own.
TEST(Cli, WorksWithoutProc) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "LeakSanitizer needs /proc";
#endif
  if (std::system("unshare -rm true 2> /dev/null") != 0) GTEST_SKIP() << "no namespaces here";
  test::TempDir dir;
  test::WriteBytes(dir / "in.txt", kSimple);
  test::WriteBytes(dir / "old.txt", "old");
  const std::string habuki = HABUKI_EXECUTABLE;
  const std::string script = "cd '" + dir.path().string() +
                             "' && mount -t tmpfs none /proc && ! [ -e /proc/self ] && " + habuki +
                             " -c none -o old.txt in.txt && " + habuki +
                             " -c none -o /dev/null in.txt && { echo A; " + habuki +
                             " -c none -o /dev/stdout in.txt; } > report.txt && " + habuki +
                             " --to xlsx -o book.xlsx in.txt";
  EXPECT_EQ(std::system(("unshare -rm sh -c \"" + script + "\"").c_str()), 0);
  EXPECT_EQ(test::ReadBytes(dir / "old.txt"), kSimpleThinned);
  EXPECT_EQ(test::ReadBytes(dir / "report.txt"), "A\n" + kSimpleThinned);
  EXPECT_EQ(test::ReadBytes(dir / "book.xlsx").substr(0, 2), "PK");
  EXPECT_EQ(test::EntriesIn(dir.path()), 4u);
}

// As a shell runs the real program: redirections, closed and odd standard streams, files too
// large to read, comment files that are no files, a head that would steer the terminal.
struct ShellCase {
  const char* command;  // run in a folder holding in.txt and the folder "folder"; the shell
                        // variable DATA names the folder of the real backups
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
    {"habuki -c none -o in.txt/. in.txt",
     3,
     "habuki: in.txt/.: cannot write: Is a directory\n",
     {{"in.txt", kSimple}}},
    {"habuki -c none in.txt >> in.txt",
     3,
     "in.txt: input file is output file",
     {{"in.txt", kSimple}}},
    {"cp in.txt b.txt && habuki diff in.txt b.txt >> b.txt",
     3,
     "habuki: b.txt: input file is output file\n",
     {{"b.txt", kSimple}}},
    {"cp in.txt b.txt && cp in.txt c.txt && habuki diff in.txt b.txt c.txt >> c.txt",
     3,
     "habuki: c.txt: input file is output file\n",
     {{"c.txt", kSimple}}},
    {"mkdir a b out && cp in.txt a/x.txt && cp in.txt b/y.txt && ln -s x.txt out/y.txt && "
     "habuki --output-dir out a/x.txt b/y.txt",
     2, "a/x.txt and b/y.txt would both be written to out/y.txt (which leads to /"},
    // Two names of one file are one target.
    {"mkdir a b out && cp in.txt a/x.txt && cp in.txt b/y.txt && echo old > out/x.txt && "
     "ln out/x.txt out/y.txt && habuki --output-dir out a/x.txt b/y.txt",
     2,
     "a/x.txt and b/y.txt would both be written to out/y.txt; nothing was written",
     {{"out/x.txt", "old\n"}, {"out/y.txt", "old\n"}}},
    // Standard input open for writing is the target that /dev/stdin names.
    {"echo old > t.txt && habuki -c none -o /dev/stdin in.txt 0<> t.txt > out.txt",
     0,
     "",
     {{"t.txt", kSimpleThinned}, {"out.txt", ""}}},
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
    {"printf '%%\\r\\nN00001Q1P1\\r\\nN\\033[2J\\033[HQ1\\r\\n%%\\r\\n' | habuki -c none > out.txt",
     1,
     ":3:1: 1 record(s) dropped because format 30i has no rule for their kind, not "
     "because they are zero; the first: N\\x1B[2J\\x1B[HQ1"},
    // Standard error on a pipe whose reader has gone (it says so in "gone" first): the batch goes
    // on and leaves nothing behind; standard output there is a failed write, status 3.
    {"mkdir out && for i in \\$(seq 51); do cp in.txt f\\$i.txt; done && "
     "gone() { exec 0<&-; touch gone; sleep 1; } && after() { until [ -e gone ]; do sleep 0.01; "
     "done; rm gone; } && { after; habuki -c none --stats --output-dir out f*.txt 2>&1; "
     "echo \\$? > status.txt; } | gone; ls -A out | wc -l > count.txt; "
     "{ after; habuki in.txt; } 2> err2.txt | gone; cat err2.txt >&2",
     0,
     "habuki: standard output: cannot write: Broken pipe\n",
     {{"status.txt", "0\n"}, {"count.txt", "51\n"}}},
    // 200 targets in 200 folders (through links) with few descriptors to hold them: a batch
    // commits early rather than run out.
    {"mkdir out && for i in \\$(seq 200); do mkdir d\\$i && touch d\\$i/f\\$i.txt && "
     "ln -s ../d\\$i/f\\$i.txt out/f\\$i.txt && cp in.txt f\\$i.txt; done && ulimit -n 64 && "
     "habuki -c none --output-dir out f*.txt && cat d1/f1.txt d200/f200.txt > both.txt && "
     "cat d*/f*.txt | grep -c N00002Q1L1P1 > count.txt",
     0,
     "",
     {{"both.txt", kSimpleThinned + kSimpleThinned}, {"count.txt", "200\n"}}},
    // The library does not check its writes: what a file size limit cut short is refused.
    {"echo old > book.xlsx && ulimit -f 400 && "
     "habuki --to xlsx --all -o book.xlsx \\$DATA/machining-center-30i.txt",
     3,
     "habuki: book.xlsx: cannot write: ",
     {{"book.xlsx", "old\n"}}},
};

void PrintTo(const ShellCase& row, std::ostream* out) { *out << row.command; }

class CliShell : public testing::TestWithParam<ShellCase> {};

TEST_P(CliShell, SaysWhatAndKeepsEveryFile) {
  const ShellCase& row = GetParam();
  test::TempDir dir;
  test::WriteBytes(dir / "in.txt", kSimple);
  std::filesystem::create_directory(dir / "folder");
  const std::string script = "cd '" + dir.path().string() + "' && XDG_CONFIG_HOME='" +
                             dir.path().string() + "/config' PATH='" +
                             std::filesystem::path(HABUKI_EXECUTABLE).parent_path().string() +
                             "':$PATH DATA='" + test::DataFile("").string() +
                             "' && export XDG_CONFIG_HOME && { " + row.command + "; } 2> err.txt";
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
