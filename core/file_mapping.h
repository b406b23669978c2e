#pragma once

#include <cstddef>
#include <memory>

namespace habuki {

// A regular file's bytes mapped into memory rather than copied, followed by as much writable
// room as the file is long (plus two bytes), so that its text can grow in place: a lone CR
// never takes more than the LF after it (see CompleteLineBreaks).
//
// The pages are read in as the file is mapped, and those the text never changes stay shared
// with the system's page cache: a large file costs neither a copy nor a page fault per page,
// and on these machines a page fault costs microseconds. The file is read at the size it had
// when it was opened. A file that another program cuts short while it is mapped ends this one
// with SIGBUS where the lost pages are read, as for any mapped file: so only what is thinned at
// once and let go is mapped (FileHolding), and read() would cost every page a copy.
class FileMapping {
 public:
  // Maps `size` bytes (at least one) of the open regular file; nullptr with errno set when the
  // system refuses.
  static std::unique_ptr<FileMapping> Map(int descriptor, std::size_t size);

  FileMapping(const FileMapping&) = delete;
  FileMapping& operator=(const FileMapping&) = delete;
  ~FileMapping();

  const char* data() const { return data_; }
  std::size_t size() const { return size_; }
  std::size_t capacity() const { return capacity_; }

  // Makes the bytes from `offset` to the capacity writable and gives them, nullptr when the
  // system has no memory for it. Writing copies only the pages written.
  char* WritableFrom(std::size_t offset);

 private:
  FileMapping(char* data, std::size_t size, std::size_t capacity)
      : data_(data), size_(size), capacity_(capacity) {}

  char* data_;
  std::size_t size_;
  std::size_t capacity_;
};

}  // namespace habuki
