#include "core/io/memory_pages.h"

#include <windows.h>

#include <new>

namespace habuki {

// Large pages would need a privilege that users do not hold; ordinary ones serve.
char* MapPages(std::size_t size) {
  void* const memory = ::VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  if (memory == nullptr) throw std::bad_alloc();
  return static_cast<char*>(memory);
}

void UnmapPages(char* data, std::size_t) { ::VirtualFree(data, 0, MEM_RELEASE); }

}  // namespace habuki
