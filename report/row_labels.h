#pragma once

#include <span>
#include <string>
#include <string_view>

#include "core/table/axis_names.h"
#include "core/table/parameter_names.h"

namespace habuki {

// What labels a backup's rows in a table: its axis names, and the user's names of parameters
// (none: no name column).
struct RowLabels {
  AxisNames axes;
  const ParameterNames* names = nullptr;
};

// The axis an entry stands for in the backups compared: the one name where those that name it
// agree, each backup's in their order where they differ ("X/Y", "-" for a backup without a
// name); empty where none names it.
std::string AxisAcross(std::string_view entry, std::span<const AxisNames> axes);

// The user's name of a parameter, empty where it has none or no names were given.
std::string_view NameOf(std::string_view number, const ParameterNames* names);

}  // namespace habuki
