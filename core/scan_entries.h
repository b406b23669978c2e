#pragma once

#include <string>

#include "core/format_profile.h"
#include "core/letter_finder.h"

namespace habuki {

// A record that carries several values, each in an entry of its own.
struct EntryRecord {
  Pos pos;               // the record's "N"
  Pos nextPos;           // the next record's "N", or the closing "%"
  char16_t entryLetter;  // the kind letter, which also starts every entry
};

struct EntryScan {
  std::u16string kept;  // the surviving entries joined, the last one with the record's line break
  Pos zeroEntries = 0;
  Pos unmarkedEntries = 0;

  // Empties the scan for the next record, keeping the buffer's memory.
  void Reset() {
    kept.clear();
    zeroEntries = unmarkedEntries = 0;
  }
};

// Walks the entries of `record` from left to right and collects those whose value is not zero,
// with their characters unchanged; zero entries are counted in zeroEntries. The search for a
// value marker runs over the whole text, not just the record. When no marker follows anywhere
// in the text, that entry and all later ones of the record are dropped and counted in
// unmarkedEntries. Throws FilterFailure for an entry whose nearest marker lies beyond it (the
// next entry or the record's end) and for the entry limit.
void ScanEntries(LetterFinder& text, const FormatProfile& profile, const EntryRecord& record,
                 EntryScan& scan);

}  // namespace habuki
