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

void AddRow(FleetComparison& table, const std::vector<const ParameterRow*>& step, bool differs) {
  const ParameterRow& key =
      **std::find_if(step.begin(), step.end(), [](const ParameterRow* row) { return row; });
  table.keys.push_back({key.number, key.qualifier, key.entry});
  for (const ParameterRow* row : step) {
    table.cells.push_back(
        {row ? row->value : std::string_view(), row != nullptr, Differ(step.front(), row)});
  }
  table.differing += differs ? 1 : 0;
}

}  // namespace

bool FleetComparison::Failed() const {
  return std::any_of(readings.begin(), readings.end(),
                     [](const ParameterReading& reading) { return reading.error.has_value(); });
}

FleetComparison CompareFleet(std::span<const FleetMember> members, FleetRows rows) {
  FleetComparison table;
  table.members = members.size();
  table.readings.resize(members.size());
  std::vector<HeldRows> held;
  held.reserve(members.size());
  for (std::size_t i = 0; i < members.size(); ++i) {
    held.push_back(Hold(*members[i].state, members[i].kind, RowsWanted::All, table.readings[i]));
  }
  if (table.Failed() || members.empty()) return table;
  FleetWalk walk(held);
  while (walk.Next()) {
    const auto& step = walk.Step();
    const bool differs = std::any_of(step.begin() + 1, step.end(), [&](const ParameterRow* row) {
      return Differ(step.front(), row);
    });
    if (differs || rows == FleetRows::All) AddRow(table, step, differs);
  }
  return table;
}

}  // namespace habuki
