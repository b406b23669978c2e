#pragma once

#include "cli/cli_io.h"

namespace habuki {

// The whole `habuki` command: parses the arguments, thins every file and gives the exit status.
int RunHabuki(int argc, const char* const* argv, CliIo& io);

}  // namespace habuki
