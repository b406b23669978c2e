#pragma once

#include <cstdint>
#include <string_view>

#include "core/table/parameter_table.h"

namespace habuki {

// A row of a parameter table kept in 24 bytes rather than ParameterRow's 96: its fields as
// places in the bytes of the text it was read from, its marker as the letter it is. A comparison
// holds every non-zero row of a backup, which for a backup of values that are all set is
// several times the text. The line is not kept.
class StoredRow {
 public:
  StoredRow(const ParameterRow& row, std::string_view bytes);

  // The row again, its fields views of `bytes`, which must be the text it was read from.
  ParameterRow In(std::string_view bytes) const;

 private:
  std::uint32_t number_;        // where the number starts
  std::uint8_t numberLength_;   // a head is short
  std::uint8_t qualifierFrom_;  // where the qualifier starts, from the number's start
  std::uint8_t qualifierLength_;
  std::uint8_t flags_;  // the marker and whether the value is 0
  std::uint32_t entry_;
  std::uint32_t entryLength_;
  std::uint32_t value_;
  std::uint32_t valueLength_;
};

}  // namespace habuki
