#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>

#include "core/file_identity.h"
#include "core/file_mapping.h"

namespace habuki {

// How much of what a file may be read.
struct ReadLimit {
  std::uint64_t bytes;    // a larger file is refused, before it is read whole
  bool regularFilesOnly;  // anything else (a pipe, a device) is refused without waiting on it
  bool mapRegularFiles = false;  // a regular file that tells its size is mapped, not read
};

struct FileContents {
  std::string bytes;                     // what was read, unless the file was mapped
  std::shared_ptr<FileMapping> mapping;  // the file, where it was mapped instead
  // Why the file was not read: std::errc::file_too_large past the limit, std::errc::
  // invalid_argument for what is not a regular file where only those are read.
  std::error_code error;
  std::optional<std::uint64_t> fileSize;  // past the limit: the size, when the file tells it
  std::optional<FileIdentity> identity;   // the regular file that was read
};

// Reads a whole file as bytes, within the limit. A directory is an error (EISDIR).
FileContents ReadFile(const std::filesystem::path& path, ReadLimit limit);

// The same from a descriptor that is already open, such as standard input; it stays open.
FileContents ReadDescriptor(int descriptor, ReadLimit limit);

}  // namespace habuki
