#pragma once

#include <filesystem>
#include <vector>

namespace habuki {

// The user's own folder for habuki's files: $XDG_CONFIG_HOME/habuki, or ~/.config/habuki when
// that is not set (or not an absolute path, which the XDG rules ignore). Empty when neither
// XDG_CONFIG_HOME nor HOME tells where it is.
std::filesystem::path UserConfigFolder();

// Where comment files are looked for, in order: the user's configuration folder, where any user
// can put them, then the program's folder, where they have always been kept. A folder that is
// not known is left out.
std::vector<std::filesystem::path> CommentFolders(const std::filesystem::path& configFolder,
                                                  const std::filesystem::path& programFolder);

}  // namespace habuki
