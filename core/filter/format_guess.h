#pragma once

#include <array>
#include <optional>
#include <vector>

#include "core/filter/filter_state.h"
#include "core/filter/text_place.h"

namespace habuki {

// The record heads of one format that a text holds.
struct HeadsFound {
  Pos count = 0;
  std::optional<TextPlace> first;
};

// The record heads of each format across a whole text, by the shapes the controls write them in:
// 30i "N", five digits, "Q" (N01005Q1); 16i "N", four digits, "Q" (N1005Q1); PMC "N", six
// digits, then a blank or "P" (N600002 P10). A head is told by its own characters, wherever it
// stands, so that nothing in front of the records (a byte order mark, blank or note lines, a
// missing "%" line, odd line ends) changes what the text is taken for. A thinned file shows the
// heads of the backup it came from.
struct FormatGuess {
  std::array<HeadsFound, 3> heads;  // by FormatKind

  const HeadsFound& Of(FormatKind kind) const { return heads[static_cast<std::size_t>(kind)]; }
  // The formats whose heads the text holds, 30i, 16i, PMC in that order: one for a backup, none
  // for a text that is no backup, several for a text that mixes them.
  std::vector<FormatKind> Found() const;
};

// With `enoughOf`, the counting stops at the first head of that format: the text holds it, which
// is all that a format given by the user needs to know.
FormatGuess GuessFormat(const Cp932Text& text, std::optional<FormatKind> enoughOf = std::nullopt);

}  // namespace habuki
