#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

namespace habuki {

// Gives memory made by Reserve back to the system.
struct ReleaseMemory {
  std::size_t length = 0;
  void operator()(char* data) const;
};

// Bytes held in memory the program owns, with room to spare after them. On these machines a
// page costs a fault, and a fault microseconds, the first time it is touched: so the memory is
// never zero-filled by the program, room that is never written costs nothing, and a large block
// is asked for in huge pages, which turn a file's thousands of faults into a few; a smaller one
// comes from the heap, where the next file of a batch finds it again.
struct OwnedBytes {
  std::unique_ptr<char[], ReleaseMemory> data;
  std::size_t size = 0;      // bytes held
  std::size_t capacity = 0;  // bytes the memory can hold

  std::string_view view() const { return {data.get(), size}; }
};

// Makes the memory hold at least `capacity` bytes, keeping those held: grows by a copy, and only
// when it must. Throws std::bad_alloc when the system has no memory for it.
void Reserve(OwnedBytes& bytes, std::size_t capacity);

}  // namespace habuki
