#pragma once

#include <sys/types.h>

#include <cstddef>
#include <functional>

namespace habuki {

// The Windows calls a write goes through, each with the call's own arguments and result (a
// handle is a HANDLE; a failure leaves its reason for GetLastError, a failed write in errno).
// Tests hand the writers a copy with one of them made to fail or watched.
struct FileOps {
  // _write on a C runtime descriptor in binary mode.
  std::function<ssize_t(int fd, const void* data, std::size_t size)> write;
  // CreateFileW of a new file to write, shared for deletion so that Ctrl-C can remove it while
  // it is open: its handle, or INVALID_HANDLE_VALUE.
  std::function<void*(const wchar_t* path)> createNew;
  std::function<bool(void* handle)> flushFileBuffers;
  // ReplaceFileW: `replacement` takes the place of `target`, which must exist, and keeps its
  // attributes, ACL and streams.
  std::function<bool(const wchar_t* target, const wchar_t* replacement)> replaceFile;
  // MoveFileExW written through, never over a file that exists.
  std::function<bool(const wchar_t* from, const wchar_t* to)> moveFile;
};

// The Windows calls themselves.
FileOps SystemFileOps();

}  // namespace habuki
