#pragma once

#include "core/text/byte_scan.h"
#include "core/text/text_primitives.h"

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
// searches to find, and at any value that is not digits, a point and blanks, for IsNonZeroValue.
//
// It looks at 64 characters at a time, as four looks of 16 side by side (see byte_scan.h), and
// reads every entry that ends within them from the same bits, with no look of its own. The record
// ends at `recordEnd`, the letter that follows it: the next record's "N" or the closing "%",
// neither of which occurs within a record (or "N" where the record runs to the end of the text,
// for then no "N" follows), so the look that finds the next entry letter finds the end as well.
// An entry that does not end within the sight that starts with the look holding the character
// after its entry letter (49 to 64 characters on) goes to the searches.
template <typename Unit>
class UsualEntryReader {
 public:
  UsualEntryReader(UnitView<Unit> throughRecord, const Unit* textEnd, Unit marker1, Unit marker2,
                   Unit entryLetter, Unit recordEnd);
  template <typename Sink>
  EntryRun ReadRun(Pos cur, Pos most, Sink& sink) const;

 private:
  // What up to four looks from `from` found, one bit per character.
  struct Sight {
    std::size_t from = 0;
    byte_scan::WideBits ends = 0;  // entry letters and the record's end
    byte_scan::WideBits markers = 0;
    byte_scan::NumberBits number;
  };
  // What a sight tells of the entry after an entry letter: where its value marker and its end
  // (the next entry letter, or the record's end) lie in the sight, and whether its value is a
  // plain number and whether that is not zero.
  struct Entry {
    std::size_t mark;
    std::size_t end;
    bool usual;
    bool nonZero;
  };

  Sight LookFrom(std::size_t at) const;
  Entry Read(const Sight& sight, byte_scan::WideBits start, byte_scan::WideBits ends) const;

  UnitView<Unit> record_;
  std::size_t readable_;               // characters of the text from the record's text start on
  byte_scan::Letters markers_, ends_;  // ends_: the entry letter and the record's end
};

}  // namespace habuki
