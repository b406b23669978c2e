#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/core/byte_scan_looks.h"

namespace habuki::test {
namespace {

constexpr int kBlocks = 20000;

// Characters of a block: mostly what values and entries are made of, so that runs of digits,
// points and blanks are common, and now and then any unit at all.
template <typename Unit>
std::basic_string<Unit> RandomBlock(std::mt19937& random, unsigned anyUnitBelow) {
  static constexpr char kCommon[] = "0000123456789..  \t\r\n+-PMANL%";
  std::basic_string<Unit> block;
  for (int i = 0; i < 16; ++i) {
    const bool any = random() % 4 == 0;
    block.push_back(static_cast<Unit>(any ? random() % anyUnitBelow
                                          : kCommon[random() % (sizeof kCommon - 1)]));
  }
  return block;
}

// 16-bit codes also reach codes whose low byte is a digit or a letter, and double-byte ones.
TEST(ByteScanBranches, PortableBranchFindsWhatTheNativeBranchFinds) {
  std::mt19937 random(20261207);
  for (int i = 0; i < kBlocks; ++i) {
    const std::string bytes = RandomBlock<char>(random, 0x100);
    ASSERT_EQ(habuki_portable_branch::Looks(bytes.data()),
              habuki_native_branch::Looks(bytes.data()))
        << "bytes of block " << i;
    const std::u16string codes = RandomBlock<char16_t>(random, 0x10000);
    ASSERT_EQ(habuki_portable_branch::Looks(codes.data()),
              habuki_native_branch::Looks(codes.data()))
        << "codes of block " << i;
  }
}

}  // namespace
}  // namespace habuki::test
