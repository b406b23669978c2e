#include "tests/support/test_system.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <iconv.h>
#include <sys/wait.h>
#include <unistd.h>

namespace habuki::test {

int OpenToReadBytes(const std::filesystem::path& file) {
  return ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
}

int OpenToWriteBytes(const std::filesystem::path& file) {
  return ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
}

bool MakePipe(int ends[2]) { return ::pipe(ends) == 0; }

namespace {

// In the child: puts `file` (or /dev/null) on `descriptor`, or ends the child.
void OpenOn(int descriptor, const std::filesystem::path& file, int flags) {
  const int opened = ::open(file.empty() ? "/dev/null" : file.c_str(), flags, 0600);
  if (opened < 0 || ::dup2(opened, descriptor) < 0) ::_exit(127);
  if (opened != descriptor) ::close(opened);
}

}  // namespace

int Run(const ChildProcess& child) {
  std::vector<const char*> argv{child.program.c_str()};
  for (const std::string& arg : child.args) argv.push_back(arg.c_str());
  argv.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (!child.folder.empty() && ::chdir(child.folder.c_str()) != 0) ::_exit(127);
    OpenOn(STDIN_FILENO, child.input, O_RDONLY);
    OpenOn(STDOUT_FILENO, child.output, O_WRONLY | O_CREAT | O_TRUNC);
    OpenOn(STDERR_FILENO, child.error, O_WRONLY | O_CREAT | O_TRUNC);
    for (const auto& [name, value] : child.environment) ::setenv(name.c_str(), value.c_str(), 1);
    ::execv(argv[0], const_cast<char* const*>(argv.data()));
    ::_exit(127);
  }
  int status = 0;
  if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

std::string Utf8ToCp932(std::string_view utf8) {
  iconv_t cd = ::iconv_open("CP932", "UTF-8");
  EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
  std::string out(utf8.size() * 2, '\0');
  char* in = const_cast<char*>(utf8.data());
  std::size_t inLeft = utf8.size();
  char* target = out.data();
  std::size_t outLeft = out.size();
  EXPECT_NE(::iconv(cd, &in, &inLeft, &target, &outLeft), static_cast<std::size_t>(-1));
  ::iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

std::optional<std::string> SystemCp932ToUtf8(std::string_view character) {
  iconv_t cd = ::iconv_open("UTF-8", "CP932");
  EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
  char out[16];
  char* in = const_cast<char*>(character.data());
  std::size_t inLeft = character.size();
  char* target = out;
  std::size_t outLeft = sizeof out;
  const bool converted =
      ::iconv(cd, &in, &inLeft, &target, &outLeft) != static_cast<std::size_t>(-1);
  ::iconv_close(cd);
  if (!converted || inLeft != 0) return std::nullopt;
  return std::string(out, sizeof out - outLeft);
}

}  // namespace habuki::test
