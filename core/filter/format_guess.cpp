#include "core/filter/format_guess.h"

namespace habuki {

namespace {

// The format whose head starts at the "N" at `n`, if it is the head of one.
template <typename Unit>
std::optional<FormatKind> HeadAt(UnitView<Unit> text, std::size_t n) {
  std::size_t digits = 0;
  // No head has more than six digits: counting stops after seven.
  while (digits < 7 && n + 1 + digits < text.size() && IsDigit(text[n + 1 + digits])) ++digits;
  const std::size_t after = n + 1 + digits;
  const Unit next = after < text.size() ? text[after] : Unit{};
  if (digits == 5 && next == 'Q') return FormatKind::Fs30i;
  if (digits == 4 && next == 'Q') return FormatKind::Fs16i;
  if (digits == 6 && (next == ' ' || next == 'P')) return FormatKind::Pmc;
  return std::nullopt;
}

template <typename Unit>
FormatGuess Count(UnitView<Unit> text) {
  FormatGuess guess;
  for (Pos n = find(text, 1, Unit{'N'}); n != 0; n = find(text, n + 1, Unit{'N'})) {
    const std::optional<FormatKind> kind = HeadAt(text, static_cast<std::size_t>(n - 1));
    if (!kind) continue;
    HeadsFound& heads = guess.heads[static_cast<std::size_t>(*kind)];
    if (heads.count++ == 0) heads.first = PlaceIn(text, n);
  }
  return guess;
}

}  // namespace

std::vector<FormatKind> FormatGuess::Found() const {
  std::vector<FormatKind> found;
  for (const FormatKind kind : {FormatKind::Fs30i, FormatKind::Fs16i, FormatKind::Pmc}) {
    if (Of(kind).count != 0) found.push_back(kind);
  }
  return found;
}

FormatGuess GuessFormat(const Cp932Text& text) {
  if (!text.HasDoubleByteCharacters()) return Count(text.Bytes());
  const std::u16string codes = text.codes();
  return Count(CodeView(codes));
}

}  // namespace habuki
