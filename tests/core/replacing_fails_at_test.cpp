#include "tests/core/replacing_fails_at.h"

#include "core/io/file_writing.h"
#include "tests/support/test_support.h"

namespace habuki::test {
namespace {

TEST_P(ReplacingFailsAt, KeepsTheOldFileAndLeavesNoTemporary) {
  TempDir dir;
  WriteBytes(dir / "out.txt", "old");
  EXPECT_EQ(WriteFileAtomically(dir / "out.txt", "new", OpsFailingAt(GetParam())),
            GetParam().error.default_error_condition());
  EXPECT_EQ(ReadBytes(dir / "out.txt"), "old");
  EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

}  // namespace
}  // namespace habuki::test
