#pragma once

#include <span>
#include <string>
#include <string_view>

#include "core/table/fleet_comparison.h"

namespace habuki {

// The bits of a bit parameter that changed from `before` to `after`, "#7 0->1, #0 1->0"; empty
// where either is no bit pattern.
std::string BitChangesText(std::string_view before, std::string_view after);

// The bits of a bit parameter that differ among the files of a table's row: of two files the
// changes from the first to the second, as BitChangesText; of more, the bits alone, "#7, #2".
// Only the values the files have count; empty where fewer than two have one, or where one is no
// bit pattern.
std::string DifferingBitsText(std::span<const FleetCell> cells);

}  // namespace habuki
