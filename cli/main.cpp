#include <unistd.h>

#include <iostream>

#include "executable_folder.h"
#include "habuki_cli.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  habuki::CliIo io{std::cin, std::cout, std::cerr, ::isatty(STDOUT_FILENO) == 1,
                   habuki::ExecutableFolder()};
  return habuki::RunHabuki(argc, argv, io);
}
