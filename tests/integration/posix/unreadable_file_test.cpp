// A bad input that only POSIX systems make: a file its permissions keep from being read.
#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/support/habuki_runner.h"

namespace habuki::test::bad_inputs {
namespace {

// An input file that exists but cannot be read: only without root's privileges.
TEST(BadInputs, UnreadableFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
  TempDir dir;
  WriteBytes(dir / "locked.txt", "%\r\nN00001Q1L1P5\r\n%\r\n");
  std::filesystem::permissions(dir / "locked.txt", std::filesystem::perms::none);
  const test::HabukiRun run =
      test::Habuki{"", false, dir.path()}.Run({(dir / "locked.txt").string()});
  EXPECT_EQ(run.status, 3);
  EXPECT_NE(run.err.find("cannot read: Permission denied"), std::string::npos);
}

}  // namespace
}  // namespace habuki::test::bad_inputs
