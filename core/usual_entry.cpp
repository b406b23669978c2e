#include "core/usual_entry.h"

#include <bit>
#include <optional>

#include "core/parameter_sink.h"
#include "core/thinning_sink.h"

namespace habuki {

template <typename Unit>
UsualEntryReader<Unit>::UsualEntryReader(UnitView<Unit> throughRecord, const Unit* textEnd,
                                         Unit marker1, Unit marker2, Unit entryLetter)
    : record_(throughRecord),
      readable_(static_cast<std::size_t>(textEnd - throughRecord.data())),
      marker1_(static_cast<char>(marker1)),
      marker2_(static_cast<char>(marker2)),
      entry_(static_cast<char>(entryLetter)) {}

// The next entry letter is found apart from the marker (in the usual entry none comes before
// the marker), so that finding where the next entry starts waits for nothing else and the
// processor reads the next entry while it still works on this one's value.
template <typename Unit>
template <typename Sink>
EntryRun UsualEntryReader<Unit>::ReadRun(Pos cur, Pos most, Sink& sink) const {
  using namespace byte_scan;
  const Unit* const begin = record_.data();
  const std::size_t size = record_.size();
  EntryRun run;
  // The offset of the character after the entry letter is the entry letter's position.
  auto at = static_cast<std::size_t>(cur);
  for (; run.entries < most; ++run.entries) {
    if (at >= size || readable_ - at < 2 * kWidth) break;
    const Unit* const first = begin + at;  // the character after the entry letter
    const Chars chars = Load(first);
    const std::size_t inRecord = size - at;
    const unsigned entries = entry_.In(chars) & First(inRecord);
    std::size_t end = Lowest(entries);  // the next entry letter
    if (entries == 0 && inRecord <= kWidth) end = inRecord;
    if (entries == 0 && inRecord > kWidth) {
      const unsigned further = entry_.In(Load(first + kWidth)) & First(inRecord - kWidth);
      if (further == 0 && inRecord > 2 * kWidth) break;
      end = further != 0 ? kWidth + Lowest(further) : inRecord;
    }
    const unsigned markers = (marker1_.In(chars) | marker2_.In(chars)) & First(inRecord);
    const std::size_t mark = Lowest(markers);
    if (markers == 0 || mark > end) break;
    // The value, within these 16 characters or the 16 from its start.
    const std::size_t length = end - mark - 1;
    const bool within = end <= kWidth;
    if (!within && length > kWidth) break;
    const std::optional<bool> nonZero =
        NonZeroPlainNumber(within ? first : first + mark + 1, within ? mark + 1 : 0, length);
    if (!nonZero) break;
    sink.Entry(UnitView<Unit>(first - 1, end + 1), mark + 1, *nonZero);
    ++(*nonZero ? run.keptEntries : run.zeroEntries);
    if (end == inRecord) {
      ++run.entries;
      run.recordDone = true;
      return run;
    }
    at += end + 1;
  }
  run.next = static_cast<Pos>(at);
  return run;
}

template class UsualEntryReader<char>;
template class UsualEntryReader<char16_t>;
template EntryRun UsualEntryReader<char>::ReadRun(Pos, Pos, ThinningSink<char>&) const;
template EntryRun UsualEntryReader<char16_t>::ReadRun(Pos, Pos, ThinningSink<char16_t>&) const;
template EntryRun UsualEntryReader<char>::ReadRun(Pos, Pos, ParameterSink<char>&) const;
template EntryRun UsualEntryReader<char16_t>::ReadRun(Pos, Pos, ParameterSink<char16_t>&) const;

}  // namespace habuki
