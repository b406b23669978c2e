#pragma once

#include <optional>
#include <type_traits>

#include "byte_scan.h"
#include "text_primitives.h"

namespace habuki {

// Whether an entry's value is zero, where that was seen on the way.
enum class Verdict { Zero, NonZero, Unread };

// Where an entry's value lies: after its marker, up to the next entry or the record's end.
struct EntryValue {
  Pos mark;  // the value marker
  Pos end;   // the next entry letter, or the record's end
  bool lastEntry;
  Verdict verdict = Verdict::Unread;
};

// Reads the usual entries of one record: those whose value marker comes before the next entry
// letter and within the record. There the first marker after the entry letter is the earliest
// of the markers after it that the searches over the whole text find, and the entry letter after
// that marker is the next entry: one look at each character finds both. Read(cur) gives nullopt
// for every other entry, which the searches then find.
//
// For 16-bit codes, one code at a time.
class CodeEntryReader {
 public:
  CodeEntryReader(CodeView throughRecord, const char16_t* textEnd, char16_t marker1,
                  char16_t marker2, char16_t entryLetter);
  std::optional<EntryValue> Read(Pos cur) const;

 private:
  CodeView record_;
  char16_t marker1_, marker2_, entryLetter_;
};

// For bytes, 16 at a time: one look finds the marker, a second the next entry letter and reads
// the value between them, when it is digits, a point and blanks. Entries and values are a few
// bytes of every length, so a loop over single bytes would spend its time guessing where each
// ends. Only where 32 bytes are left to read; longer values go to the searches.
class ByteEntryReader {
 public:
  ByteEntryReader(ByteView throughRecord, const char* textEnd, char marker1, char marker2,
                  char entryLetter);
  std::optional<EntryValue> Read(Pos cur) const;

 private:
  ByteView record_;
  const char* textEnd_;
  byte_scan::Letter marker1_, marker2_, entry_;
};

template <typename Unit>
using UsualEntryReader =
    std::conditional_t<std::is_same_v<Unit, char>, ByteEntryReader, CodeEntryReader>;

}  // namespace habuki
