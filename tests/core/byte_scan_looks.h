#pragma once

#include <array>
#include <cstdint>

namespace habuki::test {

// Letters the filter looks for, and a few it never does.
inline constexpr char kLookedForLetters[] = "NPMLASTQ%.0 \t\r\nx";

// All that byte_scan.h answers about one block of 16 characters, as bits.
struct BlockLooks {
  std::array<unsigned, sizeof kLookedForLetters - 1> letters{};  // Letter::In, one per letter
  unsigned markers = 0;                                          // Letters('P', 'M')::In
  // For each first character of a run, bit `last` set where the run up to `last` is a plain
  // number, and where it is one that is not zero (NumberBits).
  std::array<std::uint32_t, 16> plainRuns{};
  std::array<std::uint32_t, 16> nonZeroRuns{};
  // NonZeroPlainNumber for each length from 0 to 16: bit set where it is a number, and where it
  // is not zero.
  std::uint32_t plainLengths = 0;
  std::uint32_t nonZeroLengths = 0;

  friend bool operator==(const BlockLooks&, const BlockLooks&) = default;
};

}  // namespace habuki::test

// byte_scan_looks.cpp is built twice: once as the compiler targets this machine (with SSE2 on x86),
// once with the vector instructions' macro unset, so that byte_scan.h takes its portable branch.
// Each copy lives in a namespace of its own, so the two definitions of its inline functions never
// meet.
namespace habuki_native_branch {
habuki::test::BlockLooks Looks(const char* block);
habuki::test::BlockLooks Looks(const char16_t* block);
}  // namespace habuki_native_branch

namespace habuki_portable_branch {
habuki::test::BlockLooks Looks(const char* block);
habuki::test::BlockLooks Looks(const char16_t* block);
}  // namespace habuki_portable_branch
