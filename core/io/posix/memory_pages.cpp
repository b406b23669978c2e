#include "core/io/memory_pages.h"

#include <sys/mman.h>

#include <new>

namespace habuki {

char* MapPages(std::size_t size) {
  void* const memory =
      ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) throw std::bad_alloc();
  // Only a hint: where the system keeps no huge pages, ordinary ones serve.
  ::madvise(memory, size, MADV_HUGEPAGE);
  return static_cast<char*>(memory);
}

void UnmapPages(char* data, std::size_t size) { ::munmap(data, size); }

}  // namespace habuki
