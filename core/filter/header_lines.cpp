#include "core/filter/header_lines.h"

#include <algorithm>

#include "core/text/byte_order_mark.h"

namespace habuki {

namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view WithoutBlanks(std::string_view line) {
  line.remove_prefix(std::min(line.find_first_not_of(kBlanks), line.size()));
  return line.substr(0, line.find_last_not_of(kBlanks) + 1);
}

// The text after its "%" line (see HeaderLines); the whole text when none comes before the first
// record. CR, LF and CR LF each end a line. A "%" is never the trail byte of a CP932 pair.
std::string_view AfterPercentLine(std::string_view text) {
  for (std::size_t at = ByteOrderMarkLength(text); at < text.size() && text[at] != 'N';) {
    const std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
    if (WithoutBlanks(text.substr(at, end - at)) == "%") return text.substr(end);
    at = end + 1;
  }
  return text;
}

}  // namespace

std::vector<std::string_view> HeaderLines(std::string_view bytes) {
  std::string_view rest = AfterPercentLine(bytes);
  std::vector<std::string_view> lines;
  rest.remove_prefix(std::min(rest.find_first_not_of("\r\n"), rest.size()));
  while (!rest.empty() && !rest.starts_with('N')) {
    const std::size_t end = std::min(rest.find_first_of("\r\n"), rest.size());
    const std::string_view line = rest.substr(0, end);
    if (!WithoutBlanks(line).empty()) lines.push_back(line);
    rest.remove_prefix(end);
    rest.remove_prefix(std::min(rest.find_first_not_of("\r\n"), rest.size()));
  }
  return lines;
}

}  // namespace habuki
