#include "tests/support/test_system.h"

#include <windows.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <io.h>
#include <sys/stat.h>

#include <optional>

#include "core/io/path_text.h"

namespace habuki::test {

int OpenToReadBytes(const std::filesystem::path& file) {
  return ::_wopen(file.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

int OpenToWriteBytes(const std::filesystem::path& file) {
  return ::_wopen(file.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT,
                  _S_IREAD | _S_IWRITE);
}

bool MakePipe(int ends[2]) { return ::_pipe(ends, 1 << 16, _O_BINARY | _O_NOINHERIT) == 0; }

namespace {

std::wstring Wide(std::string_view utf8) { return PathFromUtf8(utf8).wstring(); }

// One argument as the child's C runtime splits its command line (CommandLineToArgvW's rules):
// quoted, a quote escaped, backslashes doubled only where a quote follows them.
std::wstring Quoted(const std::wstring& arg) {
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  return quoted.append(2 * backslashes, L'\\') + L"\"";
}

// A handle the child inherits, on `file` or on NUL.
HANDLE Inherited(const std::filesystem::path& file, bool write) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return ::CreateFileW(file.empty() ? L"NUL" : file.c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                       write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Sets environment variables until it ends; children started meanwhile inherit them.
class Environment {
 public:
  explicit Environment(const std::vector<std::pair<std::string, std::string>>& variables) {
    for (const auto& [name, value] : variables) {
      std::wstring wideName = Wide(name);
      std::optional<std::wstring> old;
      wchar_t buffer[32768];
      const DWORD size = ::GetEnvironmentVariableW(wideName.c_str(), buffer, 32768);
      if (size > 0 && size < 32768) old = std::wstring(buffer, size);
      ::SetEnvironmentVariableW(wideName.c_str(), Wide(value).c_str());
      old_.emplace_back(std::move(wideName), std::move(old));
    }
  }
  Environment(const Environment&) = delete;
  Environment& operator=(const Environment&) = delete;
  ~Environment() {
    for (const auto& [name, old] : old_) {
      ::SetEnvironmentVariableW(name.c_str(), old ? old->c_str() : nullptr);
    }
  }

 private:
  std::vector<std::pair<std::wstring, std::optional<std::wstring>>> old_;
};

// Starts the child. Under wine, on a loaded machine, a start now and then fails with nothing
// wrong in the program or its arguments: it is tried a few times, and a start that never
// succeeds is a failure of the test that says why.
bool Started(const ChildProcess& child, std::wstring& commandLine, STARTUPINFOW& startup,
             PROCESS_INFORMATION& process) {
  constexpr int kTries = 3;
  for (int attempt = 1; attempt <= kTries; ++attempt) {
    if (::CreateProcessW(child.program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                         nullptr, child.folder.empty() ? nullptr : child.folder.c_str(), &startup,
                         &process) != 0) {
      return true;
    }
    const DWORD error = ::GetLastError();
    if (attempt == kTries) {
      ADD_FAILURE() << "CreateProcessW of " << child.program.string() << " failed: error " << error;
    }
    ::Sleep(200);
  }
  return false;
}

}  // namespace

int Run(const ChildProcess& child) {
  std::wstring commandLine = Quoted(child.program.wstring());
  for (const std::string& arg : child.args) commandLine += L" " + Quoted(Wide(arg));
  const HANDLE streams[] = {Inherited(child.input, false), Inherited(child.output, true),
                            Inherited(child.error, true)};
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = streams[0];
  startup.hStdOutput = streams[1];
  startup.hStdError = streams[2];
  PROCESS_INFORMATION process{};
  const Environment environment(child.environment);
  const bool started = Started(child, commandLine, startup, process);
  for (const HANDLE stream : streams) {
    if (stream != INVALID_HANDLE_VALUE) ::CloseHandle(stream);
  }
  if (!started) return -1;
  DWORD status = 0;
  ::WaitForSingleObject(process.hProcess, INFINITE);
  const bool ended = ::GetExitCodeProcess(process.hProcess, &status) != 0;
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  if (!ended) ADD_FAILURE() << "GetExitCodeProcess failed: error " << ::GetLastError();
  return ended ? static_cast<int>(status) : -1;
}

std::string Utf8ToCp932(std::string_view utf8) {
  const std::wstring wide = Wide(utf8);
  const int size = ::WideCharToMultiByte(932, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
  EXPECT_GT(size, 0);
  std::string out(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(932, 0, wide.data(), static_cast<int>(wide.size()), out.data(), size,
                        nullptr, nullptr);
  return out;
}

std::optional<std::string> SystemCp932ToUtf8(std::string_view character) {
  wchar_t wide[4];
  const int count = ::MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, character.data(),
                                          static_cast<int>(character.size()), wide, 4);
  if (count <= 0) return std::nullopt;
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide, count, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide, count, utf8.data(), size, nullptr, nullptr);
  return utf8;
}

}  // namespace habuki::test
