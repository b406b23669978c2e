#include "core/table/header_comparison.h"

#include <algorithm>
#include <functional>

namespace habuki {

std::vector<HeaderLineAcross> DifferingHeaderLines(
    const std::vector<std::vector<std::string_view>>& files) {
  std::size_t longest = 0;
  for (const auto& lines : files) longest = std::max(longest, lines.size());
  std::vector<HeaderLineAcross> differing;
  for (std::size_t i = 0; i < longest; ++i) {
    HeaderLineAcross line;
    for (const auto& lines : files) {
      line.push_back(i < lines.size() ? std::optional(lines[i]) : std::nullopt);
    }
    if (std::adjacent_find(line.begin(), line.end(), std::not_equal_to<>()) != line.end()) {
      differing.push_back(std::move(line));
    }
  }
  return differing;
}

}  // namespace habuki
