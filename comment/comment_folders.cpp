#include "comment/comment_folders.h"

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

std::vector<std::filesystem::path> CommentFolders(const std::filesystem::path& configFolder,
                                                  const std::filesystem::path& programFolder) {
  std::vector<std::filesystem::path> folders;
  for (const auto& folder : {configFolder, programFolder}) {
    if (!folder.empty()) folders.push_back(folder);
  }
  return folders;
}

}  // namespace habuki
