#pragma once

#include <sys/types.h>

#include <cstddef>
#include <functional>

namespace habuki {

// The system calls a write goes through, each with the POSIX call's arguments, result and errno.
// Tests hand the writers a copy with one of them made to fail or watched.
struct FileOps {
  std::function<int(int folder, const char* name, int flags, mode_t mode)> openat;
  std::function<ssize_t(int fd, const void* data, std::size_t size)> write;
  std::function<int(int fd, uid_t owner, gid_t group)> fchown;
  // Give `to` the ACL of `from` (libacl's perm_copy_fd), then its extended attributes
  // (libattr's attr_copy_fd): 0, or -1 with errno.
  std::function<int(int from, int to)> copyAcl;
  std::function<int(int from, int to)> copyAttributes;
  std::function<int(int fd, mode_t mode)> fchmod;
  // Starts writing a file's data back (sync_file_range, SYNC_FILE_RANGE_WRITE), without waiting.
  std::function<int(int fd)> startWriteBack;
  std::function<int(int fd)> fdatasync;
  std::function<int(int fd)> fsync;
  std::function<int(int fd)> close;
  // Gives the unnamed file `fd` (O_TMPFILE) the name `to`: linkat through /proc/self/fd/N.
  std::function<int(int fd, int toFolder, const char* to)> linkUnnamed;
  std::function<int(int fromFolder, const char* from, int toFolder, const char* to)> renameat;
};

// The POSIX calls themselves.
FileOps SystemFileOps();

}  // namespace habuki
