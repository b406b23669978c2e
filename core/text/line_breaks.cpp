#include "core/text/line_breaks.h"

#include <cstring>

namespace habuki {

namespace {

bool EndsWithLineBreak(std::string_view bytes) {
  return bytes.ends_with('\r') || bytes.ends_with("\r\n");
}

}  // namespace

std::size_t LineBreakGrowth(std::string_view bytes) {
  if (bytes.empty()) return 0;
  std::size_t growth = EndsWithLineBreak(bytes) ? 0 : 2;
  for (std::size_t cr = bytes.find('\r'); cr != std::string_view::npos;
       cr = bytes.find('\r', cr + 1)) {
    growth += cr + 1 == bytes.size() || bytes[cr + 1] != '\n';
  }
  return growth;
}

// Works from the back, so that every byte moves once, straight to where it belongs: behind the
// last lone CR, everything moves by the number of LFs still to add.
void CompleteLineBreaks(char* data, std::size_t size, std::size_t growth) {
  if (growth == 0) return;
  std::size_t pending = growth;
  if (!EndsWithLineBreak({data, size})) {
    std::memcpy(data + size + growth - 2, "\r\n", 2);
    pending -= 2;
  }
  char* tail = data + size;  // the bytes before it have not moved yet
  char* searchEnd = tail;
  while (pending > 0) {
    char* const cr =
        data + std::string_view(data, static_cast<std::size_t>(searchEnd - data)).rfind('\r');
    searchEnd = cr;
    const bool lone = cr + 1 == data + size || cr[1] != '\n';
    if (!lone) continue;
    std::memmove(cr + 1 + pending, cr + 1, static_cast<std::size_t>(tail - (cr + 1)));
    cr[pending] = '\n';
    --pending;
    tail = cr + 1;
  }
}

}  // namespace habuki
