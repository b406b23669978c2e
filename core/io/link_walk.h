#pragma once

#include <filesystem>
#include <optional>

namespace habuki {

// Where a name leads once every symbolic link on its way is followed, as open() follows them,
// the last one included even when what it points to does not exist yet.
struct NameDestination {
  // The absolute path reached, free of links as far as it exists, its missing part as written.
  std::filesystem::path path;
  // The descriptor of this process the name stands for (/dev/stdout, /dev/fd/N,
  // /proc/self/fd/N, /proc/PID/task/TID/fd/N, or a link to one of them): opening the name opens
  // the file behind that descriptor, so replacing the name would replace that file.
  std::optional<int> descriptor;
  // What every name that reaches the same place has in common: `path` itself, or on Windows,
  // where names that differ only in case are one name, `path` in capitals.
  std::filesystem::path::string_type key;
};

// Follows `name` one component at a time with readlink, at most as many links as the kernel
// would follow; a name relative to the working folder is taken from there.
NameDestination FollowLinks(const std::filesystem::path& name);

}  // namespace habuki
