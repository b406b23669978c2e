#include "core/table/decimal_number.h"

#include <algorithm>

#include "core/text/text_primitives.h"

namespace habuki {

namespace {

// The leading digits of `text`, taken off it.
std::string_view TakeDigits(std::string_view& text) {
  const auto end = std::find_if_not(text.begin(), text.end(), IsDigit<char>);
  const std::string_view digits = text.substr(0, static_cast<std::size_t>(end - text.begin()));
  text.remove_prefix(digits.size());
  return digits;
}

}  // namespace

std::optional<std::string> CanonicalDecimal(std::string_view value) {
  std::string_view text = WithoutBlanks(value);
  const bool negative = !text.empty() && text.front() == '-';
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  std::string_view whole = TakeDigits(text);
  std::string_view fraction;
  const bool point = !text.empty() && text.front() == '.';
  if (point) {
    text.remove_prefix(1);
    fraction = TakeDigits(text);
  }
  if (!text.empty() || (whole.empty() && fraction.empty())) return std::nullopt;
  whole.remove_prefix(std::min(whole.find_first_not_of('0'), whole.size()));
  fraction = fraction.substr(0, fraction.find_last_not_of('0') + 1);
  const bool zero = whole.empty() && fraction.empty();
  std::string canonical = negative && !zero ? "-" : "";
  canonical.append(whole.empty() ? "0" : whole);
  if (!fraction.empty()) canonical.append(".").append(fraction);
  return canonical;
}

}  // namespace habuki
