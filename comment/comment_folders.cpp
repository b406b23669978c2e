#include "comment/comment_folders.h"

namespace habuki {

std::vector<std::filesystem::path> CommentFolders(const std::filesystem::path& configFolder,
                                                  const std::filesystem::path& programFolder) {
  std::vector<std::filesystem::path> folders;
  for (const auto& folder : {configFolder, programFolder}) {
    if (!folder.empty()) folders.push_back(folder);
  }
  return folders;
}

}  // namespace habuki
