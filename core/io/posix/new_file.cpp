#include "core/io/posix/new_file.h"

#include <fcntl.h>

namespace habuki {

int CreateNewFile(int folder, const char* name) {
  return ::openat(folder, name, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
}

}  // namespace habuki
