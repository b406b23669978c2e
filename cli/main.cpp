#include <unistd.h>

#include <iostream>

#include "executable_folder.h"
#include "habuki_cli.h"

int main(int argc, char** argv) {
  habuki::CliIo io{{}, std::cerr, ::isatty(STDOUT_FILENO) == 1, habuki::ExecutableFolder()};
  return habuki::RunHabuki(argc, argv, io);
}
