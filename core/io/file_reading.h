#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <system_error>

#include "core/io/file_identity.h"
#include "core/io/owned_bytes.h"

namespace habuki {

// How much of what a file may be read.
struct ReadLimit {
  std::uint64_t bytes;    // a larger file is refused, before it is read whole
  bool regularFilesOnly;  // anything else (a pipe, a device) is refused without waiting on it
  // Whether a regular file is read into memory with room for as many bytes again as it holds,
  // and two more: what its text needs to complete its line breaks in place (see line_breaks.h).
  bool roomToGrow = false;
};

struct FileContents {
  OwnedBytes bytes;  // what was read, into the program's own memory
  // Why the file was not read: std::errc::file_too_large past the limit, std::errc::
  // invalid_argument for what is not a regular file where only those are read.
  std::error_code error;
  std::optional<std::uint64_t> fileSize;  // past the limit: the size, when the file tells it
  std::optional<FileIdentity> identity;   // the regular file that was read
};

// Reads a whole file as bytes, within the limit. A directory is an error (EISDIR).
FileContents ReadFile(const std::filesystem::path& path, ReadLimit limit);

// The same from a descriptor that is already open, such as standard input, from its current
// position to the end; it stays open.
FileContents ReadDescriptor(int descriptor, ReadLimit limit);

}  // namespace habuki
