#pragma once

#include <string_view>

#include "core/filter/filter_state.h"
#include "core/text/filter_failure.h"

namespace habuki {

// The constants that make one format's filter out of the shared record loop.
struct FormatProfile {
  Pos headLength;                        // characters of the head, from the "N" inclusive
  std::u16string_view singleValueKinds;  // kind letters of records that carry one value
  std::u16string_view multiEntryKinds;   // kind letters of records made of entries
  std::u16string_view valueMarkers;      // letters that start an entry's value
  bool copiesPreamble;                   // text between the first line and the first "N" is kept
};

const FormatProfile& ProfileFor(FormatKind kind);

// The name a format goes by: what -f takes, and what messages and tables show.
std::string_view FormatName(FormatKind kind);

}  // namespace habuki
