#pragma once

#include <filesystem>
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

// Replaces `target` with `bytes` so that it never holds anything but the old or the new
// contents: a temporary file in the same folder is written, synced and renamed over the target.
// On failure the target is untouched and no temporary is left. A target that is not a regular
// file (/dev/null, a terminal, a pipe) is written directly. A symbolic link is followed.
std::error_code WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes);

}  // namespace habuki
