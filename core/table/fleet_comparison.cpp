#include "core/table/fleet_comparison.h"

#include <algorithm>
#include <optional>

#include "core/table/held_rows.h"
#include "core/table/row_order.h"

namespace habuki {

namespace {

// A value that counts: a row that is there and not 0.
const ParameterRow* Counted(const ParameterRow* row) {
  return row != nullptr && !row->zero ? row : nullptr;
}

bool Differ(const ParameterRow* a, const ParameterRow* b) {
  const ParameterRow* countedA = Counted(a);
  const ParameterRow* countedB = Counted(b);
  if (countedA == nullptr || countedB == nullptr) return countedA != countedB;
  return !SameValue(*countedA, *countedB);
}

// Walks the held rows of every backup at once in the order of the parameters, each step giving
// the rows of the smallest key: one a backup at most, so that the k-th rows of a key meet.
class FleetWalk {
 public:
  explicit FleetWalk(const std::vector<HeldRows>& held)
      : held_(held), next_(held.size(), 0), current_(held.size()), step_(held.size(), nullptr) {
    for (std::size_t i = 0; i < held_.size(); ++i) Load(i);
  }

  // Moves on to the rows of the next key; false when every backup is through.
  bool Next() {
    for (const std::size_t i : taking_) {
      step_[i] = nullptr;
      ++next_[i];
      Load(i);
    }
    const ParameterRow* smallest = nullptr;
    taking_.clear();
    for (std::size_t i = 0; i < current_.size(); ++i) {
      if (!current_[i]) continue;
      const int order = smallest == nullptr ? -1 : CompareKeys(*current_[i], *smallest);
      if (order < 0) {
        smallest = &*current_[i];
        taking_.clear();
      }
      if (order <= 0) taking_.push_back(i);
    }
    for (const std::size_t i : taking_) step_[i] = &*current_[i];
    return !taking_.empty();
  }

  // The rows of the key, by backup; none where a backup has no (more) row of it.
  const std::vector<const ParameterRow*>& Step() const { return step_; }

 private:
  void Load(std::size_t i) {
    current_[i] = next_[i] < held_[i].size() ? std::optional(held_[i](next_[i])) : std::nullopt;
  }

