#pragma once

#include <filesystem>
#include <iosfwd>

namespace habuki {

// The streams and facts of the process that the command line works with, so that tests can
// stand in for them.
struct CliIo {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  bool outIsTerminal = false;
  std::filesystem::path programFolder;  // default folder of the comment files
};

// The whole `habuki` command: parses the arguments, thins every file and gives the exit status.
int RunHabuki(int argc, const char* const* argv, CliIo& io);

}  // namespace habuki
