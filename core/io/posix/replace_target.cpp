#include "core/io/posix/replace_target.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "core/io/link_walk.h"
#include "core/io/write_refusal.h"

namespace habuki {

namespace {

// A folder is opened for reading, so that it can be synced; one the caller may write but not
// read (a drop box) only as a place to reach its names.
FileDescriptor OpenFolder(const FileOps& ops, const std::filesystem::path& folder) {
  const int fd = ops.openat(AT_FDCWD, folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
  if (fd >= 0 || errno != EACCES) return FileDescriptor(fd, ops);
  return FileDescriptor(ops.openat(AT_FDCWD, folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC, 0),
                        ops);
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether `name` in `folder` is itself, not through a link, the file `info` describes.
bool NamesTheFile(int folder, const std::string& name, const struct stat& info) {
  struct stat there {};
  return ::fstatat(folder, name.c_str(), &there, AT_SYMLINK_NOFOLLOW) == 0 && SameFile(there, info);
}

// A name that does not exist: new, unless it is a link to nothing.
std::error_code MissingTarget(const ReplaceTarget& target) {
  struct stat link {};
  const bool dangling =
      ::fstatat(target.folder.get(), target.name.c_str(), &link, AT_SYMLINK_NOFOLLOW) == 0 &&
      S_ISLNK(link.st_mode);
  return dangling ? make_error_code(WriteRefusal::DanglingLink) : std::error_code{};
}

// The rule of the kernel's protected_regular and protected_fifos (2): in a folder with the
// sticky bit that others may write, such as /tmp, a file or pipe that another user made is not
// written to unless that user owns the folder too. Otherwise whoever made it first gets the
// result: by reading the file as it is written, or through a pipe.
bool IsOtherUsersInSharedFolder(int folder, const struct stat& file) {
  struct stat shared {};
  if (!S_ISREG(file.st_mode) && !S_ISFIFO(file.st_mode)) return false;
  if (::fstat(folder, &shared) != 0 || (shared.st_mode & S_ISVTX) == 0) return false;
  const bool othersWrite = (shared.st_mode & (S_IWGRP | S_IWOTH)) != 0;
  return othersWrite && file.st_uid != ::geteuid() && file.st_uid != shared.st_uid;
}

// A folder marked append-only (chattr +a) takes new names but lets none be replaced or removed:
// a temporary made there to replace a file would stay for good.
bool IsAppendOnly(int folder) {
  int flags = 0;
  return ::ioctl(folder, FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_APPEND_FL) != 0;
}

// A file reached through symbolic links is replaced where it stands: in the folder and under the
// name that the links lead to, if that name still is the file.
std::error_code AnchorAtOwnName(const FileOps& ops, const std::filesystem::path& path,
                                ReplaceTarget& target) {
  const std::filesystem::path real = FollowLinks(path).path;
  FileDescriptor folder = OpenFolder(ops, real.parent_path());
  if (!folder.valid()) return LastError();
  std::string name = real.filename().string();
  if (!NamesTheFile(folder.get(), name, target.info)) return WriteRefusal::TargetMoved;
  target.folder = std::move(folder);
  target.name = std::move(name);
  return {};
}

}  // namespace

// The file is found once without opening it (O_PATH), so that a pipe is not opened before it is
// known to be one that may be written; then opened for writing by the same name, and held to be
// the same file by its device and inode. No step needs /proc.
std::error_code FindTarget(const FileOps& ops, const std::filesystem::path& path,
                           ReplaceTarget& target) {
  const std::filesystem::path name = path.filename();
  if (name.empty() || name == "." || name == "..")
    return std::make_error_code(std::errc::is_a_directory);
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
  target.folder = OpenFolder(ops, folder);
  if (!target.folder.valid()) return LastError();
  target.name = name.string();
  const FileDescriptor found(
      ops.openat(target.folder.get(), target.name.c_str(), O_PATH | O_CLOEXEC, 0), ops);
  if (!found.valid()) return errno == ENOENT ? MissingTarget(target) : LastError();
  if (::fstat(found.get(), &target.info) != 0) return LastError();
  if (S_ISDIR(target.info.st_mode)) return std::make_error_code(std::errc::is_a_directory);
  if (IsOtherUsersInSharedFolder(target.folder.get(), target.info)) {
    return WriteRefusal::OtherUsersFile;
  }
  const bool regular = S_ISREG(target.info.st_mode);
  const int flags = O_WRONLY | O_NOCTTY | O_CLOEXEC | (regular ? 0 : O_TRUNC);
  target.file = FileDescriptor(ops.openat(target.folder.get(), target.name.c_str(), flags, 0), ops);
  if (!target.file.valid()) return LastError();
  struct stat opened {};
  if (::fstat(target.file.get(), &opened) != 0) return LastError();
  if (!SameFile(opened, target.info)) return WriteRefusal::TargetMoved;
  if (!regular) return {};
  if (!NamesTheFile(target.folder.get(), target.name, target.info)) {
    if (const auto error = AnchorAtOwnName(ops, path, target)) return error;
  }
  return IsAppendOnly(target.folder.get()) ? make_error_code(WriteRefusal::AppendOnlyFolder)
                                           : std::error_code{};
}

}  // namespace habuki
