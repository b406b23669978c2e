#pragma once

#include <optional>

#include "core/filter/record_ref.h"
#include "core/text/filter_failure.h"

namespace habuki {

// Where and why a run failed.
struct FilterError {
  FailureKind kind;
  Pos position;      // 1-based character where the failing value, entry or record starts
  RecordRef record;  // the record being filtered when the run failed

  friend bool operator==(const FilterError&, const FilterError&) = default;
};

// What one filter run did with the records it read.
struct FilterStats {
  Pos recordsRead = 0;
  Pos recordsKept = 0;
  Pos recordsZero = 0;       // value zero, or every entry zero
  Pos recordsUnhandled = 0;  // dropped because the format has no rule for their kind letter
  Pos recordsAfterEnd = 0;   // records after the closing "%", which ends the text
  Pos entriesZero = 0;       // entries of multi-entry records dropped as zero
  Pos entriesUnmarked = 0;   // entries dropped because no value marker follows them anywhere
  Pos recordsNotChosen = 0;  // left out for their numbers (FilterState::Numbers)
  // The first record of each kind of loss that is not a zero value, for the user to look at.
  std::optional<RecordRef> firstUnhandled;
  std::optional<RecordRef> firstUnmarked;
  std::optional<RecordRef> firstAfterEnd;
  std::optional<RecordRef> firstNotChosen;

  // Records and entries dropped without their value being zero: usually the wrong format.
  Pos LostWithoutZero() const { return recordsUnhandled + recordsAfterEnd + entriesUnmarked; }

  friend bool operator==(const FilterStats&, const FilterStats&) = default;
};

}  // namespace habuki
