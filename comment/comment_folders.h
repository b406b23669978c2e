#pragma once

#include <filesystem>
#include <vector>

namespace habuki {

// Where comment files are looked for, in order: the user's configuration folder, where any user
// can put them, then the program's folder, where they have always been kept. A folder that is
// not known is left out.
std::vector<std::filesystem::path> CommentFolders(const std::filesystem::path& configFolder,
                                                  const std::filesystem::path& programFolder);

}  // namespace habuki
