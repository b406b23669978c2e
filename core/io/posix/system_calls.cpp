#include "core/io/system_calls.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/io/errno_error.h"

namespace habuki {

std::error_code LastError() { return {errno, std::generic_category()}; }

std::error_code StatusOf(int descriptor, DescriptorStatus& status) {
  struct stat info {};
  if (::fstat(descriptor, &info) != 0) return LastError();
  status.kind = S_ISREG(info.st_mode)   ? FileKind::Regular
                : S_ISDIR(info.st_mode) ? FileKind::Directory
                                        : FileKind::Other;
  status.size = static_cast<std::uint64_t>(info.st_size);
  status.identity = {info.st_dev, info.st_ino};
  return {};
}

std::error_code PositionOf(int descriptor, std::uint64_t& position) {
  const off_t at = ::lseek(descriptor, 0, SEEK_CUR);
  if (at < 0) return LastError();
  position = static_cast<std::uint64_t>(at);
  return {};
}

std::error_code ReadSome(int descriptor, char* data, std::size_t size, std::size_t& got) {
  for (;;) {
    const ssize_t read = ::read(descriptor, data, size);
    if (read >= 0) {
      got = static_cast<std::size_t>(read);
      return {};
    }
    if (errno != EINTR) return LastError();
  }
}

// Without O_NONBLOCK, opening a named pipe waits for a writer that may never come.
int OpenToRead(const std::filesystem::path& path, bool noWaiting, std::error_code& error) {
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | (noWaiting ? O_NONBLOCK : 0));
  if (descriptor < 0) error = LastError();
  return descriptor;
}

void CloseDescriptor(int descriptor) { ::close(descriptor); }

bool IsTerminal(int descriptor) { return ::isatty(descriptor) == 1; }

// A terminal here takes UTF-8 as it is.
std::error_code WriteToTerminal(int descriptor, std::string_view utf8) {
  while (!utf8.empty()) {
    const ssize_t written = ::write(descriptor, utf8.data(), utf8.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return LastError();
    }
    utf8.remove_prefix(static_cast<std::size_t>(written));
  }
  return {};
}

}  // namespace habuki
