#include "core/io/file_reading.h"

#include <gtest/gtest.h>

#include "tests/support/test_support.h"

namespace habuki {
namespace {

constexpr ReadLimit kAnyFile{1000, false};
constexpr ReadLimit kRegularOnly{1000, true};

// A file over the limit is refused by its size before any of it is read.
TEST(ReadFile, RefusesAFileLargerThanTheLimitByItsSize) {
  test::TempDir dir;
  test::WriteBytes(dir / "limit.txt", std::string(1000, 'N'));
  EXPECT_EQ(ReadFile(dir / "limit.txt", kAnyFile).bytes.size, 1000u);
  test::WriteBytes(dir / "large.txt", "");
  std::filesystem::resize_file(dir / "large.txt", std::uint64_t{5} << 30);  // 5 GiB, past 32 bits
  const FileContents large = ReadFile(dir / "large.txt", kAnyFile);
  EXPECT_EQ(large.error, std::errc::file_too_large);
  EXPECT_EQ(large.fileSize, std::uint64_t{5} << 30);
}

// Where only regular files are read, a device such as NUL is refused rather than read as an
// empty file.
TEST(ReadFile, RegularFilesOnlyRefusesDevices) {
  EXPECT_EQ(ReadFile("NUL", kRegularOnly).error, std::errc::invalid_argument);
  EXPECT_EQ(ReadFile("NUL", kAnyFile).bytes.size, 0u);
}

}  // namespace
}  // namespace habuki
