#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace habuki {

// File names travel through the program as UTF-8 text (as the command line gives them, and as
// messages show them). These turn them into paths and back with the system's own conversion:
// none on POSIX systems, where a name is its bytes; UTF-16 on Windows, where a narrow string
// would be taken in the code page and lose every character it lacks.
inline std::filesystem::path PathFromUtf8(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8Of(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return std::string(utf8.begin(), utf8.end());
}

}  // namespace habuki
