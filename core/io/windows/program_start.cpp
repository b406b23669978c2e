#include "core/io/program_start.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <algorithm>
#include <filesystem>

#include "core/io/path_text.h"
#include "core/io/windows/interrupt_cleanup.h"
#include "core/io/windows/system_path.h"
#include "core/text/utf16_text.h"

namespace habuki {

namespace {

bool HasWildcards(const std::filesystem::path& name) {
  return name.filename().native().find_first_of(L"*?") != std::wstring::npos;
}

// Files that dir leaves out, such as the desktop.ini Explorer keeps in a folder.
bool IsHidden(const WIN32_FIND_DATAW& found) {
  return (found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
}

// The files a name with * or ? in its last part stands for, sorted, as a POSIX shell would give
// them, without those dir hides; the name itself where it matches none. Neither character can
// be part of a file name on Windows, and neither cmd nor PowerShell expands them for the
// programs they start.
std::vector<std::wstring> Expanded(const std::wstring& argument) {
  const std::filesystem::path pattern(argument);
  if (!HasWildcards(pattern)) return {argument};
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  const HANDLE search = ::FindFirstFileExW(SystemPath(argument).c_str(), FindExInfoBasic, &found,
                                           FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return {argument};
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L".." && !IsHidden(found))
      names.push_back((pattern.parent_path() / name).native());
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  std::sort(names.begin(), names.end());
  return names.empty() ? std::vector<std::wstring>{argument} : names;
}

}  // namespace

bool IsUnmatchedPattern(std::string_view name) { return HasWildcards(PathFromUtf8(name)); }

void UseBinaryStandardStreams() {
  for (const int stream : {0, 1, 2}) ::_setmode(stream, _O_BINARY);
}

void EndOnInterrupt() { const InterruptCleanup installed; }

void TreatClosedPipesAsErrors() {}  // a write to a closed pipe fails with an error here

// `argv` holds the arguments in the code page, where a name with characters it lacks is lost;
// the wide command line holds them all. Wildcards in file names are expanded.
std::vector<std::string> Utf8Arguments(int argc, const char* const* argv) {
  int count = 0;
  LPWSTR* const wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (wide == nullptr) return std::vector<std::string>(argv, argv + argc);
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) {
    for (const std::wstring& argument :
         i == 0 ? std::vector<std::wstring>{wide[0]} : Expanded(wide[i])) {
      arguments.push_back(Utf8FromWide(argument));
    }
  }
  ::LocalFree(wide);
  return arguments;
}

}  // namespace habuki
