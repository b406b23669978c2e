#pragma once

#include <cstddef>
#include <vector>

#include "core/parameter_table.h"

namespace habuki {

// One value that differs between two backups. A side without the row has none: a row that is
// missing counts as the value 0, so only a non-zero value can differ from a missing one.
struct ParameterChange {
  const ParameterRow* before = nullptr;  // in the old backup
  const ParameterRow* after = nullptr;   // in the new backup
};

struct ParameterDiff {
  std::vector<ParameterChange> changes;  // in the order of the parameters
  std::size_t changed = 0;               // both sides have the row
  std::size_t added = 0;                 // only the new side has it
  std::size_t removed = 0;               // only the old side has it
};

// Matches the rows of two backups by number, qualifier and entry (the k-th row of a key with
// the k-th of the same key) and gives those whose values differ. Values are compared as exact
// decimal numbers (CanonicalDecimal), rows of unhandled kinds as text.
ParameterDiff CompareParameters(const std::vector<ParameterRow>& before,
                                const std::vector<ParameterRow>& after);

}  // namespace habuki
