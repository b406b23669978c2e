#pragma once

#include <string>

#include "core/filter/filter_stats.h"

namespace habuki::ui {

// What the window says after a filter run that left out records or entries holding a value
// other than zero: how many of each kind of loss, and its cause. Empty when nothing with a value
// was left out.
std::string LossMessage(const FilterStats& stats);

}  // namespace habuki::ui
