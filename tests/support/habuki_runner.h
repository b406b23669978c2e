#pragma once

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/habuki_cli.h"
#include "core/io/system_calls.h"
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
  bool inputTerminal = false;            // standard input is a terminal
  std::filesystem::path configFolder{};  // where names.csv is looked for; empty: nowhere

  HabukiRun Run(std::vector<std::string> args) const {
    args.insert(args.begin(), "habuki");
    std::vector<const char*> argv;
    for (const std::string& arg : args) argv.push_back(arg.c_str());
    const TempDir streams;
    WriteBytes(streams / "in", input);
    const std::filesystem::path out = outputFile.value_or(streams / "out");
    const int in = OpenToReadBytes(inputFile.value_or(streams / "in"));
    const int outFd = OpenToWriteBytes(out);
    std::ostringstream err;
    CliIo io{{in, outFd}, err, terminal, {commentFolder}, inputTerminal, configFolder};
    const int status = RunHabuki(static_cast<int>(argv.size()), argv.data(), io);
    if (in >= 0) CloseDescriptor(in);
    if (outFd >= 0) CloseDescriptor(outFd);
    return {status, outputFile ? "" : ReadBytes(out), err.str()};
  }
};

}  // namespace habuki::test
