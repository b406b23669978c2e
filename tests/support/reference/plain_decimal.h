#pragma once

#include <optional>
#include <string_view>

namespace habuki::reference {

struct PlainNumber {
  bool zero;
};

// A second reading of a parameter value, written as a table-driven state machine so that it
// shares nothing with the filter's own reader: blanks (space, tab, CR, LF), an optional sign,
// digits with an optional "." and digits, or "." and digits, then blanks. Nothing for a text
// that is not such a number.
std::optional<PlainNumber> ReadPlainNumber(std::u16string_view value);

}  // namespace habuki::reference
