#include "core/io/windows/system_path.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "core/io/file_reading.h"
#include "core/io/file_writing.h"
#include "core/io/windows/system_error.h"
#include "tests/support/test_support.h"

namespace habuki {
namespace {

// A folder inside `dir` whose path is longer than `length` characters.
std::filesystem::path LongFolderIn(const std::filesystem::path& dir, std::size_t length) {
  std::filesystem::path folder = dir;
  while (folder.native().size() <= length) folder /= std::wstring(60, L'd');
  std::filesystem::create_directories(SystemPath(folder));
  return folder;
}

// Short paths pass as they are; long ones become extended paths made of the full path, which
// Windows takes literally: no "..", no "/", and a share's own prefix.
TEST(SystemPath, ExtendsOnlyLongPathsAndNormalizesThem) {
  const std::wstring name(300, L'n');
  const std::wstring full = std::filesystem::current_path().native();
  const struct {
    std::wstring given, system;
  } cases[] = {
      {L"a/b.txt", L"a/b.txt"},
      {L"sub/../" + name, L"\\\\?\\" + full + L"\\" + name},
      {L"C:\\x\\.\\" + name, L"\\\\?\\C:\\x\\" + name},
      {L"\\\\server\\share\\" + name, L"\\\\?\\UNC\\server\\share\\" + name},
      {L"\\\\?\\C:\\" + name, L"\\\\?\\C:\\" + name},
  };
  for (const auto& [given, system] : cases) {
    EXPECT_EQ(SystemPath(given), system) << std::filesystem::path(given).string();
  }
}

// A backup deep in a folder tree is read and its result written beside it, past MAX_PATH.
TEST(SystemPath, FilesPastMaxPathAreReadAndReplaced) {
  test::TempDir dir;
  const std::filesystem::path folder = LongFolderIn(dir.path(), 300);
  for (const std::string& bytes : {std::string("first"), std::string("second")}) {
    const std::error_code written = WriteFileAtomically(folder / "out.txt", bytes);
    ASSERT_FALSE(written) << written.message();
    const FileContents read = ReadFile(folder / "out.txt", {1000, true});
    ASSERT_FALSE(read.error) << read.error.message();
    EXPECT_EQ(read.bytes.view(), bytes);
  }
}

// A file another program holds (as Excel holds a workbook it shows) is a sharing violation in
// the system's own words, for reading and for writing; callers still see the usual condition.
TEST(WindowsError, ALockedFileIsTheSharingViolationItIs) {
  test::TempDir dir;
  test::WriteBytes(dir / "held.txt", "held");
  const HANDLE held = ::CreateFileW((dir / "held.txt").c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const std::error_code read = ReadFile(dir / "held.txt", {1000, true}).error;
  const std::error_code written = WriteFileAtomically(dir / "held.txt", "new");
  ::CloseHandle(held);
  const std::string reason = WindowsError(ERROR_SHARING_VIOLATION).message();
  EXPECT_NE(reason, std::make_error_code(std::errc::device_or_resource_busy).message());
  EXPECT_FALSE(reason.ends_with('\n') || reason.ends_with('.')) << reason;
  for (const std::error_code& error : {read, written}) {
    EXPECT_EQ(error, std::errc::device_or_resource_busy);
    EXPECT_EQ(error.message(), reason);
  }
  EXPECT_EQ(test::ReadBytes(dir / "held.txt"), "held");
}

}  // namespace
}  // namespace habuki
