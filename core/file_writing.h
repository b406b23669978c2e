#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <span>
#include <string_view>
#include <system_error>

namespace habuki {

// The system calls a write goes through, each with the POSIX call's arguments, result and errno.
// Tests hand the writers a copy with one of them made to fail or watched.
struct FileOps {
  std::function<int(const char* path, int flags, mode_t mode)> open;
  std::function<ssize_t(int fd, const void* data, std::size_t size)> write;
  std::function<int(int fd, uid_t owner, gid_t group)> fchown;
  std::function<int(int fd, mode_t mode)> fchmod;
  std::function<int(int fd)> fsync;
  std::function<int(int fd)> close;
  std::function<int(const char* from, const char* to)> rename;
};

// The POSIX calls themselves.
FileOps PosixFileOps();

// Why a file was not written where the system has no error number for it.
enum class WriteRefusal {
  DanglingLink = 1,  // the target is a symbolic link to a file that does not exist
};
std::error_code make_error_code(WriteRefusal refusal);

// Bytes to write, in parts that follow one another: a result and the line break after it need
// not be joined into one copy first, which for a large result would double its memory.
using ByteParts = std::span<const std::string_view>;

// Writes all of `parts` to an open descriptor at its current offset.
std::error_code WriteToDescriptor(int descriptor, ByteParts parts,
                                  const FileOps& ops = PosixFileOps());
inline std::error_code WriteToDescriptor(int descriptor, std::string_view bytes,
                                         const FileOps& ops = PosixFileOps()) {
  return WriteToDescriptor(descriptor, ByteParts(&bytes, 1), ops);
}

// Writes a file's contents, as they are made, to the descriptor it is given; gives the first
// error. A result too large to hold at once, such as a table of every value, is written so.
using WriteContents = std::function<std::error_code(int descriptor)>;

// Replaces `target` with `parts` so that it never holds anything but the old or the new
// contents: a temporary file in the same folder is written, given the old file's owner and
// mode, synced and renamed over the target, and the folder is synced. On failure, or when
// SIGINT, SIGTERM or SIGHUP ends the program meanwhile, the target is untouched and no
// temporary is left.
// - A target the caller may not write is refused (EACCES), though a rename would not ask it.
// - Where the owner cannot be kept, the new file is the caller's, without setuid and setgid.
// - A symbolic link is followed: the file it points to is replaced. A link to a missing file
//   is refused (WriteRefusal::DanglingLink) rather than creating a file somewhere else.
// - A file with other hard links is replaced under this name only; the other names keep the
//   old contents.
// - A target that is not a regular file (/dev/null, a terminal, a pipe) is written directly.
std::error_code WriteFileAtomically(const std::filesystem::path& target, ByteParts parts,
                                    const FileOps& ops = PosixFileOps());
// The same with contents written as they are made; an error they give leaves the target as
// it was, as a failed write does.
std::error_code WriteFileAtomically(const std::filesystem::path& target,
                                    const WriteContents& contents,
                                    const FileOps& ops = PosixFileOps());
inline std::error_code WriteFileAtomically(const std::filesystem::path& target,
                                           std::string_view bytes,
                                           const FileOps& ops = PosixFileOps()) {
  return WriteFileAtomically(target, ByteParts(&bytes, 1), ops);
}

}  // namespace habuki

template <>
struct std::is_error_code_enum<habuki::WriteRefusal> : std::true_type {};
