#include "core/text/cp932_decoder.h"

#include <cstdint>
#include <iterator>

namespace habuki {

namespace {

constexpr unsigned kFirstTrail = 0x40;
constexpr unsigned kTrails = 0xFD - kFirstTrail;

constexpr std::uint16_t kPairs[] = {
#include "core/text/cp932_table.inc"
};
static_assert(std::size(kPairs) == 60 * kTrails);

// The row of a lead byte: 0x81-0x9F, then 0xE0-0xFC.
unsigned LeadRow(unsigned char lead) { return lead <= 0x9F ? lead - 0x81u : lead - 0xE0u + 31; }

}  // namespace

char32_t Cp932Character(std::string_view character) {
  const auto first = static_cast<unsigned char>(character[0]);
  if (character.size() == 2) {
    const auto trail = static_cast<unsigned char>(character[1]);
    const std::uint16_t code = kPairs[LeadRow(first) * kTrails + (trail - kFirstTrail)];
    return code != 0 ? code : kNoCp932Character;
  }
  if (first < 0x80) return first;
  if (first >= 0xA1 && first <= 0xDF) return 0xFF61 + (first - 0xA1u);
  return kNoCp932Character;
}

}  // namespace habuki
