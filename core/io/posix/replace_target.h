#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "core/io/file_ops.h"
#include "core/io/posix/file_descriptor.h"

namespace habuki {

// A file to write, found once: the open folder that holds its name and the name in that folder.
// Every later step works on these two, so no name swapped for a link meanwhile can lead it to
// another file.
struct ReplaceTarget {
  FileDescriptor folder;
  std::string name;
  // The file found there, opened for writing through the descriptor it was found with; not
  // valid when the name is new.
  FileDescriptor file;
  struct stat info {};  // `file`'s status

  bool IsNew() const { return !file.valid(); }
  // Pipes, terminals and devices are written through, never replaced.
  bool IsWrittenThrough() const { return file.valid() && !S_ISREG(info.st_mode); }
};

// Finds `path` as open() would, symbolic links and the kernel's rules on following them
// included. A regular file is opened for writing, which asks whether the caller may, and is
// anchored at its own folder and name, checked to be that very file (else
// WriteRefusal::TargetMoved). A link to a missing file is refused (WriteRefusal::DanglingLink), a
// folder is refused (EISDIR); so are another user's file or pipe in a shared folder with the
// sticky bit (WriteRefusal::OtherUsersFile) and a file in an append-only folder
// (WriteRefusal::AppendOnlyFolder).
std::error_code FindTarget(const FileOps& ops, const std::filesystem::path& path,
                           ReplaceTarget& target);

}  // namespace habuki
