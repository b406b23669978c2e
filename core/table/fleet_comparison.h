#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "core/filter/filter_state.h"
#include "core/table/parameter_table.h"

namespace habuki {

// One loaded backup of a fleet and the format to read it with.
struct FleetMember {
  const FilterState* state;
  FormatKind kind;
};

// A row's key in the fleet table: as the first backup that has the row writes it.
struct FleetKey {
  std::string_view number;
  std::string_view qualifier;
  std::string_view entry;
};

// One backup's value of a row.
struct FleetCell {
  std::string_view value;  // as written; empty where the backup has no such row
  bool present = false;    // the backup has the row, perhaps as 0
  bool differs = false;    // its value is not the row's reference value (a missing row counts
                           // as 0): see FleetReference
};

// Which rows the table holds: those whose values differ, or every row any backup has.
enum class FleetRows { Differing, All };

// What a cell's value is compared with to mark it as differing: the value most backups have in
// its row, or the first backup's where no one value has the most; or, given `against`, that
// backup's value. Of two backups, the first's either way: the odd one out of a fleet is the one
// to see, whichever column it stands in.
struct FleetReference {
  std::optional<std::size_t> against;  // the backup, by its place among the members
};

// The rows of many backups side by side, each matched and compared as CompareBackups matches and
// compares two, and what reading each backup gave.
struct FleetComparison {
  std::size_t members = 0;
  std::vector<FleetKey> keys;              // in the order of the parameters
  std::vector<FleetCell> cells;            // keys.size() rows of `members` cells
  std::vector<ParameterReading> readings;  // one a backup
  std::vector<std::size_t> values;         // each backup's values that are not 0
  std::size_t differing = 0;               // rows whose values differ

  std::span<const FleetCell> Row(std::size_t row) const {
    return std::span(cells).subspan(row * members, members);
  }
  // Whether some backup broke its format's rules: then the table holds nothing.
  bool Failed() const;
};

// Reads each backup, its rows held in 24 bytes each (StoredRow), and matches the rows by number,
// qualifier and entry (the k-th row of a key with the k-th of the same key in every backup), as
// CompareBackups matches two. A row differs when the backups' values are not all alike; a
// missing row and a row of value 0 are alike there, but each shows as what it is. Only the
// non-zero rows are held for the rows that differ, and the zero rows that the table shows are
// read afterwards, from the backups that lack a value there; FleetRows::All holds every row.
// Every backup is read even when one fails, so that one run tells of them all.
FleetComparison CompareFleet(std::span<const FleetMember> members, FleetRows rows,
                             FleetReference reference = {});

}  // namespace habuki
