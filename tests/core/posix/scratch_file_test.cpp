#include "core/io/scratch_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "tests/support/posix/temporary_folder.h"
#include "tests/support/test_support.h"

namespace habuki {
namespace {

using test::TemporaryFolderIs;

// Whatever the umask lets through, nobody but its owner may open it, and it is a new file of
// one name.
TEST(ScratchFile, IsMadeInTmpdirForItsOwnerAlone) {
  test::TempDir dir;
  const TemporaryFolderIs tmpdir(dir.path());
  const mode_t umask = ::umask(0);
  const ScratchFile scratch;
  ::umask(umask);
  ASSERT_FALSE(scratch.error()) << scratch.error().message();
  const std::filesystem::path path(scratch.Utf8Path());
  EXPECT_EQ(path.parent_path(), dir.path());
  EXPECT_LE(path.filename().string().size(), 20u);
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);
  EXPECT_EQ(info.st_nlink, 1u);
  EXPECT_EQ(info.st_uid, ::getuid());
}

TEST(ScratchFile, AFolderThatCannotHoldItIsAnError) {
  test::TempDir dir;
  const TemporaryFolderIs tmpdir(dir / "missing");
  EXPECT_TRUE(ScratchFile().error());
}

// A signal that ends the program while the file is there removes it.
TEST(ScratchFile, ASignalLeavesNoScratchFile) {
  test::TempDir dir;
  const TemporaryFolderIs tmpdir(dir.path());
  const auto interrupted = [] {
    const ScratchFile scratch;
    if (!scratch.error() && std::filesystem::exists(scratch.Utf8Path())) ::raise(SIGINT);
    std::exit(1);
  };
  EXPECT_EXIT(interrupted(), testing::ExitedWithCode(128 + SIGINT), "");
  EXPECT_EQ(test::EntriesIn(dir.path()), 0u);
}

}  // namespace
}  // namespace habuki
