#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace habuki {

// What a program takes from the system as it starts, in the form the rest of it works with.

// Standard input, output and error pass bytes as they are: on Windows they would otherwise
// turn every LF into CR LF, and stop reading at the first Ctrl-Z.
void UseBinaryStandardStreams();

// Ctrl-C and the like end the program as the matching signal ends it on POSIX systems (status
// 130 for Ctrl-C), at any moment, removing the temporary files being written: the default
// actions of the signals do that there, with InterruptCleanup; Windows needs a handler.
void EndOnInterrupt();

// Writing to a pipe whose reader has gone is an error for that stream, told and ended as any
// failed write, never the end of the program: on POSIX systems SIGPIPE would end it at once and
// silently, in the middle of a batch.
void TreatClosedPipesAsErrors();

// The program's arguments in UTF-8, whatever the system's code page: on Windows they are taken
// from the wide command line, where any file name can be written.
std::vector<std::string> Utf8Arguments(int argc, const char* const* argv);

// Whether `name` is a pattern of file names that matched no file, and so reached the program as
// it was typed: on Windows, where * and ? cannot be part of a name and the program expands them
// itself. Never on POSIX systems, whose shells expand patterns and where names may hold both.
bool IsUnmatchedPattern(std::string_view name);

}  // namespace habuki
