#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "core/text/text_primitives.h"

namespace habuki {

// Parameter numbers as the control names them: 1005 is N01005 in a 30i backup and N1005 in a
// 16i one, so numbers are compared as integers and leading zeros mean nothing.
class NumberRanges {
 public:
  NumberRanges() = default;
  explicit NumberRanges(std::vector<std::pair<std::uint32_t, std::uint32_t>> ranges)
      : ranges_(std::move(ranges)) {}

  bool Contains(std::uint32_t number) const {
    for (const auto& [first, last] : ranges_) {
      if (number >= first && number <= last) return true;
    }
    return false;
  }
  // Adds the numbers of `other`.
  void Add(const NumberRanges& other) {
    ranges_.insert(ranges_.end(), other.ranges_.begin(), other.ranges_.end());
  }
  std::size_t size() const { return ranges_.size(); }
  // Whether the range at `index` holds `number`.
  bool HoldsAt(std::size_t index, std::uint32_t number) const {
    return number >= ranges_[index].first && number <= ranges_[index].second;
  }
  // The range at `index` as it is written: "1000-1999", or "6700" for one number.
  std::string Named(std::size_t index) const;

  friend bool operator==(const NumberRanges&, const NumberRanges&) = default;

 private:
  std::vector<std::pair<std::uint32_t, std::uint32_t>> ranges_;  // first and last, inclusive
};

// "1000-1999,6700": numbers and ranges FIRST-LAST, separated by commas. What is wrong with a
// text that is not such a list names its bad part.
std::variant<NumberRanges, std::string> ParseNumberRanges(std::string_view text);

// Which records a run reads: those in `only` when it is given, and of those, none in `ignore`.
struct NumberChoice {
  std::optional<NumberRanges> only;
  NumberRanges ignore;

  bool Everything() const { return !only && ignore == NumberRanges(); }
  // `number` is none for a record whose head has no digits after its "N": no range names it.
  bool Keeps(std::optional<std::uint32_t> number) const {
    if (!number) return !only;
    return (!only || only->Contains(*number)) && !ignore.Contains(*number);
  }

  friend bool operator==(const NumberChoice&, const NumberChoice&) = default;
};

// Which ranges of a choice name some record: a range that names none is most likely a typo
// (--only 10005 for 1005), which the user should hear of.
class RangeMatches {
 public:
  explicit RangeMatches(const NumberChoice& choice)
      : choice_(choice),
        only_(choice.only ? choice.only->size() : 0, false),
        ignore_(choice.ignore.size(), false) {}

  // Notes the number of a record.
  void Note(std::optional<std::uint32_t> number);
  // The ranges that named none of the numbers noted, as the options give them: "--only 10005".
  std::vector<std::string> Unmatched() const;

 private:
  const NumberChoice& choice_;
  std::vector<bool> only_;
  std::vector<bool> ignore_;
};

// The number of a record's head: the digits after its "N" (N01005Q1 is 1005, N600002 is
// 600002); none when there are none.
template <typename Unit>
std::optional<std::uint32_t> HeadNumber(UnitView<Unit> head) {
  std::optional<std::uint32_t> number;
  for (std::size_t i = 1; i < head.size() && IsDigit(head[i]); ++i) {
    // A head is a few characters long; its digits cannot overflow.
    number = number.value_or(0) * 10 + static_cast<std::uint32_t>(head[i] - '0');
  }
  return number;
}

}  // namespace habuki
