#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

namespace habuki {

// Bytes held in memory the program owns, with room to spare after them. The memory is never
// zero-filled: on these machines a page costs a fault the first time it is touched, so a page is
// touched only when bytes are written to it, and room that is never used costs nothing.
struct OwnedBytes {
  std::unique_ptr<char[]> data;
  std::size_t size = 0;      // bytes held
  std::size_t capacity = 0;  // bytes the memory can hold

  std::string_view view() const { return {data.get(), size}; }
};

// Makes the memory hold at least `capacity` bytes, keeping those held: grows by a copy, and only
// when it must.
void Reserve(OwnedBytes& bytes, std::size_t capacity);

}  // namespace habuki
