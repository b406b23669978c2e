#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace habuki {

// Whether `bytes` are exactly the workbook that was written, as a spreadsheet program reads it:
// a zip whose directory is whole, every part of which inflates to its stated size and checksum
// and is UTF-8, holding every part its content types name, and a sheet for each entry of
// `sheetRows` whose XML is complete and whose last row is the number given there (rows counted
// from 1, the header's included). A library that does not check its own writes (a full disk, a
// file size limit) leaves a workbook that fails here. Empty when it is whole; else what is wrong.
std::string CheckWorkbook(std::string_view bytes, std::span<const std::size_t> sheetRows);

}  // namespace habuki
