#pragma once

#include <optional>

#include "core/text/cp932_text.h"
#include "core/text/filter_failure.h"
#include "core/text/text_primitives.h"

namespace habuki {

// How much of a line a message shows from the place it names.
inline constexpr Pos kShownCharacters = 40;

// A place in a text, told the way a person finds it again in an editor: a record's "N", the value
// a run failed on, a line that is no record.
struct TextPlace {
  Pos position = 0;  // 1-based character position in the text
  Pos line = 0;      // 1-based line; CR, CR LF and LF each end a line
  Pos column = 0;    // 1-based character in its line, a double-byte character counting one
  Cp932Text text;    // its line from the place on, at most kShownCharacters characters
  bool cut = false;  // the line goes on after `text`

  friend bool operator==(const TextPlace&, const TextPlace&) = default;
};

// How many lines end among the characters [from, to) of `text`: LF, CR LF (counted at its LF)
// and CR alone each end one.
Pos LineEndsIn(ByteView text, std::size_t from, std::size_t to);
Pos LineEndsIn(CodeView text, std::size_t from, std::size_t to);

// The place of the character at `position`.
TextPlace PlaceIn(ByteView text, Pos position);
TextPlace PlaceIn(CodeView text, Pos position);

// The first line that starts within the characters [from, to) after the line of `from`, and holds
// something other than blanks: a line between two records that is no record. None when every
// such line is blank.
std::optional<Pos> StrayLineIn(ByteView text, Pos from, Pos to);
std::optional<Pos> StrayLineIn(CodeView text, Pos from, Pos to);

}  // namespace habuki
