#include "core/io/posix/file_ops.h"

#include <acl/libacl.h>
#include <attr/libattr.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace habuki {

FileOps SystemFileOps() {
  return {
      [](int folder, const char* name, int flags, mode_t mode) {
        return ::openat(folder, name, flags, mode);
      },
      ::write,
      ::fchown,
      // The names only go into messages, and without an error context there are none.
      [](int from, int to) { return ::perm_copy_fd("", from, "", to, nullptr); },
      [](int from, int to) { return ::attr_copy_fd("", from, "", to, nullptr, nullptr); },
      ::fchmod,
      [](int fd) { return ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE); },
      ::fdatasync,
      ::fsync,
      ::close,
      [](int fd, int toFolder, const char* to) {
        const std::string path = "/proc/self/fd/" + std::to_string(fd);
        return ::linkat(AT_FDCWD, path.c_str(), toFolder, to, AT_SYMLINK_FOLLOW);
      },
      ::renameat,
  };
}

}  // namespace habuki
