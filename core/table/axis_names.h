#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/filter/filter_state.h"
#include "core/table/parameter_table.h"

namespace habuki {

// The program names of a backup's axes, as its parameter 1020 gives them: one entry an axis, its
// value the character code of the name (88 for X). Rows of per-axis parameters, whose entries
// "A1", "A2"... are the axes, then read as a person at the machine knows them: "A1 (X)".
class AxisNames {
 public:
  // Takes one row of a backup. Only the entries "A" of parameter 1020 (written 01020 in a 30i
  // backup, 1020 in a 16i one) name an axis, and only with the code of a printable character
  // other than the space; every other row changes nothing. An axis keeps the first name it is
  // given. Rows of value 0 name no axis, so the non-zero rows are enough.
  void Add(const ParameterRow& row);

  // The name of the axis that an entry of a per-axis parameter ("A1") stands for; empty for an
  // axis without a name, or an entry that is not "A" and digits. A view of this object's bytes.
  std::string_view NameOf(std::string_view entry) const;

  bool empty() const { return axes_.empty(); }

 private:
  struct Axis {
    std::string index;  // the digits of its entry, as the backup writes them
    char name;
  };
  std::vector<Axis> axes_;  // a few: a control has some dozens of axes at most
};

// The axis names of a loaded backup, read from its non-zero rows; none when the backup breaks
// its format's rules. A table that prints rows as it reads them needs the names before the rows
// of 1005 and other parameters before 1020, hence a reading of its own.
AxisNames ReadAxisNames(const FilterState& state, FormatKind kind);

}  // namespace habuki
