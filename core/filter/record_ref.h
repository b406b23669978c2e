#pragma once

#include "core/text/cp932_text.h"
#include "core/text/filter_failure.h"
#include "core/text/text_primitives.h"

namespace habuki {

// Where a record stands, told the way a person finds it again in an editor.
struct RecordRef {
  Pos position = 0;  // 1-based character position of the record's "N"
  Pos line = 0;      // 1-based line; CR, CR LF and LF each end a line
  Cp932Text head;    // the record's first characters, up to its kind letter, on its own line

  friend bool operator==(const RecordRef&, const RecordRef&) = default;
};

// How many lines end among the characters [from, to) of `text`: LF, CR LF (counted at its LF)
// and CR alone each end one.
Pos LineEndsIn(ByteView text, std::size_t from, std::size_t to);
Pos LineEndsIn(CodeView text, std::size_t from, std::size_t to);

// The record starting at `position`, with `length` characters of head shown.
RecordRef MakeRecordRef(ByteView text, Pos position, Pos length);
RecordRef MakeRecordRef(CodeView text, Pos position, Pos length);

}  // namespace habuki
