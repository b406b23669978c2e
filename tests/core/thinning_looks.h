#pragma once

#include <string>
#include <string_view>

// thinning_looks.cpp is built twice: against the text and filter rooms as the programs have them,
// and against a second build of those rooms with the vector instructions' macro unset, so that
// every portable branch of theirs takes part in whole runs. In that second build a macro renames
// the namespace habuki to habuki_portable, so that the definitions of the two builds never meet.
// What a run gives is told here in standard types, under names without habuki, so that both
// copies give the same type.
namespace thinning_looks {

// One run of the filter: the text is AllText exactly, `kind` a FormatKind as a number, `only` the
// parameter numbers the run reads ("" for all of them).
struct Run {
  std::string_view text;
  int kind = 0;
  const char* comment = nullptr;  // leads the result when given
  bool byCodes = false;           // RunFilterOnCodes rather than RunFilter
  std::string_view only;
};

struct Looks {
  std::string out;      // OutText's bytes after the run
  std::string outcome;  // whether it produced, every count, the failure and every place named

  friend bool operator==(const Looks&, const Looks&) = default;
};

}  // namespace thinning_looks

namespace habuki_native_build {
thinning_looks::Looks Thin(const thinning_looks::Run& run);
// What the format guesses and the look of a text without records make of `text`.
std::string Guessed(std::string_view text);
bool BuiltWithVectorInstructions();
}  // namespace habuki_native_build

namespace habuki_portable_build {
thinning_looks::Looks Thin(const thinning_looks::Run& run);
std::string Guessed(std::string_view text);
bool BuiltWithVectorInstructions();
}  // namespace habuki_portable_build
