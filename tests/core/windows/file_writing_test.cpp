#include "core/io/file_writing.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <ostream>

#include "tests/core/replacing_fails_at.h"
#include "tests/support/test_support.h"

namespace habuki {
namespace {

using test::EntriesIn;
using test::FailingStep;
using test::OpsFailingAt;
using test::ReplacingFailsAt;
using test::StepName;

// Replacing takes the new bytes and nothing else: no CR before an LF, no old tail left over.
TEST(WriteFileAtomically, CreatesAndReplacesWithExactlyTheNewBytes) {
  test::TempDir dir;
  const std::string first = "%\nN00001Q1P5\r\n%\r\n" + std::string(5000, 'x');
  const std::string second("%\nN2\r\n\0\x1A%\r\n", 13);
  ASSERT_FALSE(WriteFileAtomically(dir / "out.txt", first));
  EXPECT_EQ(test::ReadBytes(dir / "out.txt"), first);
  ASSERT_FALSE(WriteFileAtomically(dir / "out.txt", second));
  EXPECT_EQ(test::ReadBytes(dir / "out.txt"), second);
  EXPECT_EQ(EntriesIn(dir.path()), 1u);  // no temporary left behind
}

// One Windows call of a write made to fail, each with an error of its own so that the error
// returned shows which step it came from: the C runtime's write through errno, the others
// through GetLastError.

template <typename... Args>
std::function<bool(Args...)> FailsWith(DWORD error) {
  return [error](Args...) {
    ::SetLastError(error);
    return false;
  };
}

const FailingStep kCreate{"createNew",
                          [](FileOps& ops) {
                            ops.createNew = [](const wchar_t*) -> void* {
                              ::SetLastError(ERROR_ACCESS_DENIED);
                              return INVALID_HANDLE_VALUE;
                            };
                          },
                          make_error_code(std::errc::permission_denied)};
const FailingStep kWrite{"write",
                         [](FileOps& ops) {
                           ops.write = [](int, const void*, std::size_t) -> ssize_t {
                             errno = ENOSPC;
                             return -1;
                           };
                         },
                         make_error_code(std::errc::no_space_on_device)};
const FailingStep kFlush{
    "flushFileBuffers",
    [](FileOps& ops) { ops.flushFileBuffers = FailsWith<void*>(ERROR_WRITE_PROTECT); },
    make_error_code(std::errc::read_only_file_system)};
const FailingStep kReplace{"replaceFile",
                           [](FileOps& ops) {
                             ops.replaceFile =
                                 FailsWith<const wchar_t*, const wchar_t*>(ERROR_SHARING_VIOLATION);
                           },
                           make_error_code(std::errc::device_or_resource_busy)};
const FailingStep kMove{"moveFile",
                        [](FileOps& ops) {
                          ops.moveFile =
                              FailsWith<const wchar_t*, const wchar_t*>(ERROR_NOT_SAME_DEVICE);
                        },
                        make_error_code(std::errc::cross_device_link)};

// An existing file is replaced, never moved onto: moveFile has no part in it.
INSTANTIATE_TEST_SUITE_P(EachStep, ReplacingFailsAt,
                         testing::Values(kCreate, kWrite, kFlush, kReplace), StepName);

class CreatingFailsAt : public testing::TestWithParam<FailingStep> {};

TEST_P(CreatingFailsAt, LeavesNoFileBehind) {
  test::TempDir dir;
  EXPECT_EQ(WriteFileAtomically(dir / "out.txt", "new", OpsFailingAt(GetParam())),
            GetParam().error.default_error_condition());
  EXPECT_EQ(EntriesIn(dir.path()), 0u);
}

INSTANTIATE_TEST_SUITE_P(EachStep, CreatingFailsAt, testing::Values(kCreate, kWrite, kFlush, kMove),
                         StepName);

// NUL and the other devices are written directly, never replaced.
TEST(WriteFileAtomically, WritesToTheNullDeviceDirectly) {
  test::TempDir dir;
  const test::InFolder inDir(dir.path());
  EXPECT_FALSE(WriteFileAtomically("NUL", "x"));
  EXPECT_FALSE(WriteFileAtomically("nul", "x"));
  EXPECT_EQ(EntriesIn(dir.path()), 0u);
}

}  // namespace
}  // namespace habuki
