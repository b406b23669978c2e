#include "core/io/program_start.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include "core/io/windows/wide_text.h"

namespace habuki {

void UseBinaryStandardStreams() {
  for (const int stream : {0, 1, 2}) ::_setmode(stream, _O_BINARY);
}

// `argv` holds the arguments in the code page, where a name with characters it lacks is lost;
// the wide command line holds them all.
std::vector<std::string> Utf8Arguments(int argc, const char* const* argv) {
  int count = 0;
  LPWSTR* const wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (wide == nullptr) return std::vector<std::string>(argv, argv + argc);
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(Utf8FromWide(wide[i]));
  ::LocalFree(wide);
  return arguments;
}

}  // namespace habuki
