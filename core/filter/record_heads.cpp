#include "core/filter/record_heads.h"

#include <algorithm>
#include <numeric>
#include <tuple>

#include "core/filter/format_profile.h"
#include "core/filter/text_place.h"
#include "core/text/size_limits.h"

namespace habuki {

namespace {

template <typename Unit>
std::vector<RecordHead> Heads(UnitView<Unit> text, Pos headLength) {
  std::vector<RecordHead> heads;
  const Pos first = find(text, 1, Unit{'N'});
  if (first == 0) return heads;
  const Pos closing = find(text, first + 1, Unit{'%'});
  const Pos end = closing == 0 ? static_cast<Pos>(text.size()) + 1 : closing;
  for (Pos at = first; at != 0 && at < end && static_cast<Pos>(heads.size()) < kRecordLimit;
       at = find(text, at + 1, Unit{'N'})) {
    const UnitView<Unit> head = text.substr(
        static_cast<std::size_t>(at - 1), static_cast<std::size_t>(std::min(headLength, end - at)));
    RecordHead& record = heads.emplace_back();
    record.position = at;
    AppendBytes(record.text, head);
    record.number = HeadNumber(head);
    std::size_t digits = 1;
    while (digits < head.size() && IsDigit(head[digits])) ++digits;
    std::string prefix;
    AppendBytes(prefix, head.substr(0, digits));
    record.qualifierFrom = prefix.size();
  }
  return heads;
}

// The lines and columns of the places at `positions`, which are in order, counted in one sweep
// of the text.
template <typename Unit>
std::vector<std::pair<Pos, Pos>> LinesOf(UnitView<Unit> text, const std::vector<Pos>& positions) {
  std::vector<std::pair<Pos, Pos>> places;
  Pos line = 1, from = 1;
  for (const Pos position : positions) {
    line += LineEndsIn(text, static_cast<std::size_t>(from - 1),
                       static_cast<std::size_t>(position - 1));
    from = position;
    Pos lineStart = position;
    while (lineStart > 1 && text[lineStart - 2] != '\r' && text[lineStart - 2] != '\n') {
      --lineStart;
    }
    places.emplace_back(line, position - lineStart + 1);
  }
  return places;
}

auto KeyOf(const RecordHead& head) { return std::tuple(head.number, head.Qualifier()); }

}  // namespace

std::vector<RecordHead> RecordHeads(const Cp932Text& text, FormatKind kind) {
  const Pos headLength = ProfileFor(kind).headLength;
  if (!text.HasDoubleByteCharacters()) return Heads(text.Bytes(), headLength);
  const std::u16string codes = text.codes();
  return Heads(CodeView(codes), headLength);
}

std::vector<RepeatedRecord> RepeatedRecords(const Cp932Text& text,
                                            const std::vector<RecordHead>& heads,
                                            const NumberChoice& choice) {
  std::vector<std::size_t> order(heads.size());
  std::iota(order.begin(), order.end(), 0);
  const auto before = [&](std::size_t a, std::size_t b) {
    return KeyOf(heads[a]) < KeyOf(heads[b]);
  };
  // A backup stands in the order of its numbers, every one once: then there is nothing to sort.
  if (std::adjacent_find(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return !before(a, b);
      }) == order.end()) {
    return {};
  }
  std::stable_sort(order.begin(), order.end(), before);
  std::vector<std::vector<std::size_t>> groups;
  for (std::size_t i = 0; i < order.size();) {
    std::size_t j = i + 1;
    while (j < order.size() && KeyOf(heads[order[j]]) == KeyOf(heads[order[i]])) ++j;
    if (j - i > 1 && choice.Keeps(heads[order[i]].number)) {
      groups.emplace_back(order.begin() + static_cast<std::ptrdiff_t>(i),
                          order.begin() + static_cast<std::ptrdiff_t>(j));
    }
    i = j;
  }
  std::sort(groups.begin(), groups.end());  // by their first records
  std::vector<Pos> positions;
  for (const auto& group : groups) {
    for (const std::size_t i : group) positions.push_back(heads[i].position);
  }
  std::sort(positions.begin(), positions.end());
  const std::vector<std::pair<Pos, Pos>> places = text.HasDoubleByteCharacters()
                                                      ? LinesOf(CodeView(text.codes()), positions)
                                                      : LinesOf(text.Bytes(), positions);
  const auto placeOf = [&](Pos position) {
    const auto at = std::lower_bound(positions.begin(), positions.end(), position);
    return places[static_cast<std::size_t>(at - positions.begin())];
  };
  std::vector<RepeatedRecord> repeats;
  for (const auto& group : groups) {
    RepeatedRecord& repeat = repeats.emplace_back();
    repeat.head = heads[group.front()].text;
    repeat.number = heads[group.front()].number;
    repeat.qualifier = heads[group.front()].Qualifier();
    repeat.column = placeOf(heads[group.front()].position).second;
    for (const std::size_t i : group) repeat.lines.push_back(placeOf(heads[i].position).first);
  }
  return repeats;
}

}  // namespace habuki
