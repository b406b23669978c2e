#pragma once

#include <array>
#include <type_traits>

#include "core/text/text_primitives.h"

namespace habuki {

// find() over one text, remembering for each ASCII letter where it was last found. The filter's
// searches run to the end of the text, not of the record, and restart just behind the previous
// hit; reusing a hit that still lies ahead keeps a whole run linear in the text's length (a 30i
// text without any "M" would otherwise be re-scanned to its end for every entry).
template <typename Unit>
class LetterFinder {
 public:
  explicit LetterFinder(UnitView<Unit> text) : text_(text) {}

  UnitView<Unit> text() const { return text_; }

  // Same result as habuki::find(text(), start, letter). Called for every entry, so inline.
  Pos find(Pos start, Unit letter) {
    const auto index = static_cast<std::make_unsigned_t<Unit>>(letter);
    if (index >= hits_.size()) return habuki::find(text_, start, letter);
    Hit& hit = hits_[index];
    const bool stillValid = hit.searchedFrom != 0 && hit.searchedFrom <= start &&
                            (hit.found == 0 || hit.found >= start);
    if (!stillValid) hit = {start, habuki::find(text_, start, letter)};
    return hit.found;
  }

 private:
  struct Hit {
    Pos searchedFrom = 0;  // 0: never searched
    Pos found = 0;         // first occurrence at or after searchedFrom, 0 if none
  };

  UnitView<Unit> text_;
  std::array<Hit, 128> hits_{};
};

}  // namespace habuki
