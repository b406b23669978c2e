#pragma once

#include <type_traits>

#include "byte_scan.h"
#include "kept_record.h"
#include "text_primitives.h"

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
// that marker is the next entry: one look at each character finds both. ReadRun reads such
// entries in a row, at most `most` of them, appends those whose value is not zero to `kept` and
// stops at any other entry, for the searches to find. A value that is no number throws
// FilterFailure as IsNonZeroValue does, or is left to it.
//
// For 16-bit codes, one code at a time.
class CodeEntryReader {
 public:
  CodeEntryReader(CodeView throughRecord, const char16_t* textEnd, char16_t marker1,
                  char16_t marker2, char16_t entryLetter);
  EntryRun ReadRun(Pos cur, Pos most, KeptRecord<char16_t>& kept) const;

 private:
  CodeView record_;
  char16_t marker1_, marker2_, entryLetter_;
};

// For bytes, 16 at a time: one look finds the marker and nearly always the next entry letter,
// and reads the value between them from the same bits when it is digits, a point and blanks.
// Entries and values are a few bytes of every length, so a loop over single bytes would spend
// its time guessing where each ends. Only where 32 bytes are left to read; longer values, and
// values of any other form, are left to the searches and decimalValue.
class ByteEntryReader {
 public:
  ByteEntryReader(ByteView throughRecord, const char* textEnd, char marker1, char marker2,
                  char entryLetter);
  EntryRun ReadRun(Pos cur, Pos most, KeptRecord<char>& kept) const;

 private:
  ByteView record_;
  std::size_t readable_;  // bytes of the text from the record's text start on
  byte_scan::Letter marker1_, marker2_, entry_;
};

template <typename Unit>
using UsualEntryReader =
    std::conditional_t<std::is_same_v<Unit, char>, ByteEntryReader, CodeEntryReader>;

}  // namespace habuki
