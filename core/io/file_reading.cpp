#include "core/io/file_reading.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace habuki {

namespace {

std::error_code LastError() { return {errno, std::generic_category()}; }

// Reads to the end of `descriptor` after the bytes held, growing the memory as needed, but never
// past limit + 1 bytes whatever room the memory has: one byte more than the limit is enough to
// know the file is too large, a file that grows while it is read included.
std::error_code ReadToEnd(int descriptor, std::uint64_t limit, OwnedBytes& bytes) {
  for (;;) {
    if (bytes.size > limit) return std::make_error_code(std::errc::file_too_large);
    if (bytes.size == bytes.capacity) {
      const std::uint64_t grown = std::max<std::uint64_t>(2 * bytes.capacity, 1 << 16);
      Reserve(bytes, static_cast<std::size_t>(std::min(grown, limit + 1)));
    }
    const auto end = static_cast<std::size_t>(std::min<std::uint64_t>(bytes.capacity, limit + 1));
    const ssize_t got = ::read(descriptor, bytes.data.get() + bytes.size, end - bytes.size);
    if (got == 0) return {};
    if (got < 0) {
      if (errno == EINTR) continue;
      return LastError();
    }
    bytes.size += static_cast<std::size_t>(got);
  }
}

// What is left to read of a regular file: from the descriptor's position, since standard input
// may have been read in part before the program started.
std::error_code SizeLeft(int descriptor, const struct stat& info, std::uint64_t& size) {
  const off_t position = ::lseek(descriptor, 0, SEEK_CUR);
  if (position < 0) return LastError();
  size = info.st_size > position ? static_cast<std::uint64_t>(info.st_size - position) : 0;
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
    std::uint64_t size = 0;
    contents.error = SizeLeft(descriptor, info, size);
    if (contents.error) return contents;
    if (size > limit.bytes) {
      contents.error = std::make_error_code(std::errc::file_too_large);
      contents.fileSize = size;
      return contents;
    }
    contents.identity = FileIdentity{info.st_dev, info.st_ino};
    // One byte more than the file tells, to see its end in the same read: a file that says it
    // is empty may still have contents (those under /proc do).
    const std::uint64_t room = limit.roomToGrow ? size + 2 : 0;
    Reserve(contents.bytes, static_cast<std::size_t>(size + 1 + room));
  }
  contents.error = ReadToEnd(descriptor, limit.bytes, contents.bytes);
  if (contents.error) contents.bytes = {};
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
