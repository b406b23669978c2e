#include "core/filter/record_ref.h"

#include <algorithm>
#include <bit>

namespace habuki {

namespace {

// Whether the character at `at` ends a line: an LF, or a CR that no LF follows.
template <typename Unit>
bool EndsLine(UnitView<Unit> text, std::size_t at) {
  const bool crOfCrLf = text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n';
  return (text[at] == '\n' || text[at] == '\r') && !crOfCrLf;
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
Pos LineOf(UnitView<Unit> text, Pos position) {
  return 1 + CountLineEnds(text, 0,
                           static_cast<std::size_t>(
                               std::clamp<Pos>(position - 1, 0, static_cast<Pos>(text.size()))));
}

template <typename Unit>
RecordRef RefTo(UnitView<Unit> text, Pos position, Pos length) {
  UnitView<Unit> head = position >= 1
                            ? text.substr(std::min<std::size_t>(position - 1, text.size()),
                                          static_cast<std::size_t>(length))
                            : UnitView<Unit>{};
  head = head.substr(0, std::min(head.find('\r'), head.find('\n')));
  std::string headBytes;
  AppendBytes(headBytes, head);
  return {position, LineOf(text, position), Cp932Text(std::move(headBytes))};
}

}  // namespace

Pos LineEndsIn(ByteView text, std::size_t from, std::size_t to) {
  return CountLineEnds(text, from, to);
}
Pos LineEndsIn(CodeView text, std::size_t from, std::size_t to) {
  return CountLineEnds(text, from, to);
}

RecordRef MakeRecordRef(ByteView text, Pos position, Pos length) {
  return RefTo(text, position, length);
}
RecordRef MakeRecordRef(CodeView text, Pos position, Pos length) {
  return RefTo(text, position, length);
}

}  // namespace habuki
