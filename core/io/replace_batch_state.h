#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "core/io/replace_batch.h"

// What a result and its target are, and what a batch holds for them beyond its results, is each
// system's own (SystemBatch), as is the InterruptCleanup that watches the temporaries.
#ifdef _WIN32
#include "core/io/windows/replace_batch_system.h"
#else
#include "core/io/posix/replace_batch_system.h"
#endif

namespace habuki {

// A batch: the results added since the last commit, each recorded before its temporary exists,
// its temporary made under a fresh name and watched for as long as it exists. What every system
// does is in replace_batch.cpp; the system calls it is carried out with are in posix/ or
// windows/replace_batch.cpp.
struct ReplaceBatch::State {
  using Pending = SystemBatch::Pending;
  using Target = SystemBatch::Target;
  using Handle = SystemBatch::Handle;
  // Makes the temporary under the name its result holds, and gives what the system gives for it.
  using Create = std::function<Handle()>;
  // One attempt at a temporary: what `create` gave, or why it failed; `taken` when another file
  // has the name.
  struct Made {
    Handle handle;
    std::error_code error;
    bool taken = false;
    int watch = -1;  // what to hand InterruptCleanup::Forget once the temporary is gone or placed
  };

  // The same on every system.
  State(FileOps ops, BatchLimits limits);
  ~State();
  std::error_code Add(const std::filesystem::path& path, const WriteContents& contents);
  bool Full() const;
  std::vector<Failure> Commit();
  Made CreateNamed(Pending& pending, const Create& create);
  void Discard(Pending& pending);

  // The system's own.
  // Finds what `path` names, asking whether the caller may write it.
  std::error_code Find(const std::filesystem::path& path, Target& target) const;
  // A device or a pipe is written through at once, never replaced.
  static bool IsWrittenThrough(const Target& target);
  std::error_code WriteThrough(Target& target, const WriteContents& contents) const;
  // Keeps what was found of the target with its result.
  void Hold(Pending& pending, Target target);
  // Whether what the system holds for the batch is as much as it should hold before Commit.
  bool HoldsTooMuch() const;
  // Makes the result's temporary, under a name by CreateNamed where it needs one, and writes
  // it, counting what it wrote in bytes_.
  std::error_code WriteTemporary(Pending& pending, const WriteContents& contents);
  // One attempt of CreateNamed: the temporary's name is `name`, and `create` makes it, watched.
  void NameTemporary(Pending& pending, std::string name) const;
  Made CreateWatched(Pending& pending, const Create& create) const;
  // Commit's steps: waits for every temporary's data, puts one in its target's place (each sets
  // the result's error where it fails), and once every result is placed or removed, makes the
  // new names last.
  void WaitForData();
  void Publish(Pending& pending);
  void SyncFolders();
  // Removes a temporary that has a name.
  void Remove(const Pending& pending) const;

  FileOps ops_;
  BatchLimits limits_;
  std::mt19937 random_;
  SystemBatch system_;  // what the system holds beyond the results
  std::vector<Pending> pending_;
  std::size_t bytes_ = 0;
  std::optional<InterruptCleanup> cleanup_;  // while temporaries exist
};

}  // namespace habuki
