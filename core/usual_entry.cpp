#include "usual_entry.h"

#include <algorithm>
#include <bit>

namespace habuki {

CodeEntryReader::CodeEntryReader(CodeView throughRecord, const char16_t*, char16_t marker1,
                                 char16_t marker2, char16_t entryLetter)
    : record_(throughRecord), marker1_(marker1), marker2_(marker2), entryLetter_(entryLetter) {}

std::optional<EntryValue> CodeEntryReader::Read(Pos cur) const {
  const char16_t* const begin = record_.data();
  const char16_t* const end = begin + record_.size();
  const char16_t* at = begin + std::min(cur, static_cast<Pos>(record_.size()));
  while (at != end && *at != marker1_ && *at != marker2_ && *at != entryLetter_) ++at;
  if (at == end || *at == entryLetter_) return std::nullopt;
  const Pos mark = at - begin + 1;
  do ++at;
  while (at != end && *at != entryLetter_);
  return EntryValue{mark, at - begin + 1, at == end};
}

ByteEntryReader::ByteEntryReader(ByteView throughRecord, const char* textEnd, char marker1,
                                 char marker2, char entryLetter)
    : record_(throughRecord),
      textEnd_(textEnd),
      marker1_(marker1),
      marker2_(marker2),
      entry_(entryLetter) {}

// Nearly always the value ends within the 16 bytes after the entry letter, and one look reads
// the whole entry.
std::optional<EntryValue> ByteEntryReader::Read(Pos cur) const {
  using namespace byte_scan;
  const char* const begin = record_.data();
  const auto readable = static_cast<std::size_t>(textEnd_ - begin);
  if (cur >= static_cast<Pos>(record_.size()) ||
      readable - static_cast<std::size_t>(cur) < 2 * kWidth) {
    return std::nullopt;
  }
  const char* const first = begin + cur;  // the character after the entry letter
  const auto inRecord = record_.size() - static_cast<std::size_t>(cur);
  const unsigned entries = entry_.In(first) & First(inRecord);
  const unsigned stops = marker1_.In(first) | marker2_.In(first) | entries;
  const auto mark = static_cast<std::size_t>(std::countr_zero(stops & First(inRecord)));
  if (mark >= kWidth || (entries >> mark & 1) != 0) return std::nullopt;
  const unsigned after = entries >> mark >> 1;
  const char* look = first;  // where the 16 bytes that hold the value start
  std::size_t offset = mark + 1;
  std::size_t length = static_cast<std::size_t>(std::countr_zero(after));
  if (after == 0 && inRecord > kWidth) {
    look = first + offset;  // the value runs on: a second look from its start
    offset = 0;
    const auto valueInRecord = inRecord - mark - 1;
    const unsigned nextEntry = entry_.In(look) & First(valueInRecord);
    if (nextEntry == 0 && valueInRecord > kWidth) return std::nullopt;
    length = nextEntry != 0 ? static_cast<std::size_t>(std::countr_zero(nextEntry)) : valueInRecord;
  } else if (after == 0) {
    length = inRecord - mark - 1;
  }
  const std::optional<bool> nonZero = NonZeroPlainNumber(look, offset, length);
  const Verdict verdict = !nonZero ? Verdict::Unread : *nonZero ? Verdict::NonZero : Verdict::Zero;
  const Pos markPos = cur + static_cast<Pos>(mark) + 1;
  const bool lastEntry = markPos + 1 + static_cast<Pos>(length) > static_cast<Pos>(record_.size());
  return EntryValue{markPos, markPos + 1 + static_cast<Pos>(length), lastEntry, verdict};
}

}  // namespace habuki
