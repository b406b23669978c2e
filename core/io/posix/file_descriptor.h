#pragma once

#include <system_error>
#include <utility>

#include "core/io/errno_error.h"
#include "core/io/file_ops.h"

namespace habuki {

// Owns a file descriptor, closed through the FileOps it was opened with; Close() reports the
// error that a plain close would swallow.
class FileDescriptor {
 public:
  FileDescriptor() = default;
  FileDescriptor(int fd, const FileOps& ops) : fd_(fd), ops_(&ops) {}
  FileDescriptor(FileDescriptor&& other) noexcept
      : fd_(std::exchange(other.fd_, -1)), ops_(other.ops_) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept {
    std::swap(fd_, other.fd_);
    std::swap(ops_, other.ops_);
    return *this;
  }
  ~FileDescriptor() {
    if (fd_ >= 0) ops_->close(fd_);
  }

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  std::error_code Close() {
    const int fd = std::exchange(fd_, -1);
    return ops_->close(fd) == 0 ? std::error_code{} : LastError();
  }

 private:
  int fd_ = -1;
  const FileOps* ops_ = nullptr;
};

}  // namespace habuki
