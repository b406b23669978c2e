#pragma once

#include <filesystem>
#include <vector>

#include "comment/comment_folders.h"

namespace habuki::ui {

// Where the window finds what lies outside it, found once at start by the program and the same
// for every view.
struct WindowEnvironment {
  std::filesystem::path programFolder;
  std::filesystem::path configFolder;  // where "ｺﾒﾝﾄ.txt" is left at close; empty when unknown
  std::filesystem::path homeFolder;  // where the file dialogs start while no file is shown

  // Where comment files are looked for, in order.
  std::vector<std::filesystem::path> CommentFolders() const {
    return habuki::CommentFolders(configFolder, programFolder);
  }
};

}  // namespace habuki::ui
