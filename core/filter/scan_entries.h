#pragma once

#include <string>

#include "core/filter/format_profile.h"
#include "core/filter/letter_finder.h"

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

// Walks the entries of `record` from left to right and gives each to `sink` (Entry), with its
// characters unchanged, the last one with the record's line break; kept and zero entries are
// counted. The search for a value marker runs over the whole text, not just the record.
// When no marker follows anywhere in the text, that entry and all later ones of the record are
// dropped and counted in unmarkedEntries. Throws FilterFailure for an entry whose nearest
// marker lies beyond it (the next entry or the record's end) and for the entry limit.
template <typename Unit, typename Sink>
EntryScan ScanEntries(LetterFinder<Unit>& text, const FormatProfile& profile,
                      const EntryRecord<Unit>& record, Sink& sink);

}  // namespace habuki
