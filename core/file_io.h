#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <system_error>

namespace habuki {

struct FileContents {
  std::string bytes;
  std::error_code error;  // set when the file could not be opened or read
};

// Reads a whole file as bytes. A directory is an error (EISDIR), not an empty file.
FileContents ReadWholeFile(const std::filesystem::path& path);

// The system calls a write goes through, each with the POSIX call's arguments, result and errno.
// Tests hand WriteFileAtomically a copy with one of them made to fail.
struct FileOps {
  std::function<int(const char* path, int flags, mode_t mode)> open;
  std::function<ssize_t(int fd, const void* data, std::size_t size)> write;
  std::function<int(int fd, mode_t mode)> fchmod;
  std::function<int(int fd)> fsync;
  std::function<int(int fd)> close;
  std::function<int(const char* from, const char* to)> rename;
};

// The POSIX calls themselves.
FileOps PosixFileOps();

// Replaces `target` with `bytes` so that it never holds anything but the old or the new
// contents: a temporary file in the same folder is written, synced and renamed over the target.
// On failure the target is untouched and no temporary is left. A target that is not a regular
// file (/dev/null, a terminal, a pipe) is written directly. A symbolic link is followed.
std::error_code WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                                    const FileOps& ops = PosixFileOps());

}  // namespace habuki
