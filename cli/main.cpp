#include <unistd.h>

#include <iostream>

#include "cli/habuki_cli.h"
#include "comment/comment_folders.h"
#include "core/io/executable_folder.h"
#include "core/io/user_config_folder.h"

int main(int argc, char** argv) {
  habuki::CliIo io{{},
                   std::cerr,
                   ::isatty(STDOUT_FILENO) == 1,
                   habuki::CommentFolders(habuki::UserConfigFolder(), habuki::ExecutableFolder())};
  return habuki::RunHabuki(argc, argv, io);
}
