#pragma once

#include <string_view>

#include "core/table/parameter_table.h"

namespace habuki {

// How comparisons of backups match rows and tell whether their values are the same, so that a
// comparison of two backups and one of many agree row for row.

// Digits compare as the numbers they write (a shorter number, once leading zeros go, is the
// smaller), so that parameter 1005 of a 16i backup is 01005 of a 30i one. Negative, 0 or
// positive as a comes before, with or after b.
int CompareNumbers(std::string_view a, std::string_view b);

// The order of the parameters: by number, qualifier, then entry (A2 before A10).
int CompareKeys(const ParameterRow& a, const ParameterRow& b);

inline bool InOrder(const ParameterRow& a, const ParameterRow& b) { return CompareKeys(a, b) < 0; }

// Numbers are compared exactly (CanonicalDecimal); rows of an unhandled kind, and values that
// are no numbers, as the text they are.
bool SameValue(const ParameterRow& a, const ParameterRow& b);

}  // namespace habuki
