#include "usual_entry.h"

#include <algorithm>
#include <bit>
#include <optional>

namespace habuki {

CodeEntryReader::CodeEntryReader(CodeView throughRecord, const char16_t*, char16_t marker1,
                                 char16_t marker2, char16_t entryLetter)
    : record_(throughRecord), marker1_(marker1), marker2_(marker2), entryLetter_(entryLetter) {}

EntryRun CodeEntryReader::ReadRun(Pos cur, Pos most, KeptRecord<char16_t>& kept) const {
  const char16_t* const begin = record_.data();
  const char16_t* const end = begin + record_.size();
  EntryRun run;
  for (; run.entries < most; ++run.entries) {
    const char16_t* at = begin + std::min(cur, static_cast<Pos>(record_.size()));
    while (at != end && *at != marker1_ && *at != marker2_ && *at != entryLetter_) ++at;
    if (at == end || *at == entryLetter_) break;
    const Pos mark = at - begin + 1;
    do ++at;
    while (at != end && *at != entryLetter_);
    const Pos valueEnd = at - begin + 1;
    if (IsNonZeroValue(record_, mark + 1, valueEnd - mark - 1)) {
      kept.Append(record_.substr(static_cast<std::size_t>(cur - 1),
                                 static_cast<std::size_t>(valueEnd - cur)));
      ++run.keptEntries;
    } else {
      ++run.zeroEntries;
    }
    if (at == end) {
      ++run.entries;
      run.recordDone = true;
      return run;
    }
    cur = valueEnd;
  }
  run.next = cur;
  return run;
}

ByteEntryReader::ByteEntryReader(ByteView throughRecord, const char* textEnd, char marker1,
                                 char marker2, char entryLetter)
    : record_(throughRecord),
      readable_(static_cast<std::size_t>(textEnd - throughRecord.data())),
      marker1_(marker1),
      marker2_(marker2),
      entry_(entryLetter) {}

// The next entry letter is found apart from the marker (in the usual entry none comes before
// the marker), so that finding where the next entry starts waits for nothing else and the
// processor reads the next entry while it still works on this one's value.
EntryRun ByteEntryReader::ReadRun(Pos cur, Pos most, KeptRecord<char>& kept) const {
  using namespace byte_scan;
  const char* const begin = record_.data();
  const std::size_t size = record_.size();
  EntryRun run;
  // The offset of the character after the entry letter is the entry letter's position.
  auto at = static_cast<std::size_t>(cur);
  for (; run.entries < most; ++run.entries) {
    if (at >= size || readable_ - at < 2 * kWidth) break;
    const char* const first = begin + at;  // the character after the entry letter
    const std::size_t inRecord = size - at;
    const unsigned entries = entry_.In(first) & First(inRecord);
    std::size_t end = static_cast<std::size_t>(std::countr_zero(entries));  // the next entry
    if (entries == 0 && inRecord <= kWidth) end = inRecord;
    if (entries == 0 && inRecord > kWidth) {
      const unsigned further = entry_.In(first + kWidth) & First(inRecord - kWidth);
      if (further == 0 && inRecord > 2 * kWidth) break;
      end = further != 0 ? kWidth + static_cast<std::size_t>(std::countr_zero(further)) : inRecord;
    }
    const unsigned markers = (marker1_.In(first) | marker2_.In(first)) & First(inRecord);
    const auto mark = static_cast<std::size_t>(std::countr_zero(markers));
    if (markers == 0 || mark > end) break;
    // The value, within these 16 bytes or the 16 from its start.
    const std::size_t length = end - mark - 1;
    const bool within = end <= kWidth;
    if (!within && length > kWidth) break;
    const std::optional<bool> nonZero =
        NonZeroPlainNumber(within ? first : first + mark + 1, within ? mark + 1 : 0, length);
    if (!nonZero) break;
    if (*nonZero) {
      kept.Append(ByteView(first - 1, end + 1));
      ++run.keptEntries;
    } else {
      ++run.zeroEntries;
    }
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

}  // namespace habuki
