#include "core/io/windows/file_ops.h"

#include <windows.h>
#include <io.h>

#include <algorithm>
#include <climits>

#include "core/io/windows/system_error.h"

namespace habuki {

FileOps SystemFileOps() {
  return {
      [](int fd, const void* data, std::size_t size) -> ssize_t {
        ForgetRuntimeReason();
        return ::_write(fd, data, static_cast<unsigned>(std::min<std::size_t>(size, INT_MAX)));
      },
      [](const wchar_t* path) -> void* {
        return ::CreateFileW(path, GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
      },
      [](void* handle) { return ::FlushFileBuffers(handle) != 0; },
      [](const wchar_t* target, const wchar_t* replacement) {
        return ::ReplaceFileW(target, replacement, nullptr, 0, nullptr, nullptr) != 0;
      },
      [](const wchar_t* from, const wchar_t* to) {
        return ::MoveFileExW(from, to, MOVEFILE_WRITE_THROUGH) != 0;
      },
  };
}

}  // namespace habuki
