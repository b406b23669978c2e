#pragma once

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
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
struct SystemBatch {
  struct Pending {
    std::filesystem::path target;
    ReplaceTarget found;    // the target's folder is held in `folders`; its file, if any, here
    FileDescriptor file;    // the temporary
    bool unnamed = false;   // the temporary has no name yet
    std::string temporary;  // its name in the folder, once it has one
    std::size_t folder = 0;
    int watch = -1;
    std::error_code error;
  };
  using Target = ReplaceTarget;
  using Handle = int;  // a descriptor, or what a call that makes a name gives: -1 when it failed
  struct Folder {
    FileDescriptor descriptor;
    dev_t device = 0;
    ino_t inode = 0;
    bool readable = true;  // else it is not synced
    bool renamedInto = false;
  };

  explicit SystemBatch(BatchLimits limits);
  // Gives the index of `folder` in `folders`, where it is held once however many results go
  // into it.
  std::size_t KeepFolder(FileDescriptor folder);

  bool unnamedAllowed;   // unnamed temporaries can be named at the commit
  std::size_t mostHeld;  // descriptors the batch may hold: a quarter of the process's limit
  std::vector<Folder> folders;
};

}  // namespace habuki
