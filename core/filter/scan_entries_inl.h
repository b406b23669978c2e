#pragma once

// The definition of ScanEntries, for each sink's own file to instantiate (see
// core/filter/usual_entry_inl.h): the entry scan knows no sink.

#include <algorithm>
#include <optional>

#include "core/filter/scan_entries.h"
#include "core/filter/usual_entry_inl.h"
#include "core/text/size_limits.h"

namespace habuki {

namespace entry_search {

inline Pos FoundOrNone(Pos found) { return found == 0 ? NOT_FOUND_POS : found; }

// The earliest value marker after `cur`.
template <typename Unit>
Pos NextMarker(LetterFinder<Unit>& text, const FormatProfile& profile, Pos cur) {
  Pos mark = NOT_FOUND_POS;
  for (const char16_t marker : profile.valueMarkers) {
    mark = std::min(mark, FoundOrNone(text.find(cur + 1, static_cast<Unit>(marker))));
  }
  return mark;
}

// Where an entry's value lies: after its marker, up to the next entry or the record's end.
struct EntryValue {
  Pos mark;  // the value marker
  Pos end;   // the next entry letter, or the record's end
  bool lastEntry;
};

// The value of the entry at `cur` as the searches over the whole text find it; none when no
// marker follows anywhere.
template <typename Unit>
std::optional<EntryValue> ValueBySearch(LetterFinder<Unit>& text, UnitView<Unit> throughRecord,
                                        const FormatProfile& profile,
                                        const EntryRecord<Unit>& record, Pos cur) {
  const Pos mark = NextMarker(text, profile, cur);
  if (mark >= NOT_FOUND_POS) return std::nullopt;
  const Pos nextKind = FoundOrNone(find(throughRecord, cur + 1, record.entryLetter));
  const bool lastEntry = record.nextPos < nextKind;
  return EntryValue{mark, lastEntry ? record.nextPos : nextKind, lastEntry};
}

// The letter that ends the record: the next record's "N" or the closing "%"; "N" where the record
// runs to the end of the text, for then no "N" follows.
template <typename Unit>
Unit LetterAfter(UnitView<Unit> codes, const EntryRecord<Unit>& record) {
  const auto end = static_cast<std::size_t>(record.nextPos - 1);
  return end < codes.size() ? codes[end] : Unit{'N'};
}

// No marker follows anywhere: the entry at `cur` and all later ones of the record are lost.
template <typename Unit>
void DropUnmarked(UnitView<Unit> record, Unit entryLetter, Pos cur, EntryScan& scan) {
  for (Pos at = cur; at != 0; at = find(record, at + 1, entryLetter)) ++scan.unmarkedEntries;
}

}  // namespace entry_search

template <typename Unit, typename Sink>
EntryScan ScanEntries(LetterFinder<Unit>& text, const FormatProfile& profile,
                      const EntryRecord<Unit>& record, Sink& sink) {
  using namespace entry_search;
  const UnitView<Unit> codes = text.text();
  // The text up to the end of the record. Where the next entry letter lies beyond the record
  // does not matter, only that it does, so its search stops there instead of running on to the
  // next record of the same kind.
  const UnitView<Unit> throughRecord =
      codes.substr(0, static_cast<std::size_t>(record.nextPos - 1));
  UsualEntryReader<Unit> usual(throughRecord, codes.data() + codes.size(),
                               static_cast<Unit>(profile.valueMarkers.front()),
                               static_cast<Unit>(profile.valueMarkers.back()), record.entryLetter,
                               LetterAfter(codes, record));
  EntryScan scan;
  Pos cur = record.pos + profile.headLength;
  for (Pos inner = 0;;) {
    // Stops short of the entry limit, which the entry after it then reaches.
    const EntryRun run = usual.ReadRun(cur, kEntryLimit - 1 - inner, sink);
    inner += run.entries;
    scan.keptEntries += run.keptEntries;
    scan.zeroEntries += run.zeroEntries;
    if (run.recordDone) return scan;
    cur = run.next;
    const std::optional<EntryValue> value =
        ValueBySearch(text, throughRecord, profile, record, cur);
    if (!value) {
      DropUnmarked(throughRecord, record.entryLetter, cur, scan);
      return scan;
    }
    const bool nonZero = IsNonZeroValue(codes, value->mark + 1, value->end - value->mark - 1);
    sink.Entry(substring(codes, cur, value->end - cur), static_cast<std::size_t>(value->mark - cur),
               nonZero);
    ++(nonZero ? scan.keptEntries : scan.zeroEntries);
    if (value->lastEntry) return scan;
    cur = value->end;
    if (++inner == kEntryLimit) throw FilterFailure(FailureKind::EntryLimit, cur);
  }
}

}  // namespace habuki
