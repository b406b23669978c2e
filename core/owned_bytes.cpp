#include "core/owned_bytes.h"

#include <cstring>

namespace habuki {

void Reserve(OwnedBytes& bytes, std::size_t capacity) {
  if (capacity <= bytes.capacity) return;
  auto grown = std::make_unique_for_overwrite<char[]>(capacity);
  if (bytes.size != 0) std::memcpy(grown.get(), bytes.data.get(), bytes.size);
  bytes.data = std::move(grown);
  bytes.capacity = capacity;
}

}  // namespace habuki
