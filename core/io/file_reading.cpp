#include "core/io/file_reading.h"

#include <algorithm>

#include "core/io/system_calls.h"

namespace habuki {

namespace {

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
    std::size_t got = 0;
    if (const auto error =
            ReadSome(descriptor, bytes.data.get() + bytes.size, end - bytes.size, got)) {
      return error;
    }
    if (got == 0) return {};
    bytes.size += got;
  }
}

// What is left to read of a regular file: from the descriptor's position, since standard input
// may have been read in part before the program started.
std::error_code SizeLeft(int descriptor, const DescriptorStatus& status, std::uint64_t& size) {
  std::uint64_t position = 0;
  if (const auto error = PositionOf(descriptor, position)) return error;
  size = status.size > position ? status.size - position : 0;
  return {};
}

}  // namespace

FileContents ReadDescriptor(int descriptor, ReadLimit limit) {
  FileContents contents;
  DescriptorStatus status;
  if ((contents.error = StatusOf(descriptor, status))) return contents;
  if (status.kind == FileKind::Directory) {
    contents.error = std::make_error_code(std::errc::is_a_directory);
    return contents;
  }
  const bool regular = status.kind == FileKind::Regular;
  if (limit.regularFilesOnly && !regular) {
    contents.error = std::make_error_code(std::errc::invalid_argument);
    return contents;
  }
  if (regular) {
    std::uint64_t size = 0;
    if ((contents.error = SizeLeft(descriptor, status, size))) return contents;
    if (size > limit.bytes) {
      contents.error = std::make_error_code(std::errc::file_too_large);
      contents.fileSize = size;
      return contents;
    }
    contents.identity = status.identity;
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
  FileContents contents;
  const int descriptor = OpenToRead(path, limit.regularFilesOnly, contents.error);
  if (descriptor < 0) return contents;
  contents = ReadDescriptor(descriptor, limit);
  CloseDescriptor(descriptor);
  return contents;
}

}  // namespace habuki
