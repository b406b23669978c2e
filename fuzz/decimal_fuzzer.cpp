// Reads arbitrary characters as a parameter value with IsNonZeroValue and with the fuzzer's own
// reader, which must agree on failure and zero.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "core/text/cp932_text.h"
#include "core/text/text_primitives.h"
#include "fuzz/require.h"
#include "tests/support/reference/plain_decimal.h"

namespace habuki::fuzz {

namespace {

// The first byte chooses how the rest becomes characters: as CP932 text, the way a value is
// read from a file, or as raw 16-bit codes, which also reach codes whose low byte is a digit,
// a sign or a blank (a reader that looks at only one byte of a code would take those in).
std::u16string CodesOf(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return {};
  if ((data[0] & 1) == 0) {
    return std::u16string(
        Cp932Text::FromBytes({reinterpret_cast<const char*>(data + 1), size - 1}).codes());
  }
  std::u16string codes;
  for (std::size_t i = 1; i + 1 < size; i += 2) {
    codes.push_back(static_cast<char16_t>(data[i] << 8 | data[i + 1]));
  }
  return codes;
}

// Whether the whole of `value` is a number other than zero; nothing when it is no number.
std::optional<bool> ReadWithCore(std::u16string_view value) {
  try {
    return IsNonZeroValue(value, 1, static_cast<Pos>(value.size()));
  } catch (const FilterFailure& failure) {
    Require(failure.kind == FailureKind::BadValue && failure.position == 1,
            "IsNonZeroValue failed with another kind than BadValue at the value's start");
    return std::nullopt;
  }
}

}  // namespace

}  // namespace habuki::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace habuki::fuzz;
  const std::u16string value = CodesOf(data, size);
  const auto core = ReadWithCore(value);
  const auto plain = habuki::reference::ReadPlainNumber(value);
  Require(core.has_value() == plain.has_value(),
          "IsNonZeroValue and the plain reading disagree on whether the text is a number");
  if (core) {
    Require(*core != plain->zero, "IsNonZeroValue and the plain reading disagree on zero");
  }
  return 0;
}
