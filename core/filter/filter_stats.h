#pragma once

#include <optional>

#include "core/filter/text_place.h"
#include "core/text/filter_failure.h"

namespace habuki {

// Where and why a run failed.
struct FilterError {
  FailureKind kind;
  TextPlace at;      // where the failing value, entry or record starts
  TextPlace record;  // the record being filtered when the run failed
  // A line within that record that is no record, such as a note between two records: the
  // record's value ran into it, so it is what to look at.
  std::optional<TextPlace> strayLine;

  friend bool operator==(const FilterError&, const FilterError&) = default;
};

// What one filter run did with the records it read.
struct FilterStats {
  Pos recordsRead = 0;
  Pos recordsKept = 0;
  Pos recordsZero = 0;       // value zero, or every entry zero
  Pos recordsUnhandled = 0;  // dropped because the format has no rule for their kind letter
  Pos recordsAfterEnd = 0;   // records after the closing "%", which ends the text
  // Of those, the ones that hold a value that is not zero, or that cannot be told to be zero
  // (a kind without a rule, a value that is no number): what is lost by their being after it.
  Pos recordsLostAfterEnd = 0;
  Pos entriesZero = 0;       // entries of multi-entry records dropped as zero
  Pos entriesUnmarked = 0;   // entries dropped because no value marker follows them anywhere
  Pos recordsNotChosen = 0;  // left out for their numbers (FilterState::Numbers)
  // The first record of each kind of loss that is not a zero value, for the user to look at.
  std::optional<TextPlace> firstUnhandled;
  std::optional<TextPlace> firstUnmarked;
  std::optional<TextPlace> firstLostAfterEnd;
  std::optional<TextPlace> firstNotChosen;

  // Records and entries dropped without their value being zero: usually the wrong format.
  Pos LostWithoutZero() const { return recordsUnhandled + recordsLostAfterEnd + entriesUnmarked; }
  // What a table or a comparison cannot hold, which reads a record of a kind without a rule as
  // text: records after the closing "%" that hold a value, and entries without a value marker.
  Pos LeftOutOfTables() const { return recordsLostAfterEnd + entriesUnmarked; }

  friend bool operator==(const FilterStats&, const FilterStats&) = default;
};

}  // namespace habuki
