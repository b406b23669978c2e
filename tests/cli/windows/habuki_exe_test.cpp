// habuki.exe as Windows runs it, in what a naive port gets wrong: text-mode streams that add CR
// before LF, file identities that make every file look like an input, names taken in the code
// page, a rename that refuses an existing file, a device taken for a file to replace, comment
// files looked for where Windows keeps none, patterns, locked files and long paths.
#include <windows.h>
#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <utility>

#include "core/io/path_text.h"
#include "core/io/user_config_folder.h"
#include "core/io/windows/system_error.h"
#include "core/io/windows/system_path.h"
#include "tests/cli/simple_backup.h"
#include "tests/support/habuki_runner.h"

namespace habuki {
namespace {

using test::Habuki;
using test::kSimple;
using test::kSimpleThinned;
using Result = test::HabukiRun;

const std::filesystem::path kProgram = HABUKI_EXECUTABLE;

// habuki.exe (or a copy of it) run in `folder`, standard input holding `input`.
Result RunExe(const std::filesystem::path& folder, std::vector<std::string> args,
              const std::string& input = "", const std::filesystem::path& program = kProgram) {
  const test::TempDir streams;
  test::WriteBytes(streams / "in", input);
  const int status = test::Run(
      {program, std::move(args), folder, streams / "in", streams / "out", streams / "err"});
  return {status, test::ReadBytes(streams / "out"), test::ReadBytes(streams / "err")};
}

// The names in `folder`, as Windows gives them.
std::set<std::wstring> NamesIn(const std::filesystem::path& folder) {
  std::set<std::wstring> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename().wstring());
  }
  return names;
}

std::wstring Wide(std::string_view utf8) { return PathFromUtf8(utf8).wstring(); }

// Standard output and the -o file hold the thinned backup byte for byte, as the in-process run
// writes it to a descriptor in binary mode: one lone LF after the first line, CR LF after the
// others, never CR CR LF.
class RealBackup : public testing::TestWithParam<std::filesystem::path> {};

TEST_P(RealBackup, StandardOutputAndOutputFileHoldTheThinnedBytes) {
  const std::string file = GetParam().string();
  const std::string expected = Habuki{}.Run({"-c", "none", file}).out;
  ASSERT_TRUE(expected.starts_with("%\n")) << file;
  ASSERT_TRUE(expected.ends_with("%\r\n")) << file;
  ASSERT_EQ(expected.find("\r\r"), std::string::npos) << file;
  test::TempDir dir;
  const Result toStandardOutput = RunExe(dir.path(), {"-c", "none", file});
  EXPECT_EQ(toStandardOutput.status, 0) << toStandardOutput.err;
  EXPECT_TRUE(toStandardOutput.out == expected)
      << toStandardOutput.out.size() << " bytes, not " << expected.size();
  const Result toFile = RunExe(dir.path(), {"-c", "none", "-o", "out.txt", file});
  EXPECT_EQ(toFile.status, 0) << toFile.err;
  EXPECT_TRUE(test::ReadBytes(dir / "out.txt") == expected);
}

INSTANTIATE_TEST_SUITE_P(DataAndExamples, RealBackup,
                         testing::Values(test::DataFile("machining-center-30i.txt"),
                                         test::DataFile("machining-center-pmc.txt"),
                                         test::ExampleFile("fs30i-example.txt"),
                                         test::ExampleFile("fs16i-example.txt"),
                                         test::ExampleFile("pmc-example.txt")),
                         [](const auto& info) { return std::to_string(info.index); });

// diff's text ends its lines with LF, a CSV table with CR LF: both as they come on Linux.
TEST(HabukiExe, DiffAndCsvKeepTheirLineEnds) {
  test::TempDir dir;
  test::WriteBytes(dir / "old.txt", "%\r\nN00001Q1A1P5A2P7\r\nN00009Q1L1P0\r\n%\r\n");
  test::WriteBytes(dir / "new.txt", "%\r\nN00001Q1A1P6A3P1\r\nN00009Q1L1P0\r\n%\r\n");
  const test::InFolder inDir(dir.path());
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"diff", "old.txt", "new.txt"},
       "N00001Q1 A1: 5 -> 6\nN00001Q1 A2: 7 -> -\nN00001Q1 A3: - -> 1\n"
       "1 changed, 1 added, 1 removed, 0 set to 0\n"},
      {{"--to", "csv", "new.txt"},
       "number,qualifier,entry,marker,value,line,axis\r\n00001,Q1,A1,P,6,2,\r\n"
       "00001,Q1,A3,P,1,2,\r\n"},
  };
  for (const auto& [args, expected] : cases) {
    const Result result = RunExe(dir.path(), args);
    EXPECT_EQ(result.out, expected) << args[0];
    EXPECT_EQ(result.out, Habuki{}.Run(args).out) << args[0];
  }
}

