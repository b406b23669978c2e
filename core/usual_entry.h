#pragma once

#include "core/byte_scan.h"
#include "core/text_primitives.h"

namespace habuki {

// The usual entries that ReadRun read in a row, from the entry letter it was given.
struct EntryRun {
  Pos entries = 0;  // kept or not
  Pos keptEntries = 0;
  Pos zeroEntries = 0;
  bool recordDone = false;  // the last of them was the record's last entry
  Pos next = 0;             // otherwise: the entry letter of the entry it left unread
};

// Reads the usual entries of one record: those whose value marker comes before the next entry
// letter and within the record. There the first marker after the entry letter is the earliest
// of the markers after it that the searches over the whole text find, and the entry letter after
// that marker is the next entry. ReadRun reads such entries in a row, at most `most` of them,
// gives each to `sink` (Entry) and stops at any other entry, for the
// searches to find, and at any value that is not digits, a point and blanks, for decimalValue.
//
// It looks at 16 characters at a time (see byte_scan.h): one look finds the marker and nearly
// always the next entry letter, and reads the value between them from the same bits. Only where
// 32 characters are left to read; longer values go to the searches.
template <typename Unit>
class UsualEntryReader {
 public:
  UsualEntryReader(UnitView<Unit> throughRecord, const Unit* textEnd, Unit marker1, Unit marker2,
                   Unit entryLetter);
  template <typename Sink>
  EntryRun ReadRun(Pos cur, Pos most, Sink& sink) const;

 private:
  UnitView<Unit> record_;
  std::size_t readable_;  // characters of the text from the record's text start on
  byte_scan::Letter marker1_, marker2_, entry_;
};

}  // namespace habuki
