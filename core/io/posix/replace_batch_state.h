#pragma once

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "core/io/posix/file_descriptor.h"
#include "core/io/posix/interrupt_cleanup.h"
#include "core/io/replace_batch.h"

namespace habuki {

struct ReplaceTarget;

// A batch on a POSIX system: the folders of its targets held open, each result a temporary in
// its target's folder, named there.
struct ReplaceBatch::State {
  struct Pending {
    std::filesystem::path target;
    std::string name;       // the target's final name in its folder
    std::string temporary;  // the temporary's name in the same folder
    std::size_t folder = 0;
    int watch = -1;
    std::error_code error;
  };
  struct Folder {
    FileDescriptor descriptor;
    dev_t device = 0;
    ino_t inode = 0;
    bool readable = true;  // else its results are synced one by one, and it is not synced
    bool renamedInto = false;
  };

  State(FileOps ops, BatchLimits limits);
  ~State();
  std::error_code Add(const std::filesystem::path& path, const WriteContents& contents);
  bool Full() const;
  std::vector<Failure> Commit();

  std::error_code Fill(const ReplaceTarget& target, Pending& pending,
                       const WriteContents& contents);
  std::size_t KeepFolder(FileDescriptor folder);
  int CreateTemporary(Pending& pending, mode_t mode);
  void SyncData();
  void Rename(Pending& pending);
  void Discard(const Pending& pending) const;

  FileOps ops_;
  BatchLimits limits_;
  std::mt19937 random_;
  std::vector<Pending> pending_;
  std::vector<Folder> folders_;
  std::size_t bytes_ = 0;
  std::optional<InterruptCleanup> cleanup_;  // while temporaries exist
};

}  // namespace habuki
