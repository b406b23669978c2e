#include "core/table/held_rows.h"

#include <optional>

namespace habuki {

void HeldRows::Order() {
  order_.clear();
  // Each row made once: the check is most of the work, as a backup is in order already.
  std::optional<ParameterRow> previous;
  for (const StoredRow& stored : rows_) {
    const ParameterRow row = stored.In(bytes_);
    if (previous && InOrder(row, *previous)) {
      order_ = OrderOf(rows_.size(), [&](std::size_t at) { return rows_[at].In(bytes_); });
      return;
    }
    previous = row;
  }
}

HeldRows Hold(const FilterState& state, FormatKind kind, RowsWanted wanted,
              ParameterReading& reading) {
  HeldRows held(state.AllText.Bytes());
  reading = ReadParameters(state, kind, wanted, [&](const ParameterRow& row) { held.Add(row); });
  held.Order();
  return held;
}

}  // namespace habuki
