#include "core/table/held_rows.h"

namespace habuki {

void HeldRows::Order() {
  const bool ordered = std::is_sorted(
      rows_.begin(), rows_.end(),
      [&](const StoredRow& a, const StoredRow& b) { return InOrder(a.In(bytes_), b.In(bytes_)); });
  order_.clear();
  if (!ordered) order_ = OrderOf(rows_.size(), [&](std::size_t i) { return rows_[i].In(bytes_); });
}

HeldRows Hold(const FilterState& state, FormatKind kind, RowsWanted wanted,
              ParameterReading& reading) {
  HeldRows held(state.AllText.Bytes());
  reading = ReadParameters(state, kind, wanted, [&](const ParameterRow& row) { held.Add(row); });
  held.Order();
  return held;
}

}  // namespace habuki
