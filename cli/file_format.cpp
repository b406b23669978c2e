#include "cli/file_format.h"

#include <ostream>

#include "cli/messages.h"
#include "core/filter/format_guess.h"
#include "core/filter/text_looks.h"

namespace habuki {

FileFormat FormatOfFile(std::string_view name, const FilterState& state,
                        std::optional<FormatKind> given, std::ostream& err) {
  const FormatGuess guess = GuessFormat(state.AllText, given);
  if (given && guess.Of(*given).count != 0) return {given, std::nullopt};
  const std::vector<FormatKind> found = guess.Found();
  if (!given && found.size() == 1) return {found.front(), std::nullopt};
  if (!given && found.size() > 1) {
    err << SeveralFormatsMessage(name, guess);
    return {std::nullopt, FormatRefusal::SeveralFormats};
  }
  err << NoParameterFileMessage(name, given, guess, LooksOf(state.AllText));
  return {std::nullopt, FormatRefusal::NoParameterFile};
}

}  // namespace habuki
