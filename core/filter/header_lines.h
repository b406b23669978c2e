#pragma once

#include <string_view>
#include <vector>

namespace habuki {

// The text from its first line that is "%" alone (the whole text when there is none): where a
// backup's records begin to matter, past the comment line that thinning puts in front. CR, LF
// and CR LF each end a line. A "%" is never the trail byte of a CP932 pair, so the bytes and the
// 16-bit codes of a text give the same line.
template <typename Unit>
std::basic_string_view<Unit> FromPercentLine(std::basic_string_view<Unit> text) {
  const auto isBreak = [](Unit c) { return c == '\r' || c == '\n'; };
  for (std::size_t at = text.find(Unit{'%'}); at != text.npos; at = text.find(Unit{'%'}, at + 1)) {
    const bool startsLine = at == 0 || isBreak(text[at - 1]);
    const bool endsLine = at + 1 == text.size() || isBreak(text[at + 1]);
    if (startsLine && endsLine) return text.substr(at);
  }
  return text;
}

// The lines that stand between a backup's "%" line and its first record (the first line that
// starts with "N"), blank lines left out: the PMC header "(PMC=0I-F,MSID=1)", which no value
// holds. A thinned file has the same header lines as its backup.
std::vector<std::string_view> HeaderLines(std::string_view bytes);

}  // namespace habuki
