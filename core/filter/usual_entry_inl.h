#pragma once

// The bit reader's definitions. Each sink's own file includes them and instantiates the reader
// for itself (core/filter/thinning_sink.cpp, core/table/parameter_sink.cpp), so the reader
// knows no sink and none of what a sink's results are made into.

#include <algorithm>
#include <bit>

#include "core/filter/usual_entry.h"

namespace habuki {

template <typename Unit>
UsualEntryReader<Unit>::UsualEntryReader(UnitView<Unit> throughRecord, const Unit* textEnd,
                                         Unit marker1, Unit marker2, Unit entryLetter,
                                         Unit recordEnd)
    : record_(throughRecord),
      readable_(static_cast<std::size_t>(textEnd - throughRecord.data())),
      markers_(static_cast<char>(marker1), static_cast<char>(marker2)),
      ends_(static_cast<char>(entryLetter), static_cast<char>(recordEnd)) {}

// As many looks of 16 as the record's end needs and the text allows, up to four; near the end of
// the text, none at all.
template <typename Unit>
[[gnu::always_inline]] inline auto UsualEntryReader<Unit>::LookFrom(std::size_t at) const -> Sight {
  using namespace byte_scan;
  Sight sight;
  sight.from = at;
  const std::size_t wanted = (record_.size() - at) / kWidth + 1;
  const std::size_t looks = std::min({kLooksSideBySide, wanted, (readable_ - at) / kWidth});
  for (std::size_t look = 0; look < looks; ++look) {
    const Chars chars = Load(record_.data() + at + look * kWidth);
    sight.ends |= Widened(ends_.In(chars), look);
    sight.markers |= Widened(markers_.In(chars), look);
    sight.number.Add(chars, look);
  }
  sight.number.Finish();
  return sight;
}

// The entry whose first character after its entry letter is `start` (a bit of the sight), where
// `ends` are the ends from there on, at least one. All on bits: the end is the lowest of them, the
// marker the lowest marker before it, and the value what lies between (an entry without a marker
// there has the end for its value, which is no number).
template <typename Unit>
[[gnu::always_inline]] inline auto UsualEntryReader<Unit>::Read(const Sight& sight,
                                                                byte_scan::WideBits start,
                                                                byte_scan::WideBits ends) const
    -> Entry {
  using byte_scan::WideBits;
  const WideBits endBit = ends & -ends;
  const WideBits markers = sight.markers & (endBit - start);
  const WideBits value = endBit - ((markers & -markers) << 1);
  return {static_cast<std::size_t>(std::countr_zero(markers)),
          static_cast<std::size_t>(std::countr_zero(ends)), sight.number.IsPlain(value),
          sight.number.HasNonZeroDigit(value)};
}

// Walks the sight by its bits: `start` is the bit of `at`, `ends` the ends from there on, and
// each entry read moves both past its end. Only a new sight needs positions made bits again.
template <typename Unit>
template <typename Sink>
EntryRun UsualEntryReader<Unit>::ReadRun(Pos cur, Pos most, Sink& sink) const {
  using byte_scan::WideBits;
  const std::size_t size = record_.size();
  // The offset of the character after the entry letter is the entry letter's position.
  auto at = static_cast<std::size_t>(cur);
  Pos entries = 0, kept = 0;
  // A first entry letter at or past the record's end reads nothing: the loop does not start.
  Sight sight = LookFrom(std::min(at, size));
  WideBits start = 1, ends = sight.ends;
  while (entries < most && at < size) {
    if (ends == 0) {
      // The next sight starts with the look that holds `at`: of what this sight saw, only that
      // look is taken again. Where that is this sight's start, it would see no more.
      const std::size_t from = at - (at - sight.from) % byte_scan::kWidth;
      if (from == sight.from) break;
      sight = LookFrom(from);
      start = WideBits{1} << (at - from);
      ends = sight.ends & -start;
      continue;
    }
    const Entry entry = Read(sight, start, ends);
    if (!entry.usual) break;
    const std::size_t entryLetter = at - 1, end = sight.from + entry.end;
    sink.Entry(UnitView<Unit>(record_.data() + entryLetter, end - entryLetter),
               sight.from + entry.mark - entryLetter, entry.nonZero);
    at = end + 1;
    ++entries;
    kept += entry.nonZero;
    start = (ends & -ends) << 1;
    ends &= ends - 1;
  }
  // Only an entry read to the record's end ends the record; a first entry letter beyond it is for
  // the searches to fail on.
  const bool recordDone = entries > 0 && at > size;
  return {entries, kept, entries - kept, recordDone, recordDone ? 0 : static_cast<Pos>(at)};
}

}  // namespace habuki
