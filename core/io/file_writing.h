#pragma once

#include <filesystem>
#include <span>
#include <string_view>
#include <system_error>

#include "core/io/file_ops.h"
#include "core/io/write_refusal.h"

namespace habuki {

// Bytes to write, in parts that follow one another: a result and the line break after it need
// not be joined into one copy first, which for a large result would double its memory.
using ByteParts = std::span<const std::string_view>;

// Writes all of `parts` to an open descriptor at its current offset.
std::error_code WriteToDescriptor(int descriptor, ByteParts parts,
                                  const FileOps& ops = SystemFileOps());
inline std::error_code WriteToDescriptor(int descriptor, std::string_view bytes,
                                         const FileOps& ops = SystemFileOps()) {
  return WriteToDescriptor(descriptor, ByteParts(&bytes, 1), ops);
}

// Writes a file's contents, as they are made, to the descriptor it is given; gives the first
// error. A result too large to hold at once, such as a table of every value, is written so.
using WriteContents = std::function<std::error_code(int descriptor)>;

// Replaces `target` with `parts` so that it never holds anything but the old or the new
// contents: a batch of one (see ReplaceBatch). On failure, or when a signal ends the program
// meanwhile, the target is untouched and no temporary is left.
// - A target the caller may not write is refused (EACCES), though a rename would not ask it.
// - Where the owner cannot be kept, the new file is the caller's, without setuid and setgid.
// - A symbolic link is followed as open() follows it: the file it points to is replaced where
//   it stands. A link to a missing file is refused (WriteRefusal::DanglingLink) rather than
//   creating a file somewhere else.
// - A file with other hard links is replaced under this name only; the other names keep the
//   old contents.
// - A target that is not a regular file (/dev/null, a terminal, a pipe) is written directly.
std::error_code WriteFileAtomically(const std::filesystem::path& target, ByteParts parts,
                                    const FileOps& ops = SystemFileOps());
inline std::error_code WriteFileAtomically(const std::filesystem::path& target,
                                           std::string_view bytes,
                                           const FileOps& ops = SystemFileOps()) {
  return WriteFileAtomically(target, ByteParts(&bytes, 1), ops);
}

}  // namespace habuki
