#include "core/text/line_range.h"

#include <algorithm>

namespace habuki {

std::size_t LineRange::size() const {
  const std::string_view bytes = text_.Bytes();
  return static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\r'));
}

std::string_view LineRange::back() const {
  std::string_view lines = text_.Bytes();
  lines.remove_suffix(2);
  const std::size_t cr = lines.rfind('\r');
  return cr == std::string_view::npos ? lines : lines.substr(cr + 2);
}

}  // namespace habuki
