#include "core/record_ref.h"

#include <algorithm>

namespace habuki {

namespace {

template <typename Unit>
Pos LineOf(UnitView<Unit> text, Pos position) {
  const auto end = text.begin() + std::clamp<Pos>(position - 1, 0, static_cast<Pos>(text.size()));
  Pos line = 1;
  for (auto it = text.begin(); it != end; ++it) {
    const bool crOfCrLf = *it == '\r' && it + 1 != text.end() && it[1] == '\n';
    if ((*it == '\n' || *it == '\r') && !crOfCrLf) ++line;
  }
  return line;
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

Pos LineOfPosition(ByteView text, Pos position) { return LineOf(text, position); }
Pos LineOfPosition(CodeView text, Pos position) { return LineOf(text, position); }

RecordRef MakeRecordRef(ByteView text, Pos position, Pos length) {
  return RefTo(text, position, length);
}
RecordRef MakeRecordRef(CodeView text, Pos position, Pos length) {
  return RefTo(text, position, length);
}

}  // namespace habuki
