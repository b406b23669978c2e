#include "file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>

namespace habuki {

namespace {

std::error_code LastError() { return {errno, std::generic_category()}; }

// Owns a file descriptor; Close() reports the error that a plain close would swallow.
class FileDescriptor {
 public:
  FileDescriptor(int fd, const FileOps& ops) : fd_(fd), ops_(ops) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ops_.close(fd_);
  }

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  std::error_code Close() {
    const int fd = fd_;
    fd_ = -1;
    return ops_.close(fd) == 0 ? std::error_code{} : LastError();
  }

 private:
  int fd_;
  const FileOps& ops_;
};

std::error_code WriteAll(const FileOps& ops, int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ops.write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return LastError();
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return {};
}

std::error_code WriteDirectly(const FileOps& ops, const std::filesystem::path& target,
                              std::string_view bytes) {
  FileDescriptor file(ops.open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC, 0), ops);
  if (!file.valid()) return LastError();
  if (const auto error = WriteAll(ops, file.get(), bytes)) return error;
  return file.Close();
}

// Creates a new file next to `target` that no other writer can have opened, readable and
// writable as the umask allows.
FileDescriptor CreateTemporary(const FileOps& ops, const std::filesystem::path& target,
                               std::filesystem::path& name) {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = target;
    name.replace_filename("." + target.filename().string() + "." + std::to_string(::getpid()) +
                          "-" + std::to_string(random()) + ".tmp");
    const int fd = ops.open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return FileDescriptor(fd, ops);
  }
  return FileDescriptor(-1, ops);
}

std::error_code WriteAndSync(const FileOps& ops, FileDescriptor& file, std::string_view bytes,
                             const struct stat* existing) {
  if (existing != nullptr && ops.fchmod(file.get(), existing->st_mode & 07777) != 0) {
    return LastError();
  }
  if (const auto error = WriteAll(ops, file.get(), bytes)) return error;
  if (ops.fsync(file.get()) != 0) return LastError();
  return file.Close();
}

// Makes the rename itself durable. The new contents are in place by now, so a failure here is
// not reported as a failed write.
void SyncFolder(const FileOps& ops, const std::filesystem::path& file) {
  FileDescriptor folder(ops.open(file.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0),
                        ops);
  if (folder.valid()) ops.fsync(folder.get());
}

std::error_code ReplaceAtomically(const FileOps& ops, const std::filesystem::path& target,
                                  std::string_view bytes, const struct stat* existing) {
  std::filesystem::path temporary;
  FileDescriptor file = CreateTemporary(ops, target, temporary);
  if (!file.valid()) return LastError();
  std::error_code error = WriteAndSync(ops, file, bytes, existing);
  if (!error && ops.rename(temporary.c_str(), target.c_str()) != 0) error = LastError();
  if (error) {
    ::unlink(temporary.c_str());
    return error;
  }
  SyncFolder(ops, target);
  return {};
}

}  // namespace

FileOps PosixFileOps() {
  return {
      [](const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); },
      ::write,
      ::fchmod,
      ::fsync,
      ::close,
      ::rename,
  };
}

FileContents ReadWholeFile(const std::filesystem::path& path) {
  FileContents contents;
  const FileOps ops = PosixFileOps();
  FileDescriptor file(ops.open(path.c_str(), O_RDONLY | O_CLOEXEC, 0), ops);
  struct stat info {};
  if (!file.valid() || ::fstat(file.get(), &info) != 0) {
    contents.error = LastError();
    return contents;
  }
  if (S_ISDIR(info.st_mode)) {
    contents.error = std::make_error_code(std::errc::is_a_directory);
    return contents;
  }
  if (S_ISREG(info.st_mode)) contents.bytes.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[1 << 16];
  for (;;) {
    const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      contents.error = LastError();
      contents.bytes.clear();
      break;
    }
    contents.bytes.append(buffer, static_cast<std::size_t>(got));
  }
  return contents;
}

std::error_code WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                                    const FileOps& ops) {
  struct stat info {};
  if (::stat(target.c_str(), &info) != 0) {
    if (errno != ENOENT) return LastError();
    return ReplaceAtomically(ops, target, bytes, nullptr);
  }
  if (S_ISDIR(info.st_mode)) return std::make_error_code(std::errc::is_a_directory);
  if (!S_ISREG(info.st_mode)) return WriteDirectly(ops, target, bytes);
  // Replace the file a symbolic link points to, not the link.
  std::error_code error;
  const std::filesystem::path real = std::filesystem::canonical(target, error);
  if (error) return error;
  return ReplaceAtomically(ops, real, bytes, &info);
}

}  // namespace habuki
