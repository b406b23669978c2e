#include "core/file_mapping.h"

#include <sys/mman.h>
#include <unistd.h>

namespace habuki {

namespace {

std::size_t PageSize() { return static_cast<std::size_t>(::sysconf(_SC_PAGESIZE)); }

std::size_t RoundUp(std::size_t bytes, std::size_t page) {
  return (bytes + page - 1) / page * page;
}

}  // namespace

// Reserves address space for the file and its room first, then maps the file over the start of
// it: the room then follows the file's last page directly, whatever the file's size.
std::unique_ptr<FileMapping> FileMapping::Map(int descriptor, std::size_t size) {
  const std::size_t capacity = RoundUp(2 * size + 2, PageSize());
  void* const reserved =
      ::mmap(nullptr, capacity, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (reserved == MAP_FAILED) return nullptr;
  void* const mapped =
      ::mmap(reserved, size, PROT_READ, MAP_PRIVATE | MAP_FIXED | MAP_POPULATE, descriptor, 0);
  if (mapped == MAP_FAILED) {
    ::munmap(reserved, capacity);
    return nullptr;
  }
  return std::unique_ptr<FileMapping>(new FileMapping(static_cast<char*>(mapped), size, capacity));
}

FileMapping::~FileMapping() { ::munmap(data_, capacity_); }

char* FileMapping::WritableFrom(std::size_t offset) {
  const std::size_t pageStart = offset / PageSize() * PageSize();
  const int made = ::mprotect(data_ + pageStart, capacity_ - pageStart, PROT_READ | PROT_WRITE);
  return made == 0 ? data_ + offset : nullptr;
}

}  // namespace habuki
