#include "core/file_writing.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <string>

#include "core/interrupt_cleanup.h"

namespace habuki {

namespace {

std::error_code LastError() { return {errno, std::generic_category()}; }

class WriteRefusalCategory : public std::error_category {
 public:
  const char* name() const noexcept override { return "habuki write"; }
  std::string message(int refusal) const override {
    switch (static_cast<WriteRefusal>(refusal)) {
      case WriteRefusal::DanglingLink:
        return "not writing through a dangling symbolic link";
    }
    return "refused";
  }
};

std::error_code WriteAll(int descriptor, std::string_view bytes, const FileOps& ops) {
  while (!bytes.empty()) {
    const ssize_t written = ops.write(descriptor, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return LastError();
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return {};
}

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

std::error_code WriteDirectly(const FileOps& ops, const std::filesystem::path& target,
                              const WriteContents& contents) {
  FileDescriptor file(ops.open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC, 0), ops);
  if (!file.valid()) return LastError();
  if (const auto error = contents(file.get())) return error;
  return file.Close();
}

// The folder a file is in; "." for a name without a folder part.
std::filesystem::path FolderOf(const std::filesystem::path& file) {
  return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

// Creates a new file in the target's folder that no other writer can have opened, readable and
// writable as the umask allows, and watches it for removal on a signal. Its name is short, so
// that it fits wherever the target's name fits.
FileDescriptor CreateTemporary(const FileOps& ops, const std::filesystem::path& target,
                               InterruptCleanup& cleanup, std::string& name) {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
    name = (FolderOf(target) / (".habuki-" + std::string(suffix) + ".tmp")).string();
    const int fd = cleanup.CreateWatched(name, [&] {
      return ops.open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    });
    if (fd >= 0 || errno != EEXIST) return FileDescriptor(fd, ops);
  }
  return FileDescriptor(-1, ops);
}

// Gives the new file the old one's owner, group and mode. Where the owner cannot be kept, the
// file stays the caller's, and a setuid or setgid bit would hand the caller's rights to
// whoever runs it: those bits go.
std::error_code TakeOverOwnerAndMode(const FileOps& ops, int fd, const struct stat& existing) {
  mode_t mode = existing.st_mode & 07777;
  if (ops.fchown(fd, existing.st_uid, existing.st_gid) != 0) mode &= ~mode_t{S_ISUID | S_ISGID};
  return ops.fchmod(fd, mode) == 0 ? std::error_code{} : LastError();
}

std::error_code WriteAndSync(const FileOps& ops, FileDescriptor& file,
                             const WriteContents& contents, const struct stat* existing) {
  if (existing != nullptr) {
    if (const auto error = TakeOverOwnerAndMode(ops, file.get(), *existing)) return error;
  }
  if (const auto error = contents(file.get())) return error;
  if (ops.fsync(file.get()) != 0) return LastError();
  return file.Close();
}

// Makes the rename itself durable. The new contents are in place by now, so a failure here is
// not reported as a failed write.
void SyncFolder(const FileOps& ops, const std::filesystem::path& file) {
  FileDescriptor folder(ops.open(FolderOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0),
                        ops);
  if (folder.valid()) ops.fsync(folder.get());
}

std::error_code ReplaceAtomically(const FileOps& ops, const std::filesystem::path& target,
                                  const WriteContents& contents, const struct stat* existing) {
  InterruptCleanup cleanup;
  std::string temporary;
  FileDescriptor file = CreateTemporary(ops, target, cleanup, temporary);
  if (!file.valid()) return LastError();
  std::error_code error = WriteAndSync(ops, file, contents, existing);
  if (!error && ops.rename(temporary.c_str(), target.c_str()) != 0) error = LastError();
  if (error) ::unlink(temporary.c_str());
  cleanup.Forget();
  if (!error) SyncFolder(ops, target);
  return error;
}

// What stands at a target that exists: where a symbolic link points, or the file itself.
std::error_code ReplaceExisting(const FileOps& ops, const std::filesystem::path& target,
                                const WriteContents& contents) {
  struct stat info {};
  if (::stat(target.c_str(), &info) != 0) {
    return errno == ENOENT ? make_error_code(WriteRefusal::DanglingLink) : LastError();
  }
  if (S_ISDIR(info.st_mode)) return std::make_error_code(std::errc::is_a_directory);
  if (!S_ISREG(info.st_mode)) return WriteDirectly(ops, target, contents);
  if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return LastError();
  std::error_code error;
  const std::filesystem::path real = std::filesystem::canonical(target, error);
  if (error) return error;
  return ReplaceAtomically(ops, real, contents, &info);
}

}  // namespace

std::error_code make_error_code(WriteRefusal refusal) {
  static const WriteRefusalCategory category;
  return {static_cast<int>(refusal), category};
}

FileOps PosixFileOps() {
  return {
      [](const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); },
      ::write,
      ::fchown,
      ::fchmod,
      ::fsync,
      ::close,
      ::rename,
  };
}

// Parts that together fit a pipe's buffer are joined and written at once, so that a reader that
// stops early (`habuki x.txt | head -n 1`) has them all in the pipe before it goes and never
// makes a later part fail. Larger ones are written part by part rather than copied.
std::error_code WriteToDescriptor(int descriptor, ByteParts parts, const FileOps& ops) {
  constexpr std::size_t kPipeBuffer = 64 * 1024;
  std::size_t total = 0;
  for (const std::string_view bytes : parts) total += bytes.size();
  if (parts.size() > 1 && total <= kPipeBuffer) {
    std::string joined;
    joined.reserve(total);
    for (const std::string_view bytes : parts) joined.append(bytes);
    return WriteAll(descriptor, joined, ops);
  }
  for (const std::string_view bytes : parts) {
    if (const auto error = WriteAll(descriptor, bytes, ops)) return error;
  }
  return {};
}

std::error_code WriteFileAtomically(const std::filesystem::path& target,
                                    const WriteContents& contents, const FileOps& ops) {
  struct stat link {};
  if (::lstat(target.c_str(), &link) != 0) {
    if (errno != ENOENT) return LastError();
    return ReplaceAtomically(ops, target, contents, nullptr);
  }
  return ReplaceExisting(ops, target, contents);
}

std::error_code WriteFileAtomically(const std::filesystem::path& target, ByteParts parts,
                                    const FileOps& ops) {
  return WriteFileAtomically(
      target, [&](int descriptor) { return WriteToDescriptor(descriptor, parts, ops); }, ops);
}

}  // namespace habuki
