#include "core/filter/number_ranges.h"

#include <charconv>

namespace habuki {

namespace {

// A whole number of decimal digits only: no sign, no blank.
std::optional<std::uint32_t> WholeNumber(std::string_view text) {
  std::uint32_t number = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, number);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return number;
}

std::string Bad(std::string_view part, std::string_view why) {
  return "bad range \"" + std::string(part) + "\": " + std::string(why);
}

// One part of the list: NUMBER or FIRST-LAST.
std::variant<std::pair<std::uint32_t, std::uint32_t>, std::string> ParseRange(
    std::string_view part) {
  if (part.empty()) return Bad(part, "a number or FIRST-LAST is missing");
  const std::size_t dash = part.find('-');
  const std::string_view firstText = part.substr(0, dash);
  const std::string_view lastText = dash == std::string_view::npos ? part : part.substr(dash + 1);
  const auto first = WholeNumber(firstText);
  const auto last = WholeNumber(lastText);
  if (!first || !last) {
    return Bad(part, "not a number or FIRST-LAST of whole numbers up to 4294967295");
  }
  if (*first > *last) return Bad(part, "its first number is greater than its last");
  return std::pair{*first, *last};
}

}  // namespace

std::string NumberRanges::Named(std::size_t index) const {
  const auto [first, last] = ranges_[index];
  return first == last ? std::to_string(first) : std::to_string(first) + "-" + std::to_string(last);
}

void RangeMatches::Note(std::optional<std::uint32_t> number) {
  if (!number) return;
  for (std::size_t i = 0; i < only_.size(); ++i) {
    if (choice_.only->HoldsAt(i, *number)) only_[i] = true;
  }
  for (std::size_t i = 0; i < ignore_.size(); ++i) {
    if (choice_.ignore.HoldsAt(i, *number)) ignore_[i] = true;
  }
}

std::vector<std::string> RangeMatches::Unmatched() const {
  std::vector<std::string> ranges;
  for (std::size_t i = 0; i < only_.size(); ++i) {
    if (!only_[i]) ranges.push_back("--only " + choice_.only->Named(i));
  }
  for (std::size_t i = 0; i < ignore_.size(); ++i) {
    if (!ignore_[i]) ranges.push_back("--ignore " + choice_.ignore.Named(i));
  }
  return ranges;
}

std::variant<NumberRanges, std::string> ParseNumberRanges(std::string_view text) {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> ranges;
  for (std::size_t from = 0;;) {
    const std::size_t comma = text.find(',', from);
    auto range = ParseRange(text.substr(from, comma - from));
    if (auto* problem = std::get_if<std::string>(&range)) {
      // A list names its bad part, and where it stands.
      const bool onePart = text.find(',') == std::string_view::npos;
      return onePart ? *problem : *problem + " in \"" + std::string(text) + "\"";
    }
    ranges.push_back(std::get<0>(range));
    if (comma == std::string_view::npos) break;
    from = comma + 1;
  }
  return NumberRanges(std::move(ranges));
}

}  // namespace habuki
