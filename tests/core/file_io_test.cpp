#include "file_io.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <functional>
#include <ostream>

#include "test_support.h"

namespace habuki {
namespace {

std::size_t EntriesIn(const std::filesystem::path& dir) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir),
                                                std::filesystem::directory_iterator()));
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
  EXPECT_FALSE(WriteFileAtomically("/dev/null", "x"));  // written directly
  EXPECT_EQ(WriteFileAtomically("/dev/full", "x"), std::errc::no_space_on_device);
  EXPECT_EQ(EntriesIn(dir.path()), 0u);
}

// A call that fails with `error` and does nothing else.
template <typename Result, typename... Args>
std::function<Result(Args...)> Fails(int error) {
  return [error](Args...) -> Result {
    errno = error;
    return -1;
  };
}

// One step of a write made to fail, each with an error of its own so that the error returned
// shows which step it came from.
struct FailingStep {
  const char* name;
  void (*breakIn)(FileOps& ops);
  std::errc error;
};

std::ostream& operator<<(std::ostream& out, const FailingStep& step) { return out << step.name; }

const FailingStep kOpen{
    "open", [](FileOps& ops) { ops.open = Fails<int, const char*, int, mode_t>(EACCES); },
    std::errc::permission_denied};
const FailingStep kWrite{
    "write",
    [](FileOps& ops) { ops.write = Fails<ssize_t, int, const void*, std::size_t>(ENOSPC); },
    std::errc::no_space_on_device};
const FailingStep kChmod{"fchmod",
                         [](FileOps& ops) { ops.fchmod = Fails<int, int, mode_t>(EPERM); },
                         std::errc::operation_not_permitted};
const FailingStep kSync{"fsync", [](FileOps& ops) { ops.fsync = Fails<int, int>(EIO); },
                        std::errc::io_error};
// close releases the descriptor even when it reports an error, as Linux does.
const FailingStep kClose{"close",
                         [](FileOps& ops) {
                           ops.close = [](int fd) {
                             ::close(fd);
                             errno = EDQUOT;
                             return -1;
                           };
                         },
                         std::errc(EDQUOT)};
const FailingStep kRename{
    "rename", [](FileOps& ops) { ops.rename = Fails<int, const char*, const char*>(EXDEV); },
    std::errc::cross_device_link};

FileOps OpsFailingAt(const FailingStep& step) {
  FileOps ops = PosixFileOps();
  step.breakIn(ops);
  return ops;
}

std::string StepName(const testing::TestParamInfo<FailingStep>& info) { return info.param.name; }

class ReplacingFailsAt : public testing::TestWithParam<FailingStep> {};

TEST_P(ReplacingFailsAt, KeepsTheOldFileAndLeavesNoTemporary) {
  test::TempDir dir;
  test::WriteBytes(dir / "out.txt", "old");
  EXPECT_EQ(WriteFileAtomically(dir / "out.txt", "new", OpsFailingAt(GetParam())),
            GetParam().error);
  EXPECT_EQ(test::ReadBytes(dir / "out.txt"), "old");
  EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

INSTANTIATE_TEST_SUITE_P(EachStep, ReplacingFailsAt,
                         testing::Values(kOpen, kChmod, kWrite, kSync, kClose, kRename), StepName);

// A new file gets no permissions copied, so there is no fchmod to fail.
class CreatingFailsAt : public testing::TestWithParam<FailingStep> {};

TEST_P(CreatingFailsAt, LeavesNoFileBehind) {
  test::TempDir dir;
  EXPECT_EQ(WriteFileAtomically(dir / "out.txt", "new", OpsFailingAt(GetParam())),
            GetParam().error);
  EXPECT_EQ(EntriesIn(dir.path()), 0u);
}

INSTANTIATE_TEST_SUITE_P(EachStep, CreatingFailsAt,
                         testing::Values(kOpen, kWrite, kSync, kClose, kRename), StepName);

// A named pipe stands for the targets that are written directly; the test holds its reading end
// open, so that opening it for writing does not wait.
class Pipe {
 public:
  explicit Pipe(const std::filesystem::path& path) : path_(path) {
    EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0);
    reader_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;
  ~Pipe() { ::close(reader_); }

  std::string Read() const {
    char buffer[64];
    const ssize_t got = ::read(reader_, buffer, sizeof buffer);
    return got > 0 ? std::string(buffer, static_cast<std::size_t>(got)) : "";
  }

 private:
  std::filesystem::path path_;
  int reader_ = -1;
};

TEST(WriteFileAtomically, WritesIntoAPipeDirectly) {
  test::TempDir dir;
  const Pipe pipe(dir / "pipe");
  ASSERT_FALSE(WriteFileAtomically(dir / "pipe", "result"));
  EXPECT_EQ(pipe.Read(), "result");
  EXPECT_TRUE(std::filesystem::is_fifo(dir / "pipe"));
  EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

class WritingDirectlyFailsAt : public testing::TestWithParam<FailingStep> {};

TEST_P(WritingDirectlyFailsAt, ReportsItAndLeavesThePipe) {
  test::TempDir dir;
  const Pipe pipe(dir / "pipe");
  EXPECT_EQ(WriteFileAtomically(dir / "pipe", "result", OpsFailingAt(GetParam())),
            GetParam().error);
  EXPECT_TRUE(std::filesystem::is_fifo(dir / "pipe"));
  EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

INSTANTIATE_TEST_SUITE_P(EachStep, WritingDirectlyFailsAt, testing::Values(kOpen, kWrite, kClose),
                         StepName);

// Writes may be cut short or interrupted by a signal; neither may lose a byte.
TEST(WriteFileAtomically, CompletesShortAndInterruptedWrites) {
  test::TempDir dir;
  FileOps ops = PosixFileOps();
  int calls = 0;
  ops.write = [&calls](int fd, const void* data, std::size_t) -> ssize_t {
    if (++calls % 2 == 1) {
      errno = EINTR;
      return -1;
    }
    return ::write(fd, data, 1);
  };
  ASSERT_FALSE(WriteFileAtomically(dir / "out.txt", "whole", ops));
  EXPECT_EQ(test::ReadBytes(dir / "out.txt"), "whole");
  EXPECT_EQ(calls, 10);
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
