#include "core/io/posix/replace_target.h"

#include <fcntl.h>
#include <unistd.h>

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

// The name under which the kernel reopens the file an open descriptor holds, whatever has
// become of the names that led to it.
std::string DescriptorPath(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

// Whether `name` in `folder` is itself, not through a link, the file `info` describes.
bool NamesTheFile(int folder, const std::string& name, const struct stat& info) {
  struct stat there {};
  return ::fstatat(folder, name.c_str(), &there, AT_SYMLINK_NOFOLLOW) == 0 &&
         there.st_dev == info.st_dev && there.st_ino == info.st_ino;
}

// A name that does not exist: new, unless it is a link to nothing.
std::error_code MissingTarget(const ReplaceTarget& target) {
  struct stat link {};
  const bool dangling =
      ::fstatat(target.folder.get(), target.name.c_str(), &link, AT_SYMLINK_NOFOLLOW) == 0 &&
      S_ISLNK(link.st_mode);
  return dangling ? make_error_code(WriteRefusal::DanglingLink) : std::error_code{};
}

// A file reached through symbolic links is replaced where it stands: in the folder and under the
// name the kernel knows it by now, if that name still is the file.
std::error_code AnchorAtOwnName(const FileOps& ops, int found, ReplaceTarget& target) {
  std::error_code error;
  const std::filesystem::path real = std::filesystem::read_symlink(DescriptorPath(found), error);
  if (error) return error;
  FileDescriptor folder = OpenFolder(ops, real.parent_path());
  if (!folder.valid()) return LastError();
  std::string name = real.filename().string();
  if (!NamesTheFile(folder.get(), name, target.info)) return WriteRefusal::TargetMoved;
  target.folder = std::move(folder);
  target.name = std::move(name);
  return {};
}

}  // namespace

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
  const bool regular = S_ISREG(target.info.st_mode);
  const int flags = O_WRONLY | O_NOCTTY | O_CLOEXEC | (regular ? 0 : O_TRUNC);
  target.file =
      FileDescriptor(ops.openat(AT_FDCWD, DescriptorPath(found.get()).c_str(), flags, 0), ops);
  if (!target.file.valid()) return LastError();
  if (!regular || NamesTheFile(target.folder.get(), target.name, target.info)) return {};
  return AnchorAtOwnName(ops, found.get(), target);
}

}  // namespace habuki
