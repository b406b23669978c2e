#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/habuki_cli.h"
#include "tests/support/test_support.h"

namespace habuki::test {

// The `habuki` command run in-process, with its standard streams and comment folder.
struct HabukiRun {
  int status;
  std::string out;
  std::string err;
};

struct Habuki {
  std::string input;                      // standard input
  bool terminal = false;                  // standard output is a terminal
  std::filesystem::path commentFolder{};  // the only folder comment files are looked in
  // Files to open standard input and output on instead; one that cannot be opened leaves the
  // descriptor closed.
  std::optional<std::filesystem::path> inputFile{};
  std::optional<std::filesystem::path> outputFile{};

  HabukiRun Run(std::vector<std::string> args) const {
    args.insert(args.begin(), "habuki");
    std::vector<const char*> argv;
    for (const std::string& arg : args) argv.push_back(arg.c_str());
    const TempDir streams;
    WriteBytes(streams / "in", input);
    const std::filesystem::path out = outputFile.value_or(streams / "out");
    const int in = ::open(inputFile.value_or(streams / "in").c_str(), O_RDONLY | O_CLOEXEC);
    const int outFd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    std::ostringstream err;
    CliIo io{{in, outFd}, err, terminal, {commentFolder}};
    const int status = RunHabuki(static_cast<int>(argv.size()), argv.data(), io);
    ::close(in);
    ::close(outFd);
    return {status, outputFile ? "" : ReadBytes(out), err.str()};
  }
};

}  // namespace habuki::test
