#include "core/io/owned_bytes.h"

#include <cstring>
#include <new>

#include "core/io/memory_pages.h"

namespace habuki {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

// Less than a huge page comes from the heap, whose pages the next file of a batch takes again
// without a fault; more is an anonymous mapping of its own, which can ask for huge pages.
char* Allocate(std::size_t capacity) {
  if (capacity < kHugePage) return new char[capacity];  // left as it is: never zero-filled
  return MapPages(capacity);
}

}  // namespace

void ReleaseMemory::operator()(char* data) const {
  if (length < kHugePage) {
    delete[] data;
  } else {
    UnmapPages(data, length);
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
