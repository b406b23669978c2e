#include "core/table/changed_bits.h"

#include <algorithm>

namespace habuki {

namespace {

constexpr std::size_t kBits = 8;

bool IsBitPattern(std::string_view value) {
  return value.size() == kBits &&
         std::ranges::all_of(value, [](char digit) { return digit == '0' || digit == '1'; });
}

}  // namespace

std::vector<BitChange> ChangedBits(std::string_view before, std::string_view after) {
  std::vector<BitChange> bits;
  if (!IsBitPattern(before) || !IsBitPattern(after)) return bits;
  for (std::size_t i = 0; i < kBits; ++i) {
    if (before[i] != after[i]) {
      bits.push_back({static_cast<int>(kBits - 1 - i), before[i], after[i]});
    }
  }
  return bits;
}

std::vector<int> DifferingBits(const std::vector<std::string_view>& values) {
  std::vector<int> bits;
  if (values.size() < 2 || !std::ranges::all_of(values, IsBitPattern)) return bits;
  for (std::size_t i = 0; i < kBits; ++i) {
    const auto differs = [&](std::string_view value) { return value[i] != values.front()[i]; };
    if (std::ranges::any_of(values, differs)) bits.push_back(static_cast<int>(kBits - 1 - i));
  }
  return bits;
}

}  // namespace habuki
