#pragma once

#include <filesystem>
#include <string_view>

namespace habuki {

// The user's own folder for habuki's files. On POSIX systems $XDG_CONFIG_HOME/habuki, or
// ~/.config/habuki when that is not set (or not an absolute path, which the XDG rules ignore);
// on Windows habuki in the user's roaming application data (%APPDATA%\habuki). Empty when the
// system does not tell where it is.
std::filesystem::path UserConfigFolder();

// The user's home folder: $HOME on POSIX systems, the profile folder (C:\Users\NAME) on
// Windows. Empty when the system does not tell.
std::filesystem::path UserHomeFolder();

// That folder as help texts name it.
#ifdef _WIN32
inline constexpr std::string_view kUserConfigFolderName = "%APPDATA%\\habuki";
#else
inline constexpr std::string_view kUserConfigFolderName =
    "$XDG_CONFIG_HOME/habuki or ~/.config/habuki";
#endif

}  // namespace habuki
