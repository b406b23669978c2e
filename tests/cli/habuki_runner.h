#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "habuki_cli.h"

namespace habuki::test {

// The `habuki` command run in-process, with its standard streams and program folder.
struct HabukiRun {
  int status;
  std::string out;
  std::string err;
};

struct Habuki {
  std::string input;      // standard input
  bool terminal = false;  // standard output is a terminal
  std::filesystem::path programFolder{};

  HabukiRun Run(std::vector<std::string> args) const {
    args.insert(args.begin(), "habuki");
    std::vector<const char*> argv;
    for (const std::string& arg : args) argv.push_back(arg.c_str());
    std::istringstream in(input);
    std::ostringstream out, err;
    CliIo io{in, out, err, terminal, programFolder};
    const int status = RunHabuki(static_cast<int>(argv.size()), argv.data(), io);
    return {status, out.str(), err.str()};
  }
};

}  // namespace habuki::test
