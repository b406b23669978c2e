#include "tests/support/reference/expected_result.h"

#include <algorithm>
#include <vector>

#include "tests/support/reference/plain_decimal.h"

namespace habuki::reference {

namespace {

constexpr auto kNone = std::u16string_view::npos;
constexpr std::size_t kRecordLimit = 100000;
constexpr std::size_t kEntryLimit = 1000;

// The manual's table of formats, written out here rather than taken from the core.
struct FormatRules {
  std::size_t headLength;
  std::u16string_view singleValueKinds;
  std::u16string_view multiEntryKinds;
  std::u16string_view valueMarkers;
  bool keepsPreamble;
};

FormatRules RulesFor(FormatKind kind) {
  switch (kind) {
    case FormatKind::Fs30i:
      return {8, u"PM", u"ALST", u"PM", false};
    case FormatKind::Fs16i:
      return {7, u"P", u"A", u"P", false};
    case FormatKind::Pmc:
      break;
  }
  return {8, u"P", u"", u"", true};
}

bool IsOneOf(char16_t c, std::u16string_view letters) { return letters.find(c) != kNone; }

// A kept or dropped decision for one value; nothing when the value is no number.
std::optional<bool> IsNonZero(std::u16string_view value) {
  const auto number = ReadPlainNumber(value);
  if (!number) return std::nullopt;
  return !number->zero;
}

class RecordRules {
 public:
  RecordRules(std::u16string_view text, const FormatRules& rules)
      : text_(text), rules_(rules), nextMarker_(text.size() + 1, kNone) {
    for (std::size_t at = text.size(); at-- > 0;) {
      nextMarker_[at] = IsOneOf(text[at], rules.valueMarkers) ? at : nextMarker_[at + 1];
    }
  }

  // What survives of the record that starts at `start` and ends before `next`, after its head;
  // nothing when the record makes the run fail.
  std::optional<std::u16string> Kept(std::size_t start, std::size_t next) const {
    const std::size_t kindAt = start + rules_.headLength;
    if (kindAt >= text_.size()) return std::u16string();
    if (IsOneOf(text_[kindAt], rules_.singleValueKinds)) return KeptValue(kindAt, next);
    if (IsOneOf(text_[kindAt], rules_.multiEntryKinds)) return KeptEntries(kindAt, next);
    return std::u16string();
  }

 private:
  std::optional<std::u16string> KeptValue(std::size_t kindAt, std::size_t next) const {
    if (kindAt >= next) return std::nullopt;  // the value would end before it starts
    const auto nonZero = IsNonZero(text_.substr(kindAt + 1, next - kindAt - 1));
    if (!nonZero) return std::nullopt;
    return *nonZero ? std::u16string(text_.substr(kindAt, next - kindAt)) : std::u16string();
  }

  // Entries run from one entry letter to the next one inside the record, the last to its end.
  std::optional<std::u16string> KeptEntries(std::size_t cur, std::size_t next) const {
    const char16_t letter = text_[cur];
    std::u16string kept;
    for (std::size_t entries = 1;; ++entries) {
      const std::size_t mark = nextMarker_[std::min(cur + 1, text_.size())];
      if (mark == kNone) return kept;  // no value anywhere further: the rest is dropped
      const std::size_t nextLetter = text_.substr(0, next).find(letter, cur + 1);
      const bool last = nextLetter >= next;
      const std::size_t stop = last ? next : nextLetter;
      if (mark >= stop) return std::nullopt;  // this entry has no marker of its own
      const auto nonZero = IsNonZero(text_.substr(mark + 1, stop - mark - 1));
      if (!nonZero) return std::nullopt;
      if (*nonZero) kept.append(text_.substr(cur, stop - cur));
      if (last) return kept;
      if (entries == kEntryLimit) return std::nullopt;
      cur = nextLetter;
    }
  }

  std::u16string_view text_;
  const FormatRules& rules_;
  std::vector<std::size_t> nextMarker_;  // for each index, the first marker at or after it
};

// Where the kept header of a PMC text starts: two characters after its opening "%", which only a
// UTF-8 byte order mark (two characters in CP932) and blanks may precede; at the start of a text
// without one.
std::size_t PreambleStart(std::u16string_view text, std::size_t first) {
  const std::size_t percent =
      text.find_first_not_of(u" \t", text.starts_with(u"\xEFBB\xBF") ? 2 : 0);
  return percent < first && text[percent] == u'%' ? percent + 2 : 0;
}

}  // namespace

std::optional<ExpectedRun> ExpectedResult(std::u16string_view text, FormatKind kind,
                                          const std::u16string_view* comment) {
  const FormatRules rules = RulesFor(kind);
  const std::size_t first = text.find(u'N');
  if (first == kNone) return std::nullopt;
  const std::size_t end = std::min(text.find(u'%', first + 1), text.size());

  ExpectedRun run{comment != nullptr ? std::u16string(*comment) + u'\n' : u"", 0, 0};
  run.result.append(u"%\n");
  if (const std::size_t from = PreambleStart(text, first); rules.keepsPreamble && from < first) {
    run.result.append(text.substr(from, first - from));
  }
  const RecordRules records(text, rules);
  for (std::size_t start = first;;) {
    const std::size_t next = std::min(text.find(u'N', start + 1), end);
    const auto kept = records.Kept(start, next);
    if (!kept || ++run.recordsRead == kRecordLimit) return std::nullopt;
    if (!kept->empty()) {
      run.result.append(text.substr(start, rules.headLength)).append(*kept);
      if (kept->back() != u'\n') run.result.push_back(u'\n');
      ++run.recordsKept;
    }
    if (next == end) break;
    start = next;
  }
  run.result.push_back(u'%');
  return run;
}

}  // namespace habuki::reference
