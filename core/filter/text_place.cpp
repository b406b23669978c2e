#include "core/filter/text_place.h"

#include <algorithm>
#include <bit>

namespace habuki {

namespace {

template <typename Unit>
bool IsLineBreak(Unit c) {
  return c == '\r' || c == '\n';
}

// Whether the character at `at` ends a line: an LF, or a CR that no LF follows.
template <typename Unit>
bool EndsLine(UnitView<Unit> text, std::size_t at) {
  const bool crOfCrLf = text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n';
  return IsLineBreak(text[at]) && !crOfCrLf;
}

template <typename Unit>
Pos CountLineEnds(UnitView<Unit> text, std::size_t from, std::size_t to) {
  using namespace byte_scan;
  const Letter lf('\n'), cr('\r');
  Pos ends = 0;
  std::size_t at = from;
  // 16 characters at a time, where the one after them can be read as well.
  for (; at + kWidth <= to && at + kWidth < text.size(); at += kWidth) {
    const Chars chars = Load(text.data() + at);
    const unsigned lfAfter = lf.In(Load(text.data() + at + 1));  // an LF just after each one
    ends += std::popcount(lf.In(chars) | (cr.In(chars) & ~lfAfter));
  }
  for (; at < to; ++at) ends += EndsLine(text, at);
  return ends;
}

template <typename Unit>
TextPlace Place(UnitView<Unit> text, Pos position) {
  const auto index = static_cast<std::size_t>(std::clamp<Pos>(position - 1, 0, text.size()));
  std::size_t lineStart = index;
  while (lineStart > 0 && !IsLineBreak(text[lineStart - 1])) --lineStart;
  const UnitView<Unit> rest = text.substr(index);
  const std::size_t lineLength =
      std::find_if(rest.begin(), rest.end(), IsLineBreak<Unit>) - rest.begin();
  const std::size_t shown = std::min(lineLength, static_cast<std::size_t>(kShownCharacters));
  std::string bytes;
  AppendBytes(bytes, rest.substr(0, shown));
  return {position, 1 + CountLineEnds(text, 0, index), static_cast<Pos>(index - lineStart) + 1,
          Cp932Text(std::move(bytes)), shown < lineLength};
}

template <typename Unit>
std::optional<Pos> StrayLine(UnitView<Unit> text, Pos from, Pos to) {
  const auto end = static_cast<std::size_t>(std::clamp<Pos>(to - 1, 0, text.size()));
  std::size_t at = static_cast<std::size_t>(std::max<Pos>(from - 1, 0));
  bool pastFirstLine = false;
  for (; at < end; ++at) {
    const Unit c = text[at];
    if (IsLineBreak(c)) {
      pastFirstLine = true;
    } else if (c != ' ' && c != '\t' && pastFirstLine) {
      std::size_t start = at;
      while (!IsLineBreak(text[start - 1])) --start;
      return static_cast<Pos>(start) + 1;
    }
  }
  return std::nullopt;
}

}  // namespace

Pos LineEndsIn(ByteView text, std::size_t from, std::size_t to) {
  return CountLineEnds(text, from, to);
}
Pos LineEndsIn(CodeView text, std::size_t from, std::size_t to) {
  return CountLineEnds(text, from, to);
}

TextPlace PlaceIn(ByteView text, Pos position) { return Place(text, position); }
TextPlace PlaceIn(CodeView text, Pos position) { return Place(text, position); }

std::optional<Pos> StrayLineIn(ByteView text, Pos from, Pos to) {
  return StrayLine(text, from, to);
}
std::optional<Pos> StrayLineIn(CodeView text, Pos from, Pos to) {
  return StrayLine(text, from, to);
}

}  // namespace habuki
