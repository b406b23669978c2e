#pragma once

// The record loop's walk, a template over the sink that receives the records. Each sink's own
// file includes it and instantiates the walk for itself (core/filter/thinning_sink.cpp,
// core/table/parameter_sink.cpp); nothing here depends on which sink it is.

#include "core/filter/record_scanner.h"
#include "core/filter/scan_entries_inl.h"
#include "core/text/byte_order_mark.h"
#include "core/text/size_limits.h"

namespace habuki {

// What stands between the opening "%" and the first record, which PMC texts keep: from the second
// character after that "%" (the last of "%" CR LF) to the first "N". The opening "%" is the text's
// first character but for a byte order mark and blanks in front of it; a text without one keeps
// all that stands before its first record, so that no character of its header is cut off.
template <typename Unit>
UnitView<Unit> PreambleOf(UnitView<Unit> text, Pos firstN) {
  const auto end = static_cast<std::size_t>(firstN - 1);
  std::size_t at = ByteOrderMarkLength(text);
  while (at < end && (text[at] == ' ' || text[at] == '\t')) ++at;
  const std::size_t from = at < end && text[at] == '%' ? at + 2 : 0;
  return from < end ? text.substr(from, end - from) : UnitView<Unit>();
}

template <typename Unit>
template <typename Sink>
void RecordScanner<Unit>::Walk(Sink& sink) {
  const UnitView<Unit> text = text_.text();
  pos_ = text_.find(1, 'N');
  if (pos_ == 0) throw FilterFailure(FailureKind::NoRecord, 1);
  const Pos closingPercent = text_.find(pos_ + 1, '%');
  const Pos endPos = closingPercent == 0 ? static_cast<Pos>(text.size()) + 1 : closingPercent;
  if (profile_.copiesPreamble) sink.Preamble(PreambleOf(text, pos_));
  if (numbers_ != nullptr) {
    WalkRecords<true>(sink, endPos);
  } else {
    WalkRecords<false>(sink, endPos);
  }
  if (closingPercent != 0) NoteRecordsAfter(closingPercent);
}

// The loop itself, once with the numbers looked up and once without, so that a run that reads
// every record has not even a test per record more.
template <typename Unit>
template <bool kChoosing, typename Sink>
void RecordScanner<Unit>::WalkRecords(Sink& sink, Pos endPos) {
  const UnitView<Unit> text = text_.text();
  for (;;) {
    const UnitView<Unit> head = substring(text, pos_, profile_.headLength);
    const UnitView<Unit> kind = substring(text, pos_ + profile_.headLength, 1);
    // Each record's search starts just past the last hit: LetterFinder would have nothing to
    // reuse.
    const Pos nextN = find(text, pos_ + 1, Unit{'N'});
    const Pos nextPos = nextN == 0 || nextN > endPos ? endPos : nextN;
    next_ = nextPos;

    if (!kChoosing || Chosen(head)) {
      sink.BeginRecord(pos_, head);
      const bool kept = Visit(kind, nextPos, sink);
      sink.EndRecord(kept);
      if (kept) ++stats_.recordsKept;
    }
    if (++stats_.recordsRead == kRecordLimit) throw FilterFailure(FailureKind::RecordLimit, pos_);
    if (nextPos >= endPos) break;
    pos_ = nextPos;
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
    stats_.firstUnhandled = PlaceIn(text, pos_);
  }
  return false;
}

}  // namespace habuki
