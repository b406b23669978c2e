#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace habuki::test {

// What the tests ask of the system that each system does its own way: posix/ and windows/ hold
// the two answers. Descriptors are the C runtime's, in binary mode.

// `file` open to read, or to write (made or emptied); -1 when it cannot be opened.
int OpenToReadBytes(const std::filesystem::path& file);
int OpenToWriteBytes(const std::filesystem::path& file);
// A pipe: its reading end in [0], its writing end in [1]. False when none could be made.
bool MakePipe(int ends[2]);

// A program run as a child process, its standard streams open on files.
struct ChildProcess {
  std::filesystem::path program;
  std::vector<std::string> args;               // UTF-8, after the program's name
  std::filesystem::path folder;                // where it runs
  std::filesystem::path input, output, error;  // empty: the system's null device
  // Set for the child, on top of the tests' own environment.
  std::vector<std::pair<std::string, std::string>> environment{};
};

// Runs it to its end: its exit status, or -1 when it could not be started or did not end
// normally.
int Run(const ChildProcess& child);

// UTF-8 to CP932 with the system's converter, as an independent check of built-in bytes.
std::string Utf8ToCp932(std::string_view utf8);
// One CP932 character (a byte or a pair) as UTF-8 by the system's converter (iconv, or code
// page 932 of Windows); nothing where the system assigns it no character.
std::optional<std::string> SystemCp932ToUtf8(std::string_view character);

}  // namespace habuki::test
