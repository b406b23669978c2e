#include "core/record_ref.h"

#include <algorithm>

namespace habuki {

Pos LineOfPosition(CodeView text, Pos position) {
  const auto end = text.begin() + std::clamp<Pos>(position - 1, 0, static_cast<Pos>(text.size()));
  Pos line = 1;
  for (auto it = text.begin(); it != end; ++it) {
    const bool crOfCrLf = *it == u'\r' && it + 1 != text.end() && it[1] == u'\n';
    if ((*it == u'\n' || *it == u'\r') && !crOfCrLf) ++line;
  }
  return line;
}

RecordRef MakeRecordRef(CodeView text, Pos position, Pos length) {
  CodeView head = position >= 1 ? text.substr(std::min<std::size_t>(position - 1, text.size()),
                                              static_cast<std::size_t>(length))
                                : CodeView{};
  head = head.substr(0, std::min(head.find(u'\r'), head.find(u'\n')));
  return {position, LineOfPosition(text, position), Cp932Text(std::u16string(head))};
}

}  // namespace habuki