  const std::vector<HeldRows>& held_;
  std::vector<std::size_t> next_;
  std::vector<std::optional<ParameterRow>> current_;
  std::vector<const ParameterRow*> step_;
  std::vector<std::size_t> taking_;  // the backups whose current rows are the step's
};

// A row's key as a ParameterRow, for CompareKeys.
ParameterRow KeyRow(const FleetKey& key) {
  ParameterRow row;
  row.number = key.number;
  row.qualifier = key.qualifier;
  row.entry = key.entry;
  return row;
}

// Where the table shows a backup's cell as missing, gives it that backup's row of value 0 of the
// same key, if its text holds one: a comparison of the non-zero rows finds what differs, and only
// the rows shown need their zeros. The backup's text is read again only where a cell wants one.
void AddZeroCells(FleetComparison& table, std::size_t member, const FleetMember& backup) {
  std::vector<std::size_t> wanted;  // rows whose cell of `member` is empty, in key order
  for (std::size_t row = 0; row < table.keys.size(); ++row) {
    if (!table.cells[row * table.members + member].present) wanted.push_back(row);
  }
  if (wanted.empty()) return;
  const auto firstAtOrAfter = [&](const ParameterRow& row) {
    return std::lower_bound(wanted.begin(), wanted.end(), row,
                            [&](std::size_t at, const ParameterRow& key) {
                              return InOrder(KeyRow(table.keys[at]), key);
                            });
  };
  const ZeroRowsOf records = [&](std::string_view number, std::string_view qualifier) {
    const auto at = firstAtOrAfter(KeyRow({number, qualifier, {}}));
    return at != wanted.end() && CompareNumbers(table.keys[*at].number, number) == 0 &&
           table.keys[*at].qualifier == qualifier;
  };
  ReadParameters(*backup.state, backup.kind, records, [&](const ParameterRow& row) {
    if (!row.zero) return;
    // The first empty cell of the key: the k-th zero row of a key goes to its k-th such cell.
    for (auto at = firstAtOrAfter(row); at != wanted.end(); ++at) {
      if (CompareKeys(KeyRow(table.keys[*at]), row) != 0) return;
      FleetCell& cell = table.cells[*at * table.members + member];
      if (cell.present) continue;
      cell = {row.value, true, cell.differs};
      return;
    }
  });
}

// The row of a step whose value the others are compared with (see FleetReference): the values
// are grouped as alike, each group counted once per backup, so that a fleet of many costs a
// comparison per backup and group.
const ParameterRow* ReferenceRow(const std::vector<const ParameterRow*>& step,
                                 FleetReference reference) {
  if (reference.against) return step[*reference.against];
  struct Group {
    const ParameterRow* row;
    std::size_t backups;
  };
  std::vector<Group> groups;
  for (const ParameterRow* row : step) {
    const auto alike = std::find_if(groups.begin(), groups.end(),
                                    [&](const Group& group) { return !Differ(group.row, row); });
    if (alike == groups.end()) {
      groups.push_back({row, 1});
    } else {
      ++alike->backups;
    }
  }
  const auto most =
      std::max_element(groups.begin(), groups.end(),
                       [](const Group& a, const Group& b) { return a.backups < b.backups; });
  const bool tied = std::count_if(groups.begin(), groups.end(), [&](const Group& group) {
                      return group.backups == most->backups;
                    }) > 1;
  return tied ? step.front() : most->row;
}

void AddRow(FleetComparison& table, const std::vector<const ParameterRow*>& step, bool differs,
            FleetReference reference) {
  const ParameterRow& key =
      **std::find_if(step.begin(), step.end(), [](const ParameterRow* row) { return row; });
  table.keys.push_back({key.number, key.qualifier, key.entry});
  const ParameterRow* compared = ReferenceRow(step, reference);
  for (const ParameterRow* row : step) {
    table.cells.push_back(
        {row ? row->value : std::string_view(), row != nullptr, Differ(compared, row)});
  }
  table.differing += differs ? 1 : 0;
}

}  // namespace

bool FleetComparison::Failed() const {
  return std::any_of(readings.begin(), readings.end(),
                     [](const ParameterReading& reading) { return reading.error.has_value(); });
}

FleetComparison CompareFleet(std::span<const FleetMember> members, FleetRows rows,
                             FleetReference reference) {
  FleetComparison table;
  table.members = members.size();
  table.readings.resize(members.size());
  // Every row of every backup only where every row is shown: nearly every value is 0, and a
  // comparison of many backups would hold each several times over.
  const RowsWanted wanted = rows == FleetRows::All ? RowsWanted::All : RowsWanted::NonZero;
  std::vector<HeldRows> held;
  held.reserve(members.size());
  for (std::size_t i = 0; i < members.size(); ++i) {
    held.push_back(Hold(*members[i].state, members[i].kind, wanted, table.readings[i]));
  }
  if (table.Failed() || members.empty()) return table;
  for (const HeldRows& rows : held) {
    std::size_t values = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) values += rows(i).zero ? 0 : 1;
    table.values.push_back(values);
  }
  FleetWalk walk(held);
  while (walk.Next()) {
    const auto& step = walk.Step();
    const bool differs = std::any_of(step.begin() + 1, step.end(), [&](const ParameterRow* row) {
      return Differ(step.front(), row);
    });
    if (differs || rows == FleetRows::All) AddRow(table, step, differs, reference);
  }
  held.clear();
  if (wanted == RowsWanted::NonZero) {
    for (std::size_t i = 0; i < members.size(); ++i) AddZeroCells(table, i, members[i]);
  }
  return table;
}

}  // namespace habuki