// A name in Japanese is read and written under that very name, whatever the code page.
TEST(HabukiExe, JapaneseFileNames) {
  test::TempDir dir;
  test::WriteBytes(dir / "パラメータ.txt", kSimple);
  const Result result = RunExe(dir.path(), {"-c", "none", "-o", "ハブキ済.txt", "パラメータ.txt"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(NamesIn(dir.path()),
            (std::set<std::wstring>{Wide("パラメータ.txt"), Wide("ハブキ済.txt")}));
  EXPECT_EQ(test::ReadBytes(dir / "ハブキ済.txt"), kSimpleThinned);
}

// An existing result is no input: it is replaced, by -o and by --output-dir, again and again.
// The input itself, under any of its spellings, is not.
TEST(HabukiExe, ReplacesEarlierResultsButNeverTheInput) {
  test::TempDir dir;
  test::WriteBytes(dir / "in.txt", kSimple);
  std::filesystem::create_directory(dir / "out");
  for (int run = 0; run < 2; ++run) {
    const Result toFile = RunExe(dir.path(), {"-c", "none", "-o", "out.txt", "in.txt"});
    EXPECT_EQ(toFile.status, 0) << "run " << run << ": " << toFile.err;
    const Result toFolder = RunExe(dir.path(), {"-c", "none", "--output-dir", "out", "in.txt"});
    EXPECT_EQ(toFolder.status, 0) << "run " << run << ": " << toFolder.err;
  }
  EXPECT_EQ(test::ReadBytes(dir / "out.txt"), kSimpleThinned);
  EXPECT_EQ(test::ReadBytes(dir / "out" / "in.txt"), kSimpleThinned);
  for (const std::string& input :
       {std::string("in.txt"), std::string("IN.TXT"), std::string("./in.txt"),
        std::string(".\\In.Txt"), (dir / "in.txt").string()}) {
    const Result self = RunExe(dir.path(), {"-c", "none", "-o", input, "in.txt"});
    EXPECT_EQ(self.status, 3) << input;
    EXPECT_NE(self.err.find("will not overwrite an input of this run"), std::string::npos)
        << input << ": " << self.err;
  }
  EXPECT_EQ(test::ReadBytes(dir / "in.txt"), kSimple);
  EXPECT_EQ(test::EntriesIn(dir.path()), 3u);
}

// A folder is told as one, as on Linux, and so is a name only a folder has, though Windows would
// read "in.txt\." as in.txt: such a result is refused as one to a folder, not as one over the
// input. The input stays as it was.
TEST(HabukiExe, FoldersAreToldAsFolders) {
  test::TempDir dir;
  test::WriteBytes(dir / "in.txt", kSimple);
  std::filesystem::create_directory(dir / "folder");
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"-o", "folder", "folder"}, "habuki: folder: cannot read: Is a directory\n"},
      {{"-o", "folder", "in.txt"}, "habuki: folder: cannot write: Is a directory\n"},
      {{"-o", "in.txt\\.", "in.txt"}, "habuki: in.txt\\.: cannot write: Is a directory\n"},
  };
  for (const auto& [args, says] : cases) {
    std::vector<std::string> options{"-c", "none"};
    options.insert(options.end(), args.begin(), args.end());
    const Result result = RunExe(dir.path(), options);
    EXPECT_EQ(result.status, 3) << args[1];
    EXPECT_EQ(result.err, says);
  }
  EXPECT_EQ(test::ReadBytes(dir / "in.txt"), kSimple);
  EXPECT_EQ(NamesIn(dir.path()), (std::set<std::wstring>{L"folder", L"in.txt"}));
}

// NUL takes the result as /dev/null does: nothing is written anywhere.
TEST(HabukiExe, OutputToNulWritesNothing) {
  test::TempDir dir;
  test::WriteBytes(dir / "in.txt", kSimple);
  for (const char* device : {"NUL", "nul"}) {
    const Result result = RunExe(dir.path(), {"-c", "none", "-o", device, "in.txt"});
    EXPECT_EQ(result.status, 0) << device << ": " << result.err;
    EXPECT_EQ(result.out, "") << device;
    EXPECT_EQ(result.err, "") << device;
  }
  EXPECT_EQ(NamesIn(dir.path()), std::set<std::wstring>{L"in.txt"});
}

// The program's copy in a folder of its own finds the comment file beside it, unless the user's
// folder (%APPDATA%\habuki) holds one. That folder is the user's own: it is used only while it
// holds no comment file of theirs, and left as it was found.
TEST(HabukiExe, ReadsCommentFilesFromTheUsersFolderThenBesideItself) {
  test::TempDir dir;
  std::filesystem::copy_file(kProgram, dir / "habuki.exe");
  test::WriteBytes(dir / "英語ｺﾒﾝﾄ.txt", "beside the program");
  const Result beside = RunExe(dir.path(), {"-c", "en"}, kSimple, dir / "habuki.exe");
  EXPECT_EQ(beside.status, 0) << beside.err;
  EXPECT_EQ(beside.out, "beside the program\n" + kSimpleThinned);

  const std::filesystem::path user = UserConfigFolder();
  const std::filesystem::path userFile = user / PathFromUtf8("英語ｺﾒﾝﾄ.txt");
  if (std::filesystem::exists(userFile)) GTEST_SKIP() << "the user has a comment file of their own";
  const bool made = std::filesystem::create_directories(user);
  test::WriteBytes(userFile, "the user's own");
  const Result own = RunExe(dir.path(), {"-c", "en"}, kSimple, dir / "habuki.exe");
  std::filesystem::remove(userFile);
  if (made) std::filesystem::remove(user);
  EXPECT_EQ(own.status, 0) << own.err;
  EXPECT_EQ(own.out, "the user's own\n" + kSimpleThinned);
}

