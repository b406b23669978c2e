#include "core/io/replace_batch.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace habuki {
namespace {

using test::EntriesIn;

std::error_code Add(ReplaceBatch& batch, const std::filesystem::path& target,
                    std::string_view bytes) {
  return batch.Add(target, ByteParts(&bytes, 1));
}

// Records the steps of a batch: data written and waited for, the old file's owner and
// permissions taken, names given, renames and folder syncs.
struct StepLog {
  std::vector<std::string> steps;

  FileOps Ops() {
    FileOps ops = SystemFileOps();
    ops.write = [this](int fd, const void* data, std::size_t size) {
      steps.push_back("write");
      return ::write(fd, data, size);
    };
    ops.fdatasync = [this](int fd) { return steps.push_back("wait"), ::fdatasync(fd); };
    ops.fchown = [this](int fd, uid_t owner, gid_t group) {
      return steps.push_back("owner"), ::fchown(fd, owner, group);
    };
    ops.fchmod = [this](int fd, mode_t mode) {
      return steps.push_back("mode"), ::fchmod(fd, mode);
    };
    const auto link = ops.linkUnnamed;
    ops.linkUnnamed = [this, link](int fd, int folder, const char* to) {
      const bool temporary = std::string_view(to).starts_with(".habuki-");
      steps.push_back("name " + std::string(temporary ? "temporary" : to));
      return link(fd, folder, to);
    };
    ops.renameat = [this](int fromFolder, const char* from, int toFolder, const char* to) {
      steps.push_back(std::string("rename ") + to);
      return ::renameat(fromFolder, from, toFolder, to);
    };
    ops.fsync = [this](int fd) { return steps.push_back("sync folder"), ::fsync(fd); };
    return ops;
  }
};

// Every result is written, then the batch waits for their data, then each takes its target's
// place, then each folder is synced once ("." for a bare name). The temporary of a file replaced
// is its writer's alone until its data is on disk: only then does it take the old file's owner
// and mode. A new file's unnamed temporary is given its final name; an old file's a temporary
// one, renamed over it.
TEST(ReplaceBatch, WritesThenWaitsThenPublishesThenSyncsEachFolder) {
  test::TempDir dir;
  const test::InFolder inDir(dir.path());
  std::filesystem::create_directory("sub");
  test::WriteBytes("a.txt", "old");
  StepLog log;
  ReplaceBatch batch(log.Ops());
  for (const char* target : {"a.txt", "sub/b.txt", "c.txt"}) {
    ASSERT_FALSE(Add(batch, target, std::string("new ") + target));
  }
  EXPECT_EQ(test::ReadBytes("a.txt"), "old");
  EXPECT_FALSE(std::filesystem::exists("c.txt"));
  EXPECT_TRUE(batch.Commit().empty());
  EXPECT_EQ(log.steps,
            (std::vector<std::string>{"write", "write", "write", "wait", "wait", "wait", "owner",
                                      "mode", "name temporary", "rename a.txt", "name b.txt",
                                      "name c.txt", "sync folder", "sync folder"}));
  for (const char* target : {"a.txt", "sub/b.txt", "c.txt"}) {
    EXPECT_EQ(test::ReadBytes(target), std::string("new ") + target);
  }
  EXPECT_EQ(EntriesIn(dir.path()), 3u);
  EXPECT_EQ(EntriesIn("sub"), 1u);
}

// One result that cannot replace its target leaves it as it was and the others land; a sync
// that fails keeps every result of its file system out. No temporary stays either way.
struct BatchFailure {
  const char* name;
  void (*breakIn)(FileOps& ops);
  std::vector<std::string> replaced;
};

std::ostream& operator<<(std::ostream& out, const BatchFailure& c) { return out << c.name; }

class ReplaceBatchFails : public testing::TestWithParam<BatchFailure> {};

TEST_P(ReplaceBatchFails, KeepsEveryTargetItDidNotReplace) {
  test::TempDir dir;
  const std::vector<std::string> names = {"a.txt", "b.txt", "c.txt"};
  for (const std::string& name : names) test::WriteBytes(dir / name, "old");
  FileOps ops = SystemFileOps();
  GetParam().breakIn(ops);
  ReplaceBatch batch(ops);
  for (const std::string& name : names) ASSERT_FALSE(Add(batch, dir / name, "new"));
  const std::vector<ReplaceBatch::Failure> failures = batch.Commit();
  EXPECT_EQ(failures.size(), names.size() - GetParam().replaced.size());
  for (const std::string& name : names) {
    const bool replaced =
        std::count(GetParam().replaced.begin(), GetParam().replaced.end(), name) > 0;
    EXPECT_EQ(test::ReadBytes(dir / name), replaced ? "new" : "old") << name;
  }
  EXPECT_EQ(EntriesIn(dir.path()), names.size());
}

INSTANTIATE_TEST_SUITE_P(EachStep, ReplaceBatchFails,
                         testing::Values(BatchFailure{"rename",
                                                      [](FileOps& ops) {
                                                        ops.renameat =
                                                            [](int fromFolder, const char* from,
                                                               int toFolder, const char* to) {
                                                              if (std::string(to) != "b.txt") {
                                                                return ::renameat(fromFolder, from,
                                                                                  toFolder, to);
                                                              }
                                                              errno = EXDEV;
                                                              return -1;
                                                            };
                                                      },
                                                      {"a.txt", "c.txt"}},
                                         BatchFailure{"sync",
                                                      [](FileOps& ops) {
                                                        ops.fdatasync = [](int) {
                                                          errno = EIO;
                                                          return -1;
                                                        };
                                                      },
                                                      {}}),
                         [](const auto& info) { return std::string(info.param.name); });

// A signal during a batch removes the temporaries of every result not yet committed.
TEST(ReplaceBatch, ASignalLeavesNoTemporaryOfTheBatch) {
  test::TempDir dir;
  test::WriteBytes(dir / "a.txt", "old");
  const auto interruptedBatch = [&] {
    FileOps ops = SystemFileOps();
    ReplaceBatch batch(ops);
    (void)Add(batch, dir / "a.txt", "new");
    (void)Add(batch, dir / "b.txt", "new");
    ops.write = [](int, const void*, std::size_t) { return ::raise(SIGTERM), -1; };
    ReplaceBatch inner(ops);
    (void)Add(inner, dir / "c.txt", "new");
  };
  EXPECT_EXIT(interruptedBatch(), testing::ExitedWithCode(128 + SIGTERM), "");
  EXPECT_EQ(test::ReadBytes(dir / "a.txt"), "old");
  EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

// Temporaries have no name until the commit: a run killed before it leaves nothing behind.
TEST(ReplaceBatch, AKilledRunLeavesNoTemporary) {
  test::TempDir dir;
  test::WriteBytes(dir / "a.txt", "old");
  const pid_t child = ::fork();
  if (child == 0) {
    ReplaceBatch batch;
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
      const std::string_view bytes = "new";
      if (batch.Add(dir / name, ByteParts(&bytes, 1))) ::_exit(1);
    }
    ::raise(SIGKILL);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(EntriesIn(dir.path()), 1u);
  EXPECT_EQ(test::ReadBytes(dir / "a.txt"), "old");
}

}  // namespace
}  // namespace habuki
