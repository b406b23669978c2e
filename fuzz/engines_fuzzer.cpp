// Thins arbitrary bytes with both of the filter's engines, the one that reads bytes and the one
// that reads 16-bit codes, in every format, with and without a comment line, and requires the
// very same outcome: result, failure, counts and the records they point to. The byte engine
// takes shortcuts (16 bytes at a time, values read from bit masks) that the code engine does
// not, so this is what keeps them from drifting apart.

#include <cstddef>
#include <cstdint>
#include <string>

#include "comment/comment_files.h"
#include "core/filter/run_filter.h"
#include "core/io/param_file.h"
#include "fuzz/require.h"
#include "tests/support/reference/edge_texts.h"

namespace habuki::fuzz {

namespace {

constexpr FormatKind kKinds[] = {FormatKind::Fs30i, FormatKind::Fs16i, FormatKind::Pmc};

// A comment line from the input when it has more than one line, so that comments with odd bytes
// are tried too; otherwise the built-in Japanese one, which has double-byte characters.
Cp932Text CommentFor(const FilterState& state) {
  if (state.LineList.size() > 1) return Cp932Text::FromBytes(state.LineList.front());
  return Cp932Text::FromBytes(kBuiltInCommentJ);
}

void CheckBothEngines(const FilterState& loaded, FormatKind kind, bool withComment) {
  FilterState bytes = loaded;
  FilterState codes = loaded;
  const FilterOutcome byByte = RunFilter(bytes, kind, withComment);
  const FilterOutcome byCode = RunFilterOnCodes(codes, kind, withComment);
  Require(byByte.produced == byCode.produced, "one engine produced a result, the other did not");
  Require(byByte.error == byCode.error, "the engines failed differently");
  Require(byByte.stats == byCode.stats, "the engines counted differently");
  Require(bytes.OutText == codes.OutText, "the engines gave different results");
}

}  // namespace

}  // namespace habuki::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace habuki;
  FilterState state;
  if (!LoadParamBytes(state, reference::WithoutPairs({reinterpret_cast<const char*>(data), size})))
    return 0;
  fuzz::Require(!state.AllText.HasDoubleByteCharacters(), "a text without pairs has pairs");
  state.CommentText = fuzz::CommentFor(state);
  state.OutText = Cp932Text::FromBytes("result of an earlier run");
  for (const FormatKind kind : fuzz::kKinds) {
    for (const bool withComment : {false, true}) fuzz::CheckBothEngines(state, kind, withComment);
  }
  return 0;
}