// Patterns take the files dir lists, not the hidden system files Explorer keeps in a folder;
// a pattern that matches nothing is said to, rather than read as a name.
TEST(HabukiExe, WildcardsTakeWhatDirListsAndSayWhenNothingMatches) {
  test::TempDir dir;
  std::filesystem::create_directories(dir / "in");
  std::filesystem::create_directories(dir / "out");
  for (const char* name : {"a.txt", "b.txt"}) test::WriteBytes(dir / "in" / name, kSimple);
  test::WriteBytes(dir / "in" / "desktop.ini", "[.ShellClassInfo]\r\n");
  ::SetFileAttributesW((dir / "in" / "desktop.ini").c_str(),
                       FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  const Result all = RunExe(dir.path(), {"-c", "none", "--output-dir", "out", "in\\*"});
  EXPECT_EQ(all.status, 0) << all.err;
  EXPECT_EQ(NamesIn(dir / "out"), (std::set<std::wstring>{L"a.txt", L"b.txt"}));
  for (const std::string pattern : {"*.prm", "in\\*.prm", "in\\?"}) {
    const Result none = RunExe(dir.path(), {"-c", "none", pattern});
    EXPECT_EQ(none.status, 3) << pattern;
    EXPECT_EQ(none.err, "habuki: no file matches " + pattern + "\n");
  }
}

// Matches come in the order a POSIX shell gives them, byte by byte in UTF-8: capitals before
// "_" before small letters, U+FF42 before U+1F600, whatever order Windows lists them in. The
// files are made in another order, each with a record of its own, so that the result tells the
// order they were read in.
TEST(HabukiExe, WildcardMatchesComeInTheOrderOfTheirBytes) {
  const std::vector<std::string> sorted = {"B.txt", "D.txt",  "_.txt", "a.txt",
                                           "c.txt", "ｂ.txt", "😀.txt"};
  test::TempDir dir;
  std::string expected;
  for (std::size_t i = 0; i < sorted.size(); ++i) {
    expected += "%\nN0000" + std::to_string(i + 1) + "Q1P1\r\n%\r\n";
  }
  for (const std::size_t i : {4, 6, 2, 1, 3, 5, 0}) {
    test::WriteBytes(dir / sorted[i], "%\r\nN0000" + std::to_string(i + 1) + "Q1P1\r\n%\r\n");
  }
  const Result result = RunExe(dir.path(), {"-c", "none", "*.txt"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, expected);
}

// A file another program holds open, as Excel holds a workbook it shows, is named with the
// system's own reason in UTF-8, whether it is to be read or replaced; it stays as it was.
TEST(HabukiExe, FilesHeldByAnotherProgramAreNamedWithTheSystemsReason) {
  test::TempDir dir;
  test::WriteBytes(dir / "in.txt", kSimple);
  test::WriteBytes(dir.path() / PathFromUtf8("結果.txt"), "earlier");
  const std::string reason = WindowsError(ERROR_SHARING_VIOLATION).message();
  for (const auto& [held, args, what] :
       {std::tuple{"in.txt", std::vector<std::string>{"in.txt"}, "cannot read"},
        std::tuple{"結果.txt", std::vector<std::string>{"-o", "結果.txt", "in.txt"},
                   "cannot write"}}) {
    const HANDLE handle =
        ::CreateFileW((dir.path() / PathFromUtf8(held)).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE) << held;
    std::vector<std::string> options{"-c", "none"};
    options.insert(options.end(), args.begin(), args.end());
    const Result result = RunExe(dir.path(), options);
    ::CloseHandle(handle);
    EXPECT_EQ(result.status, 3) << held;
    EXPECT_EQ(result.err, "habuki: " + std::string(held) + ": " + what + ": " + reason + "\n");
  }
  EXPECT_EQ(test::ReadBytes(dir.path() / PathFromUtf8("結果.txt")), "earlier");
  EXPECT_EQ(test::ReadBytes(dir / "in.txt"), kSimple);
}

// A backup deep in a folder tree, past the 260 characters Windows takes by default.
TEST(HabukiExe, ReadsAndWritesPathsPastMaxPath) {
  test::TempDir dir;
  std::filesystem::path folder = dir.path();
  while (folder.native().size() <= 300) folder /= std::wstring(60, L'd');
  std::filesystem::create_directories(SystemPath(folder));
  test::WriteBytes(SystemPath(folder / "in.txt"), kSimple);
  const Result result = RunExe(dir.path(), {"-c", "none", "-o", (folder / "out.txt").string(),
                                            (folder / "in.txt").string()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(test::ReadBytes(SystemPath(folder / "out.txt")), kSimpleThinned);
}

}  // namespace
}  // namespace habuki
