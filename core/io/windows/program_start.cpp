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

// The files a name with * or ? in its last part stands for, in UTF-8, without those dir hides;
// the name itself where it matches none. Neither character can be part of a file name on
// Windows, and neither cmd nor PowerShell expands them for the programs they start. They come
// sorted byte by byte, as a POSIX shell gives them in the C locale ("B.txt" before "a.txt"):
// Windows lists a folder in an order of its own, on NTFS one that ignores case, and the UTF-16
// names it gives would sort characters beyond U+FFFF before those from U+E000 on.
std::vector<std::string> Expanded(const std::wstring& argument) {
  const std::filesystem::path pattern(argument);
  if (!HasWildcards(pattern)) return {Utf8FromWide(argument)};
  std::vector<std::string> names;
  WIN32_FIND_DATAW found;
  const HANDLE search = ::FindFirstFileExW(SystemPath(argument).c_str(), FindExInfoBasic, &found,
                                           FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return {Utf8FromWide(argument)};
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L".." && !IsHidden(found))
      names.push_back(Utf8FromWide((pattern.parent_path() / name).native()));
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  std::sort(names.begin(), names.end());
  return names.empty() ? std::vector<std::string>{Utf8FromWide(argument)} : names;
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
    for (std::string& argument :
         i == 0 ? std::vector<std::string>{Utf8FromWide(wide[0])} : Expanded(wide[i])) {
      arguments.push_back(std::move(argument));
    }
  }
  ::LocalFree(wide);
  return arguments;
}

}  // namespace habuki
