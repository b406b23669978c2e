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

// Nothing after the closing "%" is copied; records there are lost though they may not be zero,
// so they are counted for the user to hear of.
template <typename Unit>
void RecordScanner<Unit>::NoteRecordsAfter(Pos closingPercent) {
  for (Pos at = text_.find(closingPercent + 1, 'N'); at != 0;
       at = find(text_.text(), at + 1, Unit{'N'})) {
    if (stats_.recordsAfterEnd++ == 0) {
      stats_.firstAfterEnd = PlaceIn(text_.text(), at);
    }
  }
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
