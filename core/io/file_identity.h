#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace habuki {

// What makes a file the same file under any name: its device and inode (on Windows its volume's
// serial number and its file index).
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;

  friend auto operator<=>(const FileIdentity&, const FileIdentity&) = default;
};

// The identity of the regular file at `path` (symbolic links followed) or open on `descriptor`;
// none for anything else (a pipe, a terminal, a missing file). Only regular files can be
// overwritten by mistake, so only they are compared.
std::optional<FileIdentity> RegularFileIdentity(const std::filesystem::path& path);
std::optional<FileIdentity> RegularFileIdentity(int descriptor);

}  // namespace habuki
