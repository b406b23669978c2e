#include "core/io/file_writing.h"

#include <acl/libacl.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/acl.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <functional>
#include <ostream>
#include <random>
#include <thread>

#include "tests/core/replacing_fails_at.h"
#include "tests/support/posix/other_user.h"
#include "tests/support/test_support.h"

namespace habuki {
namespace {

using test::EntriesIn;
using test::FailingStep;
using test::OpsFailingAt;
using test::ReplacingFailsAt;
using test::StepName;

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

const FailingStep kOpen{
    "open", [](FileOps& ops) { ops.openat = Fails<int, int, const char*, int, mode_t>(EACCES); },
    make_error_code(std::errc::permission_denied)};
const FailingStep kWrite{
    "write",
    [](FileOps& ops) { ops.write = Fails<ssize_t, int, const void*, std::size_t>(ENOSPC); },
    make_error_code(std::errc::no_space_on_device)};
// What the file being replaced has that its successor cannot get refuses the write.
const FailingStep kCopyAcl{"copyAcl",
                           [](FileOps& ops) { ops.copyAcl = Fails<int, int, int>(ENOTSUP); },
                           WriteRefusal::AclNotKept};
const FailingStep kCopyAttributes{
    "copyAttributes", [](FileOps& ops) { ops.copyAttributes = Fails<int, int, int>(EPERM); },
    WriteRefusal::AttributesNotKept};
const FailingStep kChmod{"fchmod",
                         [](FileOps& ops) { ops.fchmod = Fails<int, int, mode_t>(EPERM); },
                         make_error_code(std::errc::operation_not_permitted)};
const FailingStep kSync{"fdatasync", [](FileOps& ops) { ops.fdatasync = Fails<int, int>(EIO); },
                        make_error_code(std::errc::io_error)};
// close releases the descriptor even when it reports an error, as Linux does.
const FailingStep kClose{"close",
                         [](FileOps& ops) {
                           ops.close = [](int fd) {
                             ::close(fd);
                             errno = EDQUOT;
                             return -1;
                           };
                         },
                         make_error_code(std::errc(EDQUOT))};
const FailingStep kRename{
    "rename",
    [](FileOps& ops) { ops.renameat = Fails<int, int, const char*, int, const char*>(EXDEV); },
    make_error_code(std::errc::cross_device_link)};
// Naming the unnamed temporary: for a new file its final name, else a name to rename from.
const FailingStep kLink{
    "link", [](FileOps& ops) { ops.linkUnnamed = Fails<int, int, int, const char*>(EMLINK); },
    make_error_code(std::errc::too_many_links)};

INSTANTIATE_TEST_SUITE_P(EachStep, ReplacingFailsAt,
                         testing::Values(kOpen, kCopyAcl, kCopyAttributes, kChmod, kWrite, kSync,
                                         kLink, kRename),
                         StepName);

// A new file gets no permissions copied, so there is no fchmod to fail.
class CreatingFailsAt : public testing::TestWithParam<FailingStep> {};

TEST_P(CreatingFailsAt, LeavesNoFileBehind) {
  test::TempDir dir;
  EXPECT_EQ(WriteFileAtomically(dir / "out.txt", "new", OpsFailingAt(GetParam())),
            GetParam().error.default_error_condition());
  EXPECT_EQ(EntriesIn(dir.path()), 0u);
}

INSTANTIATE_TEST_SUITE_P(EachStep, CreatingFailsAt, testing::Values(kOpen, kWrite, kSync, kLink),
                         StepName);

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
            GetParam().error.default_error_condition());
  EXPECT_TRUE(std::filesystem::is_fifo(dir / "pipe"));
  EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

INSTANTIATE_TEST_SUITE_P(EachStep, WritingDirectlyFailsAt, testing::Values(kOpen, kWrite, kClose),
                         StepName);

// Writes may be cut short or interrupted by a signal; neither may lose a byte.
TEST(WriteFileAtomically, CompletesShortAndInterruptedWrites) {
  test::TempDir dir;
  FileOps ops = SystemFileOps();
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

// A result and its line break reach a pipe in one write while they fit its buffer, so that a
// reader that stops after the first line cannot make the second part fail.
TEST(WriteToDescriptor, SmallPartsGoInOneWrite) {
  test::TempDir dir;
  FileOps ops = SystemFileOps();
  std::vector<std::size_t> sizes;
  ops.write = [&sizes](int fd, const void* data, std::size_t size) {
    sizes.push_back(size);
    return ::write(fd, data, size);
  };
  const int fd = ::open((dir / "out.txt").c_str(), O_WRONLY | O_CREAT, 0644);
  const std::string large(100000, 'x');
  const std::string_view small[] = {"result", "\r\n"};
  const std::string_view big[] = {large, "\r\n"};
  EXPECT_FALSE(WriteToDescriptor(fd, small, ops));
  EXPECT_FALSE(WriteToDescriptor(fd, big, ops));
  ::close(fd);
  EXPECT_EQ(sizes, (std::vector<std::size_t>{8, 100000, 2}));
  EXPECT_EQ(test::ReadBytes(dir / "out.txt"), "result\r\n" + large + "\r\n");
}

// Replacing keeps the owner (only root can give a file away) and, where the owner cannot be
// kept, drops setuid and setgid with it.
TEST(WriteFileAtomically, KeepsTheOwnerOrDropsSetuidAndSetgid) {
  test::TempDir dir;
  test::WriteBytes(dir / "theirs.txt", "old");
  std::filesystem::permissions(dir / "theirs.txt", std::filesystem::perms(0600));
  if (::geteuid() == 0) {
    test::GiveToOtherUser(dir / "theirs.txt");
    ASSERT_FALSE(WriteFileAtomically(dir / "theirs.txt", "new"));
    struct stat info {};
    ASSERT_EQ(::stat((dir / "theirs.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, test::kOtherUser);
    EXPECT_EQ(info.st_gid, test::kOtherGroup);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
  }
  test::WriteBytes(dir / "setuid", "old");
  std::filesystem::permissions(dir / "setuid", std::filesystem::perms(06755));
  FileOps ops = SystemFileOps();
  ops.fchown = Fails<int, int, uid_t, gid_t>(EPERM);
  ASSERT_FALSE(WriteFileAtomically(dir / "setuid", "new", ops));
  EXPECT_EQ(std::filesystem::status(dir / "setuid").permissions(), std::filesystem::perms(0755));
}

// A rename does not ask the file it replaces; the writer must.
TEST(WriteFileAtomically, RefusesATargetTheCallerMayNotWrite) {
  test::TempDir dir;
  test::WriteBytes(dir / "locked.txt", "old");
  std::filesystem::permissions(dir / "locked.txt", std::filesystem::perms(0444));
  if (::geteuid() == 0) {
    test::GiveToOtherUser(dir.path());
    test::GiveToOtherUser(dir / "locked.txt");
  }
  const int error =
      test::RunAsOtherUser([&] { return WriteFileAtomically(dir / "locked.txt", "new").value(); });
  EXPECT_EQ(error, EACCES);
  EXPECT_EQ(test::ReadBytes(dir / "locked.txt"), "old");
  EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

TEST(WriteFileAtomically, LinksAreFollowedOnlyToFilesThatExist) {
  test::TempDir dir;
  std::filesystem::create_symlink(dir / "missing.txt", dir / "dangling.txt");
  EXPECT_EQ(WriteFileAtomically(dir / "dangling.txt", "new"), WriteRefusal::DanglingLink);
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "dangling.txt"));
  EXPECT_FALSE(std::filesystem::exists(dir / "missing.txt"));

  // Another name of the replaced file keeps the old contents, as a snapshot would.
  test::WriteBytes(dir / "file.txt", "old");
  std::filesystem::create_hard_link(dir / "file.txt", dir / "snapshot.txt");
  ASSERT_FALSE(WriteFileAtomically(dir / "file.txt", "new"));
  EXPECT_EQ(test::ReadBytes(dir / "file.txt"), "new");
  EXPECT_EQ(test::ReadBytes(dir / "snapshot.txt"), "old");
}

// A folder the caller may write but not read (a drop box) takes results too.
TEST(WriteFileAtomically, WritesIntoAFolderTheCallerMayNotRead) {
  test::TempDir dir;
  std::filesystem::permissions(dir.path(), std::filesystem::perms(0755));
  std::filesystem::create_directory(dir / "box");
  std::filesystem::permissions(dir / "box", std::filesystem::perms(0333));
  const int error = test::RunAsOtherUser(
      [&] { return WriteFileAtomically(dir / "box" / "out.txt", "new").value(); });
  std::filesystem::permissions(dir / "box", std::filesystem::perms(0700));
  EXPECT_EQ(error, 0);
  EXPECT_EQ(test::ReadBytes(dir / "box" / "out.txt"), "new");
  EXPECT_EQ(EntriesIn(dir / "box"), 1u);
}

// The temporary's name must fit wherever the target's does: 255 bytes is the usual limit.
TEST(WriteFileAtomically, WritesUnderTheLongestNames) {
  test::TempDir dir;
  std::string japanese;
  for (int i = 0; i < 83; ++i) japanese += "ハ";  // 249 bytes of UTF-8
  for (const std::string& name : {std::string(251, 'x') + ".txt", japanese + ".txt"}) {
    ASSERT_FALSE(WriteFileAtomically(dir.path() / name, "first")) << name.size();
    ASSERT_FALSE(WriteFileAtomically(dir.path() / name, "second")) << name.size();
    EXPECT_EQ(test::ReadBytes(dir.path() / name), "second");
  }
  EXPECT_EQ(EntriesIn(dir.path()), 2u);
}

// A signal that would end the program, in the middle of a write, removes the temporary and ends
// it with 128 + the signal, as a shell reports a program the signal ended. One the caller
// ignores stays ignored: the write goes on.
struct SignalCase {
  int signal;
  bool ignoredBefore;
};

std::ostream& operator<<(std::ostream& out, const SignalCase& c) {
  return out << sigabbrev_np(c.signal) << (c.ignoredBefore ? " ignored" : "");
}

class InterruptedWrite : public testing::TestWithParam<SignalCase> {};

TEST_P(InterruptedWrite, LeavesTheOldFileAndNoTemporary) {
  test::TempDir dir;
  test::WriteBytes(dir / "out.txt", "old");
  const SignalCase c = GetParam();
  FileOps ops = SystemFileOps();
  ops.write = [signal = c.signal](int fd, const void* data, std::size_t size) {
    const ssize_t written = ::write(fd, data, (size + 1) / 2);
    ::raise(signal);
    return written;
  };
  const auto write = [&] {
    if (c.ignoredBefore) std::signal(c.signal, SIG_IGN);
    std::exit(WriteFileAtomically(dir / "out.txt", std::string(1 << 20, 'x'), ops) ? 1 : 0);
  };
  EXPECT_EXIT(write(), testing::ExitedWithCode(c.ignoredBefore ? 0 : 128 + c.signal), "");
  EXPECT_EQ(test::ReadBytes(dir / "out.txt"), c.ignoredBefore ? std::string(1 << 20, 'x') : "old");
  EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

INSTANTIATE_TEST_SUITE_P(EachSignal, InterruptedWrite,
                         testing::Values(SignalCase{SIGINT, false}, SignalCase{SIGTERM, false},
                                         SignalCase{SIGHUP, false}, SignalCase{SIGQUIT, false},
                                         SignalCase{SIGUSR1, false}, SignalCase{SIGUSR2, false},
                                         SignalCase{SIGALRM, false}, SignalCase{SIGXCPU, false},
                                         SignalCase{SIGVTALRM, false}, SignalCase{SIGPROF, false},
                                         SignalCase{SIGTERM, true}, SignalCase{SIGUSR1, true}));

// Nobody but its owner may open the temporary before it has the old file's owner, and it is
// never more open than the file it replaces.
TEST(WriteFileAtomically, TheTemporaryStaysPrivateUntilItHasTheOwner) {
  test::TempDir dir;
  test::WriteBytes(dir / "out.txt", "old");
  std::filesystem::permissions(dir / "out.txt", std::filesystem::perms(0640));
  std::vector<mode_t> modes;  // as the owner is set, then as the mode is
  const auto note = [&modes](int fd) {
    struct stat info {};
    ::fstat(fd, &info);
    modes.push_back(info.st_mode & 07777);
  };
  FileOps ops = SystemFileOps();
  ops.fchown = [&](int fd, uid_t owner, gid_t group) {
    return note(fd), ::fchown(fd, owner, group);
  };
  ops.fchmod = [&](int fd, mode_t mode) { return note(fd), ::fchmod(fd, mode); };
  ASSERT_FALSE(WriteFileAtomically(dir / "out.txt", "new", ops));
  ASSERT_EQ(modes.size(), 2u);
  EXPECT_EQ(modes[0] & ~mode_t{0600}, 0u) << std::oct << modes[0];
  EXPECT_EQ(modes[1] & ~mode_t{0640}, 0u) << std::oct << modes[1];
  EXPECT_EQ(std::filesystem::status(dir / "out.txt").permissions(), std::filesystem::perms(0640));
}

std::string AclText(const std::filesystem::path& file) {
  const acl_t acl = ::acl_get_file(file.c_str(), ACL_TYPE_ACCESS);
  char* text = ::acl_to_any_text(acl, nullptr, ',', 0);
  std::string result = text != nullptr ? text : "";
  ::acl_free(text);
  ::acl_free(acl);
  return result;
}

// A user let in by an ACL keeps their access and the file's group gains none (the ACL's mask is
// not the group's permission); extended attributes stay, as cp keeps them.
TEST(WriteFileAtomically, KeepsTheAclAndExtendedAttributes) {
  test::TempDir dir;
  const std::filesystem::path file = dir / "out.txt";
  test::WriteBytes(file, "old");
  std::filesystem::permissions(file, std::filesystem::perms(0600));
  const acl_t acl = ::acl_from_text("u::rw-,u:nobody:rw-,g::---,m::rw-,o::---");
  const int set = ::acl_set_file(file.c_str(), ACL_TYPE_ACCESS, acl);
  ::acl_free(acl);
  if (set != 0 && errno == ENOTSUP) GTEST_SKIP() << "the temporary folder's file system has no ACL";
  ASSERT_EQ(set, 0) << std::strerror(errno);
  if (::setxattr(file.c_str(), "user.habuki", "kept", 4, 0) != 0 && errno == ENOTSUP) {
    GTEST_SKIP() << "the temporary folder's file system has no extended attributes";
  }
  const std::string before = AclText(file);
  ASSERT_NE(before.find("user:nobody:rw-"), std::string::npos) << before;

  ASSERT_FALSE(WriteFileAtomically(file, "new"));
  EXPECT_EQ(test::ReadBytes(file), "new");
  EXPECT_EQ(AclText(file), before);
  char value[16] = {};
  EXPECT_EQ(::getxattr(file.c_str(), "user.habuki", value, sizeof value), 4);
  EXPECT_STREQ(value, "kept");
}

// A user who may write a shared folder swaps the name for a link to a file they may not write,
// back and forth, while it is written: the write may fail, or follow the link as open() would
// and be refused there, but never reach that other file.
TEST(WriteFileAtomically, ANameSwappedForALinkNeverLeadsToAnotherFile) {
  test::TempDir dir;
  std::filesystem::permissions(dir.path(), std::filesystem::perms(0755));
  const std::filesystem::path shared = dir / "shared", target = shared / "target.txt",
                              link = shared / "link", victim = shared / "victim.txt";
  std::filesystem::create_directory(shared);
  test::WriteBytes(target, "old");
  test::WriteBytes(victim, "victim");
  std::filesystem::permissions(victim, std::filesystem::perms(0444));
  if (::geteuid() == 0) {
    test::GiveToOtherUser(shared);
    test::GiveToOtherUser(target);
  }
  std::atomic<bool> done{false};
  const auto swap = [&] {
    std::minstd_rand random;
    for (unsigned turn = 0; !done; ++turn) {
      ::renameat2(AT_FDCWD, target.c_str(), AT_FDCWD, link.c_str(), RENAME_EXCHANGE);
      // Unevenly, so that the swaps do not fall into step with the writer's attempts.
      for (unsigned wait = random() % 32768; wait > 0; --wait) {
        std::atomic_signal_fence(std::memory_order_seq_cst);
      }
      if (turn % 64 != 0) continue;
      // A write may replace whichever of the two names it reached: one of them is made the
      // link again, the other one the writer makes anew.
      const bool targetIsLink = std::filesystem::is_symlink(target);
      const bool linkIsLink = std::filesystem::is_symlink(link);
      if (targetIsLink && linkIsLink) ::unlink(target.c_str());
      if (!targetIsLink && !linkIsLink) {
        ::unlink(link.c_str());
        ::symlink(victim.c_str(), link.c_str());
      }
    }
  };
  FileOps ops = SystemFileOps();  // syncing has no part in the race and only slows the attempts
  ops.fdatasync = ops.fsync = [](int) { return 0; };
  // The swapper starts in the writer's process: a thread running while the tests fork could hold
  // a lock of the allocator that the child would then wait on for ever.
  const int written = test::RunAsOtherUser([&] {
    std::thread swapper(swap);
    int succeeded = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (std::chrono::steady_clock::now() < end && test::ReadBytes(victim) == "victim") {
      succeeded += WriteFileAtomically(target, "new", ops) ? 0 : 1;
    }
    done = true;
    swapper.join();
    return std::min(succeeded, 100);
  });
  EXPECT_GT(written, 0);
  EXPECT_EQ(test::ReadBytes(victim), "victim");
  EXPECT_EQ(std::filesystem::status(victim).permissions(), std::filesystem::perms(0444));
}

// In a folder with the sticky bit that others may write, another user's file or pipe is not
// written to, as the kernel's protected_regular and protected_fifos rules have it: whoever made
// it first would read the result. The user's own file there, and one of the folder's owner, are.
TEST(WriteFileAtomically, AnotherUsersFileInASharedFolderIsRefused) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs another user: run as root";
  test::TempDir dir;
  const std::filesystem::path shared = dir / "shared";
  std::filesystem::create_directory(shared);
  std::filesystem::permissions(shared, std::filesystem::perms(01777));
  test::WriteBytes(shared / "theirs.txt", "theirs");
  std::filesystem::permissions(shared / "theirs.txt", std::filesystem::perms(0666));
  test::GiveToOtherUser(shared / "theirs.txt");
  ASSERT_EQ(::mkfifo((shared / "pipe").c_str(), 0666), 0);
  test::GiveToOtherUser(shared / "pipe");
  test::WriteBytes(shared / "mine.txt", "old");
  for (const char* name : {"theirs.txt", "pipe"}) {
    EXPECT_EQ(WriteFileAtomically(shared / name, "secret"), WriteRefusal::OtherUsersFile) << name;
  }
  EXPECT_EQ(test::ReadBytes(shared / "theirs.txt"), "theirs");
  EXPECT_FALSE(WriteFileAtomically(shared / "mine.txt", "new"));
  EXPECT_EQ(EntriesIn(shared), 3u);
  test::GiveToOtherUser(shared);  // the folder's owner may have it written
  EXPECT_FALSE(WriteFileAtomically(shared / "theirs.txt", "new"));
  EXPECT_EQ(test::ReadBytes(shared / "theirs.txt"), "new");
}

// An append-only folder (chattr +a) takes a new file, as cp makes one, but a file in it cannot be
// replaced: that is refused before anything is made, rather than leaving a temporary there that
// nobody can remove.
TEST(WriteFileAtomically, AnAppendOnlyFolderTakesNewFilesOnly) {
  test::TempDir dir;
  test::WriteBytes(dir / "old.txt", "old");
  const int folder = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY);
  int flags = 0;
  ASSERT_EQ(::ioctl(folder, FS_IOC_GETFLAGS, &flags), 0);
  const int appendOnly = flags | FS_APPEND_FL;
  if (::ioctl(folder, FS_IOC_SETFLAGS, &appendOnly) != 0) {
    ::close(folder);
    GTEST_SKIP() << "cannot make a folder append-only here: " << std::strerror(errno);
  }
  const std::error_code created = WriteFileAtomically(dir / "new.txt", "new");
  const std::error_code replaced = WriteFileAtomically(dir / "old.txt", "new");
  ::ioctl(folder, FS_IOC_SETFLAGS, &flags);
  ::close(folder);
  EXPECT_FALSE(created) << created.message();
  EXPECT_EQ(test::ReadBytes(dir / "new.txt"), "new");
  EXPECT_EQ(replaced, WriteRefusal::AppendOnlyFolder);
  EXPECT_EQ(test::ReadBytes(dir / "old.txt"), "old");
  EXPECT_EQ(EntriesIn(dir.path()), 2u);
}

}  // namespace
}  // namespace habuki
