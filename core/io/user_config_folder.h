#pragma once

#include <filesystem>

namespace habuki {

// The user's own folder for habuki's files. On POSIX systems $XDG_CONFIG_HOME/habuki, or
// ~/.config/habuki when that is not set (or not an absolute path, which the XDG rules ignore);
// on Windows habuki in the user's roaming application data (%APPDATA%\habuki). Empty when the
// system does not tell where it is.
std::filesystem::path UserConfigFolder();

}  // namespace habuki
