#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace habuki {

// A value as the filter reads numbers (blanks, an optional sign, digits with an optional "."
// and digits, blanks), written in one way only: no blanks, no "+", no leading zeros before the
// point, no trailing zeros after it, no point without digits after it, no sign on zero. Two
// values are the same number exactly when their canonical forms are equal: "00000010" and "10",
// "0.0", "-0" and "0", "360.0" and "360". None for a text that is no such number. No floating
// point is involved, so no digit is ever lost.
std::optional<std::string> CanonicalDecimal(std::string_view value);

}  // namespace habuki
