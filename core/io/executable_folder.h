#pragma once

#include <filesystem>

namespace habuki {

// The folder that holds the running program's real executable (symbolic links resolved), where
// the comment files live. Empty when the system does not tell.
std::filesystem::path ExecutableFolder();

}  // namespace habuki
