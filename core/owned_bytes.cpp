#include "core/owned_bytes.h"

#include <sys/mman.h>

#include <cstring>
#include <new>

namespace habuki {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

}  // namespace

void ReleaseMemory::operator()(char* data) const { ::munmap(data, length); }

// An anonymous mapping of its own rather than the heap's, so that it can ask for huge pages; the
// system zero-fills its pages as they are first touched, and only then.
void Reserve(OwnedBytes& bytes, std::size_t capacity) {
  if (capacity <= bytes.capacity) return;
  void* const memory =
      ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) throw std::bad_alloc();
  // Only a hint: where the system keeps no huge pages, ordinary ones serve.
  if (capacity >= kHugePage) ::madvise(memory, capacity, MADV_HUGEPAGE);
  std::unique_ptr<char[], ReleaseMemory> grown(static_cast<char*>(memory), {capacity});
  if (bytes.size != 0) std::memcpy(grown.get(), bytes.data.get(), bytes.size);
  bytes.data = std::move(grown);
  bytes.capacity = capacity;
}

}  // namespace habuki
