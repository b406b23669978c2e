#include "core/io/owned_bytes.h"

#include <sys/mman.h>

#include <cstring>
#include <new>

namespace habuki {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

// Less than a huge page comes from the heap, whose pages the next file of a batch takes again
// without a fault; more is an anonymous mapping of its own, which can ask for huge pages.
char* Allocate(std::size_t capacity) {
  if (capacity < kHugePage) return new char[capacity];  // left as it is: never zero-filled
  void* const memory =
      ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) throw std::bad_alloc();
  // Only a hint: where the system keeps no huge pages, ordinary ones serve.
  ::madvise(memory, capacity, MADV_HUGEPAGE);
  return static_cast<char*>(memory);
}

}  // namespace

void ReleaseMemory::operator()(char* data) const {
  if (length < kHugePage) {
    delete[] data;
  } else {
    ::munmap(data, length);
  }
}

// The system zero-fills a page as it is first touched, and only then.
void Reserve(OwnedBytes& bytes, std::size_t capacity) {
  if (capacity <= bytes.capacity) return;
  std::unique_ptr<char[], ReleaseMemory> grown(Allocate(capacity), {capacity});
  if (bytes.size != 0) std::memcpy(grown.get(), bytes.data.get(), bytes.size);
  bytes.data = std::move(grown);
  bytes.capacity = capacity;
}

}  // namespace habuki
