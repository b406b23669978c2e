#include "core/io/user_config_folder.h"

#include <cstdlib>

namespace habuki {

std::filesystem::path UserConfigFolder() {
  const char* configHome = std::getenv("XDG_CONFIG_HOME");
  if (configHome != nullptr && std::filesystem::path(configHome).is_absolute()) {
    return std::filesystem::path(configHome) / "habuki";
  }
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') return {};
  return std::filesystem::path(home) / ".config" / "habuki";
}

std::filesystem::path UserHomeFolder() {
  const char* home = std::getenv("HOME");
  return home != nullptr ? std::filesystem::path(home) : std::filesystem::path();
}

}  // namespace habuki
