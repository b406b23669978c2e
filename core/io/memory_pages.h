#pragma once

#include <cstddef>

namespace habuki {

// Memory straight from the system, zero-filled by it a page at a time as each is first touched,
// in huge pages where the system has them. Throws std::bad_alloc when it has none to give.
char* MapPages(std::size_t size);
void UnmapPages(char* data, std::size_t size);

}  // namespace habuki
