#include "scan_entries.h"

#include <algorithm>

#include "cp932_text.h"
#include "size_limits.h"

namespace habuki {

namespace {

Pos FoundOrNone(Pos found) { return found == 0 ? NOT_FOUND_POS : found; }

// The earliest value marker after `cur`.
template <typename Unit>
Pos NextMarker(LetterFinder<Unit>& text, const FormatProfile& profile, Pos cur) {
  Pos mark = NOT_FOUND_POS;
  for (const char16_t marker : profile.valueMarkers) {
    mark = std::min(mark, FoundOrNone(text.find(cur + 1, static_cast<Unit>(marker))));
  }
  return mark;
}

// No marker follows anywhere: the entry at `cur` and all later ones of the record are lost.
template <typename Unit>
void DropUnmarked(UnitView<Unit> record, Unit entryLetter, Pos cur, EntryScan& scan) {
  for (Pos at = cur; at != 0; at = find(record, at + 1, entryLetter)) ++scan.unmarkedEntries;
}

}  // namespace

template <typename Unit>
EntryScan ScanEntries(LetterFinder<Unit>& text, const FormatProfile& profile,
                      const EntryRecord<Unit>& record, std::string& kept) {
  const UnitView<Unit> codes = text.text();
  // The text up to the end of the record. Where the next entry letter lies beyond the record
  // does not matter, only that it does, so its search stops there instead of running on to the
  // next record of the same kind.
  const UnitView<Unit> throughRecord =
      codes.substr(0, static_cast<std::size_t>(record.nextPos - 1));
  EntryScan scan;
  Pos cur = record.pos + profile.headLength;
  for (Pos inner = 0;;) {
    const Pos mark = NextMarker(text, profile, cur);
    if (mark >= NOT_FOUND_POS) {
      DropUnmarked(throughRecord, record.entryLetter, cur, scan);
      return scan;
    }
    const Pos nextKind = FoundOrNone(find(throughRecord, cur + 1, record.entryLetter));
    const bool lastEntry = record.nextPos < nextKind;
    const Pos end = lastEntry ? record.nextPos : nextKind;
    if (IsNonZeroValue(codes, mark + 1, end - mark - 1)) {
      AppendBytes(kept, substring(codes, cur, end - cur));
      ++scan.keptEntries;
    } else {
      ++scan.zeroEntries;
    }
    if (lastEntry) return scan;
    cur = nextKind;
    if (++inner == kEntryLimit) throw FilterFailure(FailureKind::EntryLimit, cur);
  }
}

template EntryScan ScanEntries(LetterFinder<char>&, const FormatProfile&, const EntryRecord<char>&,
                               std::string&);
template EntryScan ScanEntries(LetterFinder<char16_t>&, const FormatProfile&,
                               const EntryRecord<char16_t>&, std::string&);

}  // namespace habuki
