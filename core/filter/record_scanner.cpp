#include "core/filter/record_scanner.h"

#include <algorithm>

#include "core/filter/thinning_sink.h"
#include "core/table/parameter_sink.h"
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
RecordScanner<Unit>::RecordScanner(UnitView<Unit> text, const FormatProfile& profile)
    : text_(text), profile_(profile) {
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

template <typename Unit>
template <typename Sink>
void RecordScanner<Unit>::Walk(Sink& sink) {
  const UnitView<Unit> text = text_.text();
  pos_ = text_.find(1, 'N');
  if (pos_ == 0) throw FilterFailure(FailureKind::NoRecord, 1);
  const Pos closingPercent = text_.find(pos_ + 1, '%');
  const Pos endPos = closingPercent == 0 ? static_cast<Pos>(text.size()) + 1 : closingPercent;
  if (profile_.copiesPreamble) sink.Preamble(substring(text, 3, pos_ - 3));

  for (;;) {
    const UnitView<Unit> head = substring(text, pos_, profile_.headLength);
    const UnitView<Unit> kind = substring(text, pos_ + profile_.headLength, 1);
    // Each record's search starts just past the last hit: LetterFinder would have nothing to
    // reuse.
    const Pos nextN = find(text, pos_ + 1, Unit{'N'});
    const Pos nextPos = nextN == 0 || nextN > endPos ? endPos : nextN;

    sink.BeginRecord(pos_, head);
    const bool kept = Visit(kind, nextPos, sink);
    sink.EndRecord(kept);
    if (kept) ++stats_.recordsKept;
    if (++stats_.recordsRead == kRecordLimit) throw FilterFailure(FailureKind::RecordLimit, pos_);
    if (nextPos >= endPos) break;
    pos_ = nextPos;
  }
  if (closingPercent != 0) NoteRecordsAfter(closingPercent);
}

// Nothing after the closing "%" is copied; records there are lost though they may not be zero,
// so they are counted for the user to hear of.
template <typename Unit>
void RecordScanner<Unit>::NoteRecordsAfter(Pos closingPercent) {
  for (Pos at = text_.find(closingPercent + 1, 'N'); at != 0;
       at = find(text_.text(), at + 1, Unit{'N'})) {
    if (stats_.recordsAfterEnd++ == 0) {
      stats_.firstAfterEnd = MakeRecordRef(text_.text(), at, profile_.headLength + 1);
    }
  }
}

template <typename Unit>
template <typename Sink>
bool RecordScanner<Unit>::Visit(UnitView<Unit> kind, Pos nextPos, Sink& sink) {
  const UnitView<Unit> text = text_.text();
  const Pos kindPos = pos_ + profile_.headLength;
  const KindRule rule = RuleOf(kind);
  if (rule == KindRule::SingleValue) {
    const bool nonZero = IsNonZeroValue(text, kindPos + 1, nextPos - kindPos - 1);
    sink.Single(substring(text, kindPos, nextPos - kindPos), nonZero);
    if (!nonZero) ++stats_.recordsZero;
    return nonZero;
  }
  if (rule == KindRule::Entries) {
    const EntryScan entries = ScanEntries(text_, profile_, {pos_, nextPos, kind[0]}, sink);
    stats_.entriesZero += entries.zeroEntries;
    if (entries.unmarkedEntries != 0) NoteUnmarked(entries.unmarkedEntries);
    if (entries.keptEntries == 0) ++stats_.recordsZero;
    return entries.keptEntries != 0;
  }
  // A record shorter than its head has nothing after it.
  sink.Unhandled(nextPos > kindPos ? substring(text, kindPos, nextPos - kindPos)
                                   : UnitView<Unit>());
  ++stats_.recordsUnhandled;
  if (!stats_.firstUnhandled) {
    stats_.firstUnhandled = MakeRecordRef(text, pos_, profile_.headLength + 1);
  }
  return false;
}

template <typename Unit>
void RecordScanner<Unit>::NoteUnmarked(Pos unmarkedEntries) {
  stats_.entriesUnmarked += unmarkedEntries;
  if (!stats_.firstUnmarked) {
    stats_.firstUnmarked = MakeRecordRef(text_.text(), pos_, profile_.headLength + 1);
  }
}

template class RecordScanner<char>;
template class RecordScanner<char16_t>;
template void RecordScanner<char>::Walk(ParameterSink<char>&);
template void RecordScanner<char16_t>::Walk(ParameterSink<char16_t>&);

}  // namespace habuki
