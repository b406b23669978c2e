#include "core/io/scratch_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/io/posix/new_file.h"
#include "core/io/replace_batch.h"
#include "tests/support/posix/other_user.h"
#include "tests/support/posix/temporary_folder.h"
#include "tests/support/test_support.h"

namespace habuki {
namespace {

using test::TemporaryFolderIs;

// Whatever the umask lets through, nobody but its owner may enter the folder; the library is
// given the folder and the file through the descriptors held, never a name another can swap.
TEST(ScratchFile, IsAFolderOfItsOwnInTmpdirForItsOwnerAlone) {
  test::TempDir dir;
  const TemporaryFolderIs tmpdir(dir.path());
  const mode_t umask = ::umask(0);
  const ScratchFile scratch;
  ::umask(umask);
  ASSERT_FALSE(scratch.error()) << scratch.error().message();
  const std::filesystem::path place(scratch.Place());
  EXPECT_EQ(place.parent_path(), dir.path());
  struct stat info {};
  ASSERT_EQ(::stat(place.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0700u);
  EXPECT_EQ(info.st_uid, ::getuid());
  EXPECT_TRUE(scratch.Utf8Folder().starts_with("/proc/self/fd/")) << scratch.Utf8Folder();
  EXPECT_TRUE(scratch.Utf8Path().starts_with("/proc/self/fd/")) << scratch.Utf8Path();
  ASSERT_EQ(::stat(scratch.Utf8Path().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);
}

// TMPDIR unset or empty is /tmp; a folder that cannot hold it is an error that names it.
TEST(ScratchFile, TmpdirEmptyIsTheDefaultAndAMissingOneIsNamed) {
  test::TempDir dir;
  {
    const TemporaryFolderIs empty("");
    const ScratchFile scratch;
    EXPECT_FALSE(scratch.error());
    EXPECT_EQ(std::filesystem::path(scratch.Place()).parent_path(), "/tmp");
  }
  const TemporaryFolderIs missing(dir / "missing");
  const ScratchFile none;
  EXPECT_TRUE(none.error());
  EXPECT_EQ(none.Place(), (dir / "missing").string());
}

// A signal that ends the program while the folder is there removes it, with what the library
// left in it.
TEST(ScratchFile, ASignalLeavesNoScratchFolder) {
  test::TempDir dir;
  const TemporaryFolderIs tmpdir(dir.path());
  const auto interrupted = [] {
    const ScratchFile scratch;
    std::ofstream(scratch.Utf8Folder() + "/tmp.abcdefghij") << "rows";
    if (!scratch.error()) ::raise(SIGTERM);
    std::exit(1);
  };
  EXPECT_EXIT(interrupted(), testing::ExitedWithCode(128 + SIGTERM), "");
  EXPECT_EQ(test::EntriesIn(dir.path()), 0u);
}

// The cleanups of a workbook and of a batch of results overlap: a workbook finished while the
// batch still holds its temporaries leaves the signals to the batch's cleanup.
TEST(ScratchFile, EndingBeforeABatchLeavesTheSignalsToIt) {
  test::TempDir dir;
  std::filesystem::create_directory(dir / "out");
  const TemporaryFolderIs tmpdir(dir.path());
  const auto interrupted = [&] {
    ReplaceBatch batch;
    const std::string_view bytes = "result";
    if (batch.Add(dir / "out" / "a.txt", ByteParts(&bytes, 1))) std::exit(2);
    { const ScratchFile workbook; }
    ::raise(SIGTERM);
    std::exit(1);
  };
  EXPECT_EXIT(interrupted(), testing::ExitedWithCode(128 + SIGTERM), "");
  EXPECT_EQ(test::EntriesIn(dir / "out"), 0u);
  EXPECT_EQ(test::EntriesIn(dir.path()), 1u);  // "out" alone
}

// Another user who owns a temporary folder that everyone may write swaps every name in it for a
// link to root's own file, as fast as it can, while root's workbooks are written: neither the
// file nor the workbooks are touched.
TEST(ScratchFile, AnotherUserCannotSwapItsNames) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs another user: run as root";
  test::TempDir dir;
  const std::filesystem::path shared = dir / "shared", victim = dir / "victim.txt";
  std::filesystem::create_directory(shared);
  std::filesystem::permissions(shared, std::filesystem::perms(01777));
  test::GiveToOtherUser(shared);
  test::WriteBytes(victim, "root's own");
  std::filesystem::permissions(victim, std::filesystem::perms(0600));
  const TemporaryFolderIs tmpdir(shared);
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t attacker = ::fork();
  if (attacker == 0) {
    // Until it is killed; and no longer than the test's own time.
    if (::setgid(test::kOtherGroup) != 0 || ::setuid(test::kOtherUser) != 0) ::_exit(1);
    ::write(ready[1], "x", 1);
    for (int round = 0; round < 1000000; ++round) {
      std::error_code error;
      for (const auto& entry : std::filesystem::directory_iterator(shared, error)) {
        std::filesystem::rename(entry.path(), shared / ("moved-" + std::to_string(round)), error);
        std::filesystem::create_symlink(victim, entry.path(), error);
      }
    }
    ::_exit(0);
  }
  char started;
  ASSERT_EQ(::read(ready[0], &started, 1), 1);
  int written = 0;
  for (int attempt = 0; attempt < 200; ++attempt) {
    const ScratchFile scratch;
    if (scratch.error()) continue;  // a name swapped before the folder was held is refused
    std::ofstream(scratch.Utf8Path(), std::ios::trunc) << "workbook " << attempt;
    EXPECT_EQ(scratch.ReadBack({1 << 20, true}).bytes.view(),
              "workbook " + std::to_string(attempt));
    ++written;
  }
  ::kill(attacker, SIGKILL);
  ::waitpid(attacker, nullptr, 0);
  EXPECT_EQ(test::ReadBytes(victim), "root's own");
  EXPECT_GT(written, 100);
}

// Where the file must have a name, a name already taken is refused, whatever stands there: a
// file, a link to one, or a link to nowhere that opening would create.
TEST(ScratchFile, ANamedFileIsAlwaysANewOne) {
  test::TempDir dir;
  test::WriteBytes(dir / "target", "kept");
  test::WriteBytes(dir / "file", "kept");
  std::filesystem::create_symlink(dir / "target", dir / "link");
  std::filesystem::create_symlink(dir / "nowhere", dir / "dangling");
  const int folder = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ASSERT_GE(folder, 0);
  for (const char* name : {"file", "link", "dangling"}) {
    errno = 0;
    EXPECT_EQ(CreateNewFile(folder, name), -1) << name;
    EXPECT_EQ(errno, EEXIST) << name;
  }
  const int made = CreateNewFile(folder, "new");
  EXPECT_GE(made, 0);
  ::close(made);
  ::close(folder);
  EXPECT_EQ(test::ReadBytes(dir / "target"), "kept");
  EXPECT_EQ(test::ReadBytes(dir / "file"), "kept");
  EXPECT_FALSE(std::filesystem::exists(dir / "nowhere"));
}

}  // namespace
}  // namespace habuki
