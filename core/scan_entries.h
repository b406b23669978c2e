#pragma once

#include <string>

#include "format_profile.h"
#include "kept_record.h"
#include "letter_finder.h"

namespace habuki {

// A record that carries several values, each in an entry of its own.
template <typename Unit>
struct EntryRecord {
  Pos pos;           // the record's "N"
  Pos nextPos;       // the next record's "N", or the closing "%"
  Unit entryLetter;  // the kind letter, which also starts every entry
};

struct EntryScan {
  Pos keptEntries = 0;
  Pos zeroEntries = 0;
  Pos unmarkedEntries = 0;
};

// Walks the entries of `record` from left to right and appends to `kept` those whose value is
// not zero, unchanged, the last one with the record's line break. Searches run over the
// whole text, not just the record. Throws FilterFailure for an entry without its own value
// marker and for the entry limit.
template <typename Unit>
EntryScan ScanEntries(LetterFinder<Unit>& text, const FormatProfile& profile,
                      const EntryRecord<Unit>& record, KeptRecord<Unit>& kept);

}  // namespace habuki
