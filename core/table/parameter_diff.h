#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "core/table/parameter_table.h"

namespace habuki {

// One value that differs between two backups. A side without the row has none: a row that is
// missing counts as the value 0, so only a non-zero value can differ from a missing one. A side
// that holds the row with the value 0 is told apart from one without it.
struct ParameterChange {
  std::optional<ParameterRow> before;  // in the old backup
  std::optional<ParameterRow> after;   // in the new backup
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
};

// Matches the rows of two backups by number, qualifier and entry (the k-th row of a key with
// the k-th of the same key) and gives those whose values differ. Values are compared as exact
// decimal numbers (CanonicalDecimal), rows of unhandled kinds as text, and a row of value 0 is
// as good as none.
ParameterDiff CompareParameters(const std::vector<ParameterRow>& before,
                                const std::vector<ParameterRow>& after);

// What comparing two loaded backups found, and what reading each of them gave.
struct BackupComparison {
  ParameterDiff diff;  // nothing when a side breaks its format's rules
  ParameterReading before;
  ParameterReading after;
};

// Compares the non-zero rows of two loaded backups as CompareParameters does, read with the
// format of each. The old backup's rows are held, each in 24 bytes (StoredRow); the new
// backup's are compared as they are read, which a backup in the order of its parameters allows
// (one that is not is held and ordered too). Where a change lacks a row on a side, that side's
// row of value 0 of the same key is looked for and shown, and a removed value that is there as
// 0 counts as set to 0: comparing only the non-zero rows, and looking for zero rows only where
// a change needs them, keeps the common comparison, where few values differ, from handling
// every zero value of both backups.
BackupComparison CompareBackups(const FilterState& before, FormatKind beforeKind,
                                const FilterState& after, FormatKind afterKind);

}  // namespace habuki
