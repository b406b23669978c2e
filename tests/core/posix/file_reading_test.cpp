#include "core/io/file_reading.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/support/test_support.h"

namespace habuki {
namespace {

constexpr ReadLimit kAnyFile{1000, false};
constexpr ReadLimit kRegularOnly{1000, true};

// A file over the limit is refused by its size before any of it is read; a stream, whose size
// nothing tells, as soon as one byte more than the limit has come.
TEST(ReadFile, RefusesWhatIsLargerThanTheLimit) {
  test::TempDir dir;
  test::WriteBytes(dir / "limit.txt", std::string(1000, 'N'));
  EXPECT_EQ(ReadFile(dir / "limit.txt", kAnyFile).bytes.size, 1000u);

  test::WriteBytes(dir / "sparse.txt", "");
  std::filesystem::resize_file(dir / "sparse.txt", std::uint64_t{100} << 30);  // 100 GiB
  const FileContents sparse = ReadFile(dir / "sparse.txt", kAnyFile);
  EXPECT_EQ(sparse.error, std::errc::file_too_large);
  EXPECT_EQ(sparse.fileSize, std::uint64_t{100} << 30);

  for (const ReadLimit limit : {ReadLimit{1000, false}, ReadLimit{1 << 20, false}}) {
    const FileContents endless = ReadFile("/dev/zero", limit);
    EXPECT_EQ(endless.error, std::errc::file_too_large);
    EXPECT_EQ(endless.fileSize, std::nullopt);
    EXPECT_EQ(endless.bytes.size, 0u);
  }
}

// Where only regular files are read, a named pipe without a writer is refused at once instead of
// waiting for ever, and so is a device.
TEST(ReadFile, RegularFilesOnlyRefusesPipesAndDevicesWithoutWaiting) {
  test::TempDir dir;
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
  EXPECT_EQ(ReadFile(dir / "pipe", kRegularOnly).error, std::errc::invalid_argument);
  EXPECT_EQ(ReadFile("/dev/zero", kRegularOnly).error, std::errc::invalid_argument);
  test::WriteBytes(dir / "big.txt", std::string(1001, ' '));
  EXPECT_EQ(ReadFile(dir / "big.txt", kRegularOnly).error, std::errc::file_too_large);
}

TEST(ReadDescriptor, SaysWhyAClosedOrUnreadableDescriptorCannotBeRead) {
  test::TempDir dir;
  EXPECT_EQ(ReadDescriptor(-1, kAnyFile).error, std::errc::bad_file_descriptor);
  const int folder = ::open(dir.path().c_str(), O_RDONLY);
  EXPECT_EQ(ReadDescriptor(folder, kAnyFile).error, std::errc::is_a_directory);
  ::close(folder);
}

}  // namespace
}  // namespace habuki
