// A bad input that Windows makes: a file another program holds open without sharing it.
#include <windows.h>
#include <gtest/gtest.h>

#include "tests/support/habuki_runner.h"

namespace habuki::test::bad_inputs {
namespace {

TEST(BadInputs, FileHeldByAnotherProgram) {
  TempDir dir;
  WriteBytes(dir / "locked.txt", "%\r\nN00001Q1L1P5\r\n%\r\n");
  const HANDLE held = ::CreateFileW((dir / "locked.txt").c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const test::HabukiRun run =
      test::Habuki{"", false, dir.path()}.Run({(dir / "locked.txt").string()});
  ::CloseHandle(held);
  EXPECT_EQ(run.status, 3);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("locked.txt: cannot read: "), std::string::npos) << run.err;
}

}  // namespace
}  // namespace habuki::test::bad_inputs
