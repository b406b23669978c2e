#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

#include "file_io.h"
#include "test_support.h"

namespace habuki {
namespace {

std::size_t EntriesIn(const std::filesystem::path& dir) {
  return static_cast<std::size_t>(
      std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()));
}

TEST(WriteFileAtomically, CreatesAndReplacesKeepingPermissions) {
  test::TempDir dir;
  ASSERT_FALSE(WriteFileAtomically(dir / "out.txt", "first"));
  EXPECT_EQ(test::ReadBytes(dir / "out.txt"), "first");
  std::filesystem::permissions(dir / "out.txt", std::filesystem::perms(0640));
  ASSERT_FALSE(WriteFileAtomically(dir / "out.txt", std::string("sec\0nd", 6)));
  EXPECT_EQ(test::ReadBytes(dir / "out.txt"), std::string("sec\0nd", 6));
  EXPECT_EQ(std::filesystem::status(dir / "out.txt").permissions(), std::filesystem::perms(0640));
  EXPECT_EQ(EntriesIn(dir.path()), 1u);  // no temporary left behind
}

TEST(WriteFileAtomically, FollowsASymbolicLink) {
  test::TempDir dir;
  test::WriteBytes(dir / "real.txt", "old");
  std::filesystem::create_symlink(dir / "real.txt", dir / "link.txt");
  ASSERT_FALSE(WriteFileAtomically(dir / "link.txt", "new"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.txt"));
  EXPECT_EQ(test::ReadBytes(dir / "real.txt"), "new");
}

TEST(WriteFileAtomically, FailureLeavesTheOldFileAndNoTemporary) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  test::TempDir dir;
  test::WriteBytes(dir / "out.txt", "old");
  std::filesystem::permissions(dir.path(), std::filesystem::perms(0500));
  EXPECT_EQ(WriteFileAtomically(dir / "out.txt", "new"), std::errc::permission_denied);
  std::filesystem::permissions(dir.path(), std::filesystem::perms(0700));
  EXPECT_EQ(test::ReadBytes(dir / "out.txt"), "old");
  EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

// A file size limit makes the write itself fail, after the temporary exists, even for root.
TEST(WriteFileAtomically, FailedWriteLeavesTheOldFileAndNoTemporary) {
  test::TempDir dir;
  test::WriteBytes(dir / "out.txt", "old");
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit previous{};
  ::getrlimit(RLIMIT_FSIZE, &previous);
  rlimit small = previous;
  small.rlim_cur = 1000;
  ::setrlimit(RLIMIT_FSIZE, &small);
  const std::error_code error = WriteFileAtomically(dir / "out.txt", std::string(5000, 'x'));
  ::setrlimit(RLIMIT_FSIZE, &previous);
  std::signal(SIGXFSZ, previousHandler);
  EXPECT_EQ(error, std::errc::file_too_large);
  EXPECT_EQ(test::ReadBytes(dir / "out.txt"), "old");
  EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

TEST(WriteFileAtomically, TargetsThatCannotBeReplaced) {
  test::TempDir dir;
  EXPECT_EQ(WriteFileAtomically(dir / "missing" / "out.txt", "x"),
            std::errc::no_such_file_or_directory);
  EXPECT_EQ(WriteFileAtomically(dir.path(), "x"), std::errc::is_a_directory);
  EXPECT_FALSE(WriteFileAtomically("/dev/null", "x"));          // written directly
  EXPECT_EQ(WriteFileAtomically("/dev/full", "x"), std::errc::no_space_on_device);
  EXPECT_EQ(EntriesIn(dir.path()), 0u);
}

TEST(ReadWholeFile, ReadsBytesAndTellsWhyNot) {
  test::TempDir dir;
  test::WriteBytes(dir / "in.txt", std::string("a\0\r\n", 4));
  EXPECT_EQ(ReadWholeFile(dir / "in.txt").bytes, std::string("a\0\r\n", 4));
  EXPECT_EQ(ReadWholeFile(dir / "none.txt").error, std::errc::no_such_file_or_directory);
  EXPECT_EQ(ReadWholeFile(dir.path()).error, std::errc::is_a_directory);
}

}  // namespace
}  // namespace habuki
