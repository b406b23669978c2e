#pragma once

#include <cstddef>
#include <deque>
#include <vector>

#include "core/parameter_table.h"

namespace habuki {

// One value that differs between two backups. A side without the row has none: a row that is
// missing counts as the value 0, so only a non-zero value can differ from a missing one. A side
// that holds the row with the value 0 (see AddZeroRows) is told apart from one without it.
struct ParameterChange {
  const ParameterRow* before = nullptr;  // in the old backup
  const ParameterRow* after = nullptr;   // in the new backup
};

enum class ChangeKind {
  Changed,    // both sides have the row, the new one not 0
  Added,      // only the new side has it
  Removed,    // only the old side has it
  SetToZero,  // the new side has it as 0
};

ChangeKind KindOf(const ParameterChange& change);

struct ParameterDiff {
  std::vector<ParameterChange> changes;  // in the order of the parameters
  std::size_t changed = 0;
  std::size_t added = 0;
  std::size_t removed = 0;
  std::size_t setToZero = 0;
  std::deque<ParameterRow> zeroRows;  // the rows of value 0 that changes show (AddZeroRows)
};

// Matches the rows of two backups by number, qualifier and entry (the k-th row of a key with
// the k-th of the same key) and gives those whose values differ. Values are compared as exact
// decimal numbers (CanonicalDecimal), rows of unhandled kinds as text, and a row of value 0 is
// as good as none.
ParameterDiff CompareParameters(const std::vector<ParameterRow>& before,
                                const std::vector<ParameterRow>& after);

enum class DiffSide { Before, After };

// Where a change lacks a row on `side`, gives it that side's row of value 0 of the same key, if
// the text holds one: the change then shows the 0, and a removed value counts as set to 0.
// `state` and `kind` are the side's text and format, read again only when some change lacks a
// row there. Comparing only the non-zero rows and looking for zero rows afterwards keeps the
// common comparison, where few values differ, from handling every zero value of both backups.
void AddZeroRows(ParameterDiff& diff, DiffSide side, const FilterState& state, FormatKind kind);

}  // namespace habuki
