#include "core/io/replace_batch.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/test_support.h"

namespace habuki {
namespace {

std::error_code Add(ReplaceBatch& batch, const std::filesystem::path& target,
                    std::string_view bytes) {
  return batch.Add(target, ByteParts(&bytes, 1));
}

// A batch is full at its count of files or of bytes, whichever comes first, and empty again
// once committed.
TEST(ReplaceBatch, IsFullAtItsLimits) {
  test::TempDir dir;
  for (const BatchLimits limits : {BatchLimits{2, 1000}, BatchLimits{100, 8}}) {
    ReplaceBatch batch(SystemFileOps(), limits);
    ASSERT_FALSE(Add(batch, dir / "a.txt", "1234"));
    EXPECT_FALSE(batch.Full());
    ASSERT_FALSE(Add(batch, dir / "b.txt", "5678"));
    EXPECT_TRUE(batch.Full());
    EXPECT_TRUE(batch.Commit().empty());
    EXPECT_FALSE(batch.Full());
  }
}

}  // namespace
}  // namespace habuki
