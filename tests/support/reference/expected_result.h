#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/filter/filter_state.h"

namespace habuki::reference {

struct ExpectedRun {
  std::u16string result;    // OutText after the run
  std::size_t recordsRead;  // records from the first "N" up to the closing "%"
  std::size_t recordsKept;
};

// What a filter run over `text` must give, worked out afresh from the rules the manual states,
// on 0-based indices and with a number reader of its own (plain_decimal.h): nothing when the run
// must fail. The result is assembled only from the frame, slices of `text` and the one LF that ends
// a record whose kept part does not end in one, so a run that matches it never writes a character
// that was not read, nor one out of its order.
std::optional<ExpectedRun> ExpectedResult(std::u16string_view text, FormatKind kind,
                                          const std::u16string_view* comment);

}  // namespace habuki::reference
