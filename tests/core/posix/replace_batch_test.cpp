#include "core/io/replace_batch.h"

#include <gtest/gtest.h>
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

// Records the steps of a batch that reach the disk: data written, file systems synced, renames
// and folder syncs.
struct StepLog {
  std::vector<std::string> steps;

  FileOps Ops() {
    FileOps ops = SystemFileOps();
    ops.write = [this](int fd, const void* data, std::size_t size) {
      steps.push_back("write");
      return ::write(fd, data, size);
    };
    ops.syncfs = [this](int fd) { return steps.push_back("sync files"), ::syncfs(fd); };
    ops.renameat = [this](int fromFolder, const char* from, int toFolder, const char* to) {
      steps.push_back(std::string("rename ") + to);
      return ::renameat(fromFolder, from, toFolder, to);
    };
    ops.fsync = [this](int fd) { return steps.push_back("sync folder"), ::fsync(fd); };
    return ops;
  }
};

// Every result is written, then one sync puts them all on disk, then they replace their
// targets, then each folder is synced once: "." for a bare name.
TEST(ReplaceBatch, SyncsOnceThenRenamesThenSyncsEachFolder) {
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
  EXPECT_EQ(log.steps, (std::vector<std::string>{"write", "write", "write", "sync files",
                                                 "rename a.txt", "rename b.txt", "rename c.txt",
                                                 "sync folder", "sync folder"}));
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
                                                        ops.syncfs = [](int) {
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

}  // namespace
}  // namespace habuki
