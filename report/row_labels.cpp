#include "report/row_labels.h"

#include <algorithm>

namespace habuki {

std::string AxisAcross(std::string_view entry, std::span<const AxisNames> axes) {
  std::string_view named;
  bool differ = false;
  for (const AxisNames& names : axes) {
    const std::string_view name = names.NameOf(entry);
    if (name.empty()) continue;
    differ = differ || (!named.empty() && name != named);
    if (named.empty()) named = name;
  }
  if (!differ) return std::string(named);
  std::string each;
  for (const AxisNames& names : axes) {
    const std::string_view name = names.NameOf(entry);
    each += (each.empty() ? "" : "/") + std::string(name.empty() ? "-" : name);
  }
  return each;
}

std::string_view NameOf(std::string_view number, const ParameterNames* names) {
  return names != nullptr ? names->NameOf(number).value_or("") : "";
}

}  // namespace habuki
