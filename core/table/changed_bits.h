#pragma once

#include <string_view>
#include <vector>

namespace habuki {

// One bit of a bit parameter whose digit differs between two values, numbered as the control
// numbers it: #7 the leftmost digit, #0 the rightmost.
struct BitChange {
  int bit = 0;
  char before = '0';
  char after = '0';

  bool operator==(const BitChange&) const = default;
};

// A bit parameter's value is written as exactly 8 binary digits. Gives the bits that differ
// between two such values, from #7 down to #0; none when either value is not exactly 8 digits
// each 0 or 1, since then its digits are not bits.
std::vector<BitChange> ChangedBits(std::string_view before, std::string_view after);

// The bits whose digit is not the same in all of `values`, from #7 down; none when fewer than
// two values are given or one of them is not exactly 8 digits each 0 or 1.
std::vector<int> DifferingBits(const std::vector<std::string_view>& values);

}  // namespace habuki
