#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace habuki {

// One header line (see HeaderLines) across the files compared: each file's line in the files'
// order, none where a file has fewer lines.
using HeaderLineAcross = std::vector<std::optional<std::string_view>>;

// The header lines of two backups or more, compared line by line as text: the lines where the
// files do not all agree.
std::vector<HeaderLineAcross> DifferingHeaderLines(
    const std::vector<std::vector<std::string_view>>& files);

}  // namespace habuki
