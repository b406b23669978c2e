#include "core/filter/header_lines.h"

#include <algorithm>

namespace habuki {

std::vector<std::string_view> HeaderLines(std::string_view bytes) {
  std::string_view rest = FromPercentLine(bytes);
  std::vector<std::string_view> lines;
  bool percentLine = rest.starts_with('%');
  while (!rest.empty() && !rest.starts_with('N')) {
    const std::size_t end = std::min(rest.find_first_of("\r\n"), rest.size());
    const std::string_view line = rest.substr(0, end);
    const bool blank = line.find_first_not_of(" \t") == std::string_view::npos;
    if (!percentLine && !blank) lines.push_back(line);
    percentLine = false;
    rest.remove_prefix(end);
    rest.remove_prefix(std::min(rest.find_first_not_of("\r\n"), rest.size()));
  }
  return lines;
}

}  // namespace habuki
