#pragma once

#include <string_view>
#include <vector>

namespace habuki {

// The lines that stand between a backup's "%" line and its first record (the first line that
// starts with "N"), blank lines left out: the PMC header "(PMC=0I-F,MSID=1)", which no value
// holds. The "%" line is the first line before the first record that is "%" but for blanks (and,
// on the first line, a byte order mark); in a text without one, the lines before the record. A
// thinned file has the same header lines as its backup: the comment line in front of its "%" counts
// for nothing.
std::vector<std::string_view> HeaderLines(std::string_view bytes);

}  // namespace habuki
