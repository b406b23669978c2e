#include "core/io/file_reading.h"

#include <gtest/gtest.h>

#include "core/io/system_calls.h"
#include "tests/support/test_support.h"

namespace habuki {
namespace {

constexpr ReadLimit kAnyFile{1000, false};

TEST(ReadFile, ReadsBytesAndTellsWhyNot) {
  test::TempDir dir;
  test::WriteBytes(dir / "in.txt", std::string("a\0\r\n", 4));
  const FileContents read = ReadFile(dir / "in.txt", kAnyFile);
  EXPECT_EQ(read.bytes.view(), std::string("a\0\r\n", 4));
  EXPECT_EQ(read.identity, RegularFileIdentity(dir / "in.txt"));
  EXPECT_EQ(ReadFile(dir / "none.txt", kAnyFile).error, std::errc::no_such_file_or_directory);
  EXPECT_EQ(ReadFile(dir.path(), kAnyFile).error, std::errc::is_a_directory);
}

// Standard input may have been read in part before: what is left is read and measured against
// the limit, as `cat` would read it.
TEST(ReadDescriptor, ReadsARegularFileFromItsPosition) {
  test::TempDir dir;
  test::WriteBytes(dir / "in.txt", std::string(600, 'a') + std::string(900, 'b'));
  const int file = test::OpenToReadBytes(dir / "in.txt");
  char before[600];
  std::size_t got = 0;
  ASSERT_FALSE(ReadSome(file, before, sizeof before, got));
  ASSERT_EQ(got, sizeof before);
  EXPECT_EQ(ReadDescriptor(file, kAnyFile).bytes.view(), std::string(900, 'b'));
  CloseDescriptor(file);
}

}  // namespace
}  // namespace habuki
