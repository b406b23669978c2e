#include "core/filter/format_guess.h"

#include <algorithm>
#include <bit>

namespace habuki {

namespace {

constexpr int kNoHead = 3;

// The format whose head follows the "N" that `after` follows (its next seven characters, or
// fewer at the text's end, blanks after those), or kNoHead: 30i "N", five digits, "Q"; 16i "N",
// four digits, "Q"; PMC "N", six digits, a blank or "P".
template <typename Unit>
[[gnu::always_inline]] inline int HeadAfter(const Unit* after) {
  if (!IsDigit(after[0]) || !IsDigit(after[1]) || !IsDigit(after[2]) || !IsDigit(after[3])) {
    return kNoHead;
  }
  if (!IsDigit(after[4])) return after[4] == 'Q' ? static_cast<int>(FormatKind::Fs16i) : kNoHead;
  if (!IsDigit(after[5])) return after[5] == 'Q' ? static_cast<int>(FormatKind::Fs30i) : kNoHead;
  const bool pmc = !IsDigit(after[6]) && (after[6] == ' ' || after[6] == 'P');
  return pmc ? static_cast<int>(FormatKind::Pmc) : kNoHead;
}

// The heads of a text, counted where `Count` finds them.
template <typename Unit>
class HeadCount {
 public:
  HeadCount(UnitView<Unit> text, std::optional<FormatKind> enoughOf)
      : text_(text), enough_(enoughOf ? static_cast<int>(*enoughOf) : kNoHead) {}

  // Counts the heads after the "N"s of `hits`, lanes of the 16 characters from `at`, whose
  // characters are at `chars`; true once the format looked for is found.
  [[gnu::always_inline]] bool Heads(unsigned hits, const Unit* chars, std::size_t at) {
    for (; hits != 0; hits &= hits - 1) {
      const auto lane = static_cast<std::size_t>(std::countr_zero(hits));
      const int kind = HeadAfter(chars + lane + 1);
      if (kind == kNoHead) continue;
      HeadsFound& heads = guess_.heads[static_cast<std::size_t>(kind)];
      if (heads.count++ == 0) heads.first = PlaceIn(text_, static_cast<Pos>(at + lane) + 1);
      if (kind == enough_) return true;
    }
    return false;
  }
  const FormatGuess& guess() const { return guess_; }

 private:
  UnitView<Unit> text_;
  int enough_;
  FormatGuess guess_;
};

// Every "N" of the text, found 16 characters at a time (a text has one at every record, some
// fifty characters apart), and the head after it. The last characters are read from a copy with
// blanks after it, so that every look and every head is whole.
template <typename Unit>
FormatGuess Count(UnitView<Unit> text, std::optional<FormatKind> enoughOf) {
  HeadCount<Unit> count(text, enoughOf);
  const byte_scan::Letter letterN('N');
  constexpr std::size_t kRoom = byte_scan::kWidth + 7;  // a look, and a head from its last "N"
  std::size_t at = 0;
  for (; at + kRoom <= text.size(); at += byte_scan::kWidth) {
    const Unit* const chars = text.data() + at;
    if (count.Heads(letterN.In(byte_scan::Load(chars)), chars, at)) return count.guess();
  }
  std::basic_string<Unit> tail(text.substr(at));
  tail.append(kRoom, Unit{' '});
  for (std::size_t from = 0; at + from < text.size(); from += byte_scan::kWidth) {
    const std::size_t left = text.size() - at - from;
    const unsigned lanes = left < byte_scan::kWidth ? (1u << left) - 1 : ~0u;
    const Unit* const chars = tail.data() + from;
    if (count.Heads(letterN.In(byte_scan::Load(chars)) & lanes, chars, at + from)) break;
  }
  return count.guess();
}

}  // namespace

std::vector<FormatKind> FormatGuess::Found() const {
  std::vector<FormatKind> found;
  for (const FormatKind kind : {FormatKind::Fs30i, FormatKind::Fs16i, FormatKind::Pmc}) {
    if (Of(kind).count != 0) found.push_back(kind);
  }
  return found;
}

FormatGuess GuessFormat(const Cp932Text& text, std::optional<FormatKind> enoughOf) {
  if (!text.HasDoubleByteCharacters()) return Count(text.Bytes(), enoughOf);
  const std::u16string codes = text.codes();
  return Count(CodeView(codes), enoughOf);
}

}  // namespace habuki
