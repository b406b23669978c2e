// Built twice, with HABUKI_BYTE_SCAN_BRANCH naming the namespace of each copy of byte_scan.h
// (see byte_scan_looks.h).
#include "tests/core/byte_scan_looks.h"

// What byte_scan.h includes, included here first, outside the namespace it is included into.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <type_traits>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace HABUKI_BYTE_SCAN_BRANCH {

#include "core/text/byte_scan.h"

namespace {

using ::habuki::test::BlockLooks;
using ::habuki::test::kLookedForLetters;
namespace scan = habuki::byte_scan;

template <typename Unit>
BlockLooks LooksAt(const Unit* block) {
  const scan::Chars chars = scan::Load(block);
  BlockLooks looks;
  for (std::size_t i = 0; i < looks.letters.size(); ++i) {
    looks.letters[i] = scan::Letter(kLookedForLetters[i]).In(chars);
  }
  looks.markers = scan::Letters('P', 'M').In(chars);
  scan::NumberBits number;
  number.Add(chars, 0);
  number.Finish();
  for (std::size_t first = 0; first < scan::kWidth; ++first) {
    for (std::size_t last = first; last < scan::kWidth; ++last) {
      const scan::WideBits run = scan::First(last + 1) & ~scan::First(first);
      looks.plainRuns[first] |= std::uint32_t{number.IsPlain(run)} << last;
      looks.nonZeroRuns[first] |= std::uint32_t{number.HasNonZeroDigit(run)} << last;
    }
  }
  for (std::size_t length = 0; length <= scan::kWidth; ++length) {
    const std::optional<bool> nonZero = scan::NonZeroPlainNumber(block, length);
    looks.plainLengths |= std::uint32_t{nonZero.has_value()} << length;
    looks.nonZeroLengths |= std::uint32_t{nonZero.value_or(false)} << length;
  }
  return looks;
}

}  // namespace

BlockLooks Looks(const char* block) { return LooksAt(block); }
BlockLooks Looks(const char16_t* block) { return LooksAt(block); }

}  // namespace HABUKI_BYTE_SCAN_BRANCH
