#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <string_view>
#include <vector>

#include "core/table/parameter_table.h"
#include "core/table/row_order.h"
#include "core/table/stored_row.h"

namespace habuki {

// The indices of `count` rows in the order of the parameters, stable. A backup is in that order
// already, so sorting is only the fallback.
template <typename RowAt>
std::vector<std::uint32_t> OrderOf(std::size_t count, RowAt rowAt) {
  std::vector<std::uint32_t> order(count);
  for (std::size_t i = 0; i < count; ++i) order[i] = static_cast<std::uint32_t>(i);
  const auto before = [&](std::uint32_t a, std::uint32_t b) { return InOrder(rowAt(a), rowAt(b)); };
  if (!std::is_sorted(order.begin(), order.end(), before)) {
    std::stable_sort(order.begin(), order.end(), before);
  }
  return order;
}

// A backup's rows held compactly (StoredRow), given in the order of the parameters.
class HeldRows {
 public:
  explicit HeldRows(std::string_view bytes) : bytes_(bytes) {}

  void Add(const ParameterRow& row) { rows_.emplace_back(row, bytes_); }
  // Finds where the rows stand in the order of the parameters, once all are added.
  void Order();

  ParameterRow operator()(std::size_t i) const {
    return rows_[order_.empty() ? i : order_[i]].In(bytes_);
  }
  std::size_t size() const { return rows_.size(); }

 private:
  std::string_view bytes_;
  std::deque<StoredRow> rows_;
  std::vector<std::uint32_t> order_;  // empty while they are in it already, as a backup's are
};

// Reads the rows of a loaded backup that `wanted` asks for and holds them.
HeldRows Hold(const FilterState& state, FormatKind kind, RowsWanted wanted,
              ParameterReading& reading);

}  // namespace habuki
