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
#include "core/io/posix/replace_target.h"
#include "core/io/replace_batch.h"

namespace habuki {

// A batch on a POSIX system: the folders of its targets held open, each result a temporary in
// its target's folder, unnamed (O_TMPFILE) where the system allows, held open until it is named
// and in its place.
struct ReplaceBatch::State {
  struct Pending {
    std::filesystem::path target;
    ReplaceTarget found;    // the target's folder is held in `folders_`; its file, if any, here
    FileDescriptor file;    // the temporary
    bool unnamed = false;   // the temporary has no name yet
    std::string temporary;  // its name in the folder, once it has one
    std::size_t folder = 0;
    int watch = -1;
    std::error_code error;
  };
  struct Folder {
    FileDescriptor descriptor;
    dev_t device = 0;
    ino_t inode = 0;
    bool readable = true;  // else it is not synced
    bool renamedInto = false;
  };

  State(FileOps ops, BatchLimits limits);
  ~State();
  std::error_code Add(const std::filesystem::path& path, const WriteContents& contents);
  bool Full() const;
  std::vector<Failure> Commit();

  std::error_code Fill(Pending& pending, const WriteContents& contents);
  std::size_t KeepFolder(FileDescriptor folder);
  int CreateTemporary(Pending& pending, mode_t mode);
  int CreateNamed(Pending& pending, const std::function<int()>& create);
  void Publish(Pending& pending);
  void Discard(Pending& pending);

  FileOps ops_;
  BatchLimits limits_;
  bool unnamedAllowed_;   // unnamed temporaries can be named at the commit
  std::size_t mostHeld_;  // descriptors the batch may hold: a quarter of the process's limit
  std::mt19937 random_;
  std::vector<Pending> pending_;
  std::vector<Folder> folders_;
  std::size_t bytes_ = 0;
  std::optional<InterruptCleanup> cleanup_;  // while temporaries exist
};

}  // namespace habuki
