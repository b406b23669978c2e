#pragma once

#include <cstddef>
#include <string_view>

namespace habuki {

// A loaded text ends every line with CR LF, as the control's own line reader sees the file: a
// line ends at CR or CR LF, a lone CR gets an LF after it, and a last line without a CR gets
// CR LF. A lone LF is an ordinary character and stays inside its line.

// How many bytes completing the line breaks of `bytes` adds.
std::size_t LineBreakGrowth(std::string_view bytes);

// Completes the line breaks of the `size` bytes at `data` in place, moving each byte at most once;
// `growth` (from LineBreakGrowth) more bytes of room must follow them.
void CompleteLineBreaks(char* data, std::size_t size, std::size_t growth);

}  // namespace habuki
