#include "report/bits_text.h"

#include <vector>

#include "core/table/changed_bits.h"

namespace habuki {

std::string BitChangesText(std::string_view before, std::string_view after) {
  std::string text;
  for (const BitChange& bit : ChangedBits(before, after)) {
    if (!text.empty()) text += ", ";
    text += "#" + std::to_string(bit.bit) + " " + bit.before + "->" + bit.after;
  }
  return text;
}

std::string DifferingBitsText(std::span<const FleetCell> cells) {
  if (cells.size() == 2 && cells[0].present && cells[1].present) {
    return BitChangesText(cells[0].value, cells[1].value);
  }
  std::vector<std::string_view> values;
  for (const FleetCell& cell : cells) {
    if (cell.present) values.push_back(cell.value);
  }
  std::string text;
  for (const int bit : DifferingBits(values)) {
    text += (text.empty() ? "#" : ", #") + std::to_string(bit);
  }
  return text;
}

}  // namespace habuki
