#include "core/file_reading.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace habuki {

namespace {

std::error_code LastError() { return {errno, std::generic_category()}; }

// Reads to the end of `descriptor`, growing `bytes` as needed but never past limit + 1 bytes:
// one byte more than the limit is enough to know the file is too large.
std::error_code ReadToEnd(int descriptor, std::uint64_t limit, std::string& bytes) {
  std::size_t used = 0;
  for (;;) {
    if (used == bytes.size()) {
      if (used > limit) return std::make_error_code(std::errc::file_too_large);
      const std::uint64_t grown = std::max<std::uint64_t>(2 * bytes.size(), 1 << 16);
      bytes.resize(static_cast<std::size_t>(std::min(grown, limit + 1)));
    }
    const ssize_t got = ::read(descriptor, bytes.data() + used, bytes.size() - used);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      return LastError();
    }
    used += static_cast<std::size_t>(got);
  }
  bytes.resize(used);
  return {};
}

}  // namespace

FileContents ReadDescriptor(int descriptor, ReadLimit limit) {
  FileContents contents;
  struct stat info {};
  if (::fstat(descriptor, &info) != 0) {
    contents.error = LastError();
    return contents;
  }
  if (S_ISDIR(info.st_mode)) {
    contents.error = std::make_error_code(std::errc::is_a_directory);
    return contents;
  }
  const bool regular = S_ISREG(info.st_mode);
  if (limit.regularFilesOnly && !regular) {
    contents.error = std::make_error_code(std::errc::invalid_argument);
    return contents;
  }
  if (regular) {
    const auto size = static_cast<std::uint64_t>(info.st_size);
    if (size > limit.bytes) {
      contents.error = std::make_error_code(std::errc::file_too_large);
      contents.fileSize = size;
      return contents;
    }
    contents.identity = FileIdentity{info.st_dev, info.st_ino};
    // A file that says it is empty may still have contents (those under /proc do), and some
    // file systems cannot map: those are read.
    if (limit.mapRegularFiles && size > 0) {
      contents.mapping = FileMapping::Map(descriptor, static_cast<std::size_t>(size));
      if (contents.mapping) return contents;
    }
    contents.bytes.resize(static_cast<std::size_t>(size) + 1);  // room to see the end
  }
  contents.error = ReadToEnd(descriptor, limit.bytes, contents.bytes);
  if (contents.error) contents.bytes.clear();
  return contents;
}

FileContents ReadFile(const std::filesystem::path& path, ReadLimit limit) {
  // Without O_NONBLOCK, opening a named pipe waits for a writer that may never come.
  const int flags = O_RDONLY | O_CLOEXEC | (limit.regularFilesOnly ? O_NONBLOCK : 0);
  const int descriptor = ::open(path.c_str(), flags);
  if (descriptor < 0) {
    FileContents contents;
    contents.error = LastError();
    return contents;
  }
  FileContents contents = ReadDescriptor(descriptor, limit);
  ::close(descriptor);
  return contents;
}

}  // namespace habuki
