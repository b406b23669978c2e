#include "core/filter/record_scanner.h"

#include <algorithm>

#include "core/filter/thinning_sink.h"
#include "core/text/size_limits.h"

namespace habuki {

namespace {

// The most a result can take: every byte of the text, a line break for every record and the
// frame. Reserved at once, so that the result is never copied as it grows: untouched, the room
// costs no memory.
template <typename Unit>
std::size_t MostBytesOfResult(UnitView<Unit> text, const Cp932Text* comment) {
  const std::size_t commentBytes = comment != nullptr ? comment->Bytes().size() + 1 : 0;
  const std::size_t lineBreaks = std::min(text.size(), static_cast<std::size_t>(kRecordLimit));
  return commentBytes + text.size() * sizeof(Unit) + lineBreaks + 4;
}

}  // namespace

template <typename Unit>
RecordScanner<Unit>::RecordScanner(UnitView<Unit> text, const FormatProfile& profile,
                                   const NumberChoice* numbers)
    : text_(text), profile_(profile), numbers_(numbers) {
  for (const char16_t letter : profile.singleValueKinds) rules_[letter] = KindRule::SingleValue;
  for (const char16_t letter : profile.multiEntryKinds) rules_[letter] = KindRule::Entries;
}

template <typename Unit>
typename RecordScanner<Unit>::KindRule RecordScanner<Unit>::RuleOf(UnitView<Unit> kind) const {
  if (kind.size() != 1) return KindRule::None;
  const auto letter = static_cast<std::make_unsigned_t<Unit>>(kind[0]);
  return letter < rules_.size() ? rules_[letter] : KindRule::None;
}

template <typename Unit>
std::string RecordScanner<Unit>::Run(const Cp932Text* comment) {
  std::string out;
  out.reserve(MostBytesOfResult(text_.text(), comment));
  if (comment != nullptr) out.append(comment->Bytes()).push_back('\n');
  out.append("%\n");
  ThinningSink<Unit> sink(out);
  Walk(sink);
  out.push_back('%');
  return out;
}

// A value that ran into a line that is no record failed because of that line: it is the one
// named.
template <typename Unit>
FilterError RecordScanner<Unit>::ErrorOf(const FilterFailure& failure) const {
  const UnitView<Unit> text = text_.text();
  FilterError error{failure.kind, PlaceIn(text, failure.position), PlaceIn(text, pos_),
                    std::nullopt};
  if (failure.kind == FailureKind::BadValue || failure.kind == FailureKind::NegativeLength) {
    if (const auto stray = StrayLineIn(text, pos_, next_)) error.strayLine = PlaceIn(text, *stray);
  }
  return error;
}

// Records left out for their numbers are not read at all: what they hold, zero or not, or even
// broken, is none of the run's business. They are counted, as every loss that is not a zero is.
template <typename Unit>
bool RecordScanner<Unit>::Chosen(UnitView<Unit> head) {
  if (numbers_->Keeps(HeadNumber(head))) return true;
  if (stats_.recordsNotChosen++ == 0) {
    stats_.firstNotChosen = PlaceIn(text_.text(), pos_);
  }
  return false;
}

// Nothing after the closing "%" is copied; those records there that hold a value are lost, so
// they are counted for the user to hear of. Each is read by itself, up to the next record or
// "%", by the format's rules: one that these keep, or that breaks them, holds a value. Past the
// record limit, where no backup goes, records are not read but counted as holding one.
template <typename Unit>
void RecordScanner<Unit>::NoteRecordsAfter(Pos closingPercent) {
  const UnitView<Unit> text = text_.text();
  Pos percent = closingPercent;  // the next "%" from the record at hand, 0 when there is none
  for (Pos at = text_.find(closingPercent + 1, 'N'); at != 0;) {
    if (percent != 0 && percent < at) percent = find(text, at + 1, Unit{'%'});
    const Pos nextN = find(text, at + 1, Unit{'N'});
    Pos end = nextN != 0 ? nextN : static_cast<Pos>(text.size()) + 1;
    if (percent != 0 && percent < end) end = percent;
    const bool judged = stats_.recordsAfterEnd++ < kRecordLimit;
    if (!judged || HoldsValue(text.substr(static_cast<std::size_t>(at - 1),
                                          static_cast<std::size_t>(end - at)))) {
      if (stats_.recordsLostAfterEnd++ == 0) stats_.firstLostAfterEnd = PlaceIn(text, at);
    }
    at = nextN;
  }
}

template <typename Unit>
bool RecordScanner<Unit>::HoldsValue(UnitView<Unit> record) const {
  RecordScanner<Unit> alone(record, profile_);
  try {
    alone.Run(nullptr);
  } catch (const FilterFailure&) {
    return true;
  }
  return alone.Stats().recordsKept + alone.Stats().recordsUnhandled +
             alone.Stats().entriesUnmarked !=
         0;
}

template <typename Unit>
void RecordScanner<Unit>::NoteUnmarked(Pos unmarkedEntries) {
  stats_.entriesUnmarked += unmarkedEntries;
  if (!stats_.firstUnmarked) {
    stats_.firstUnmarked = PlaceIn(text_.text(), pos_);
  }
}

template class RecordScanner<char>;
template class RecordScanner<char16_t>;

}  // namespace habuki
