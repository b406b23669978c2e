#pragma once

#include <iosfwd>
#include <optional>
#include <string_view>

#include "core/filter/filter_state.h"

namespace habuki {

// Why a loaded file has no format to be read with.
enum class FormatRefusal {
  NoParameterFile,  // it holds no record head of the format given, or of any format
  SeveralFormats,   // it holds record heads of several formats, and none was given
};

// The format to read a loaded file with: `given` (-f), or else the one whose record heads the
// text holds (core/filter/format_guess.h). When there is none, tells on `err` what the text holds
// instead, named `name`, and gives why.
struct FileFormat {
  std::optional<FormatKind> kind;
  std::optional<FormatRefusal> refusal;
};
FileFormat FormatOfFile(std::string_view name, const FilterState& state,
                        std::optional<FormatKind> given, std::ostream& err);

}  // namespace habuki
