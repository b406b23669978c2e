#include "core/io/program_start.h"

#include <csignal>

namespace habuki {

void UseBinaryStandardStreams() {}  // there is no other mode

void EndOnInterrupt() {}  // the signals' default actions do

void TreatClosedPipesAsErrors() { ::signal(SIGPIPE, SIG_IGN); }

// Arguments are bytes here, and file names are those bytes: they are passed on as they came.
std::vector<std::string> Utf8Arguments(int argc, const char* const* argv) {
  return std::vector<std::string>(argv, argv + argc);
}

bool IsUnmatchedPattern(std::string_view) { return false; }

}  // namespace habuki
