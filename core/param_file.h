#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "filter_state.h"

namespace habuki {

enum class LoadStatus { Loaded, CannotRead, Empty };

struct LoadResult {
  LoadStatus status;
  std::error_code error;  // why the file could not be read

  explicit operator bool() const { return status == LoadStatus::Loaded; }
};

// The lines of an 8-bit text. A line ends at CR or CR LF; a lone LF is an ordinary character
// and stays inside its line, as the control's own line reader treats it.
std::vector<std::string> SplitLines(std::string_view bytes);

// Reads a parameter file into LineList and AllText, every line followed by CR LF, and touches
// nothing else. A file that cannot be read or holds no characters clears both and fails.
LoadResult LoadParamFile(FilterState& state, const std::filesystem::path& path);

// The same for bytes already read, such as standard input.
LoadResult LoadParamBytes(FilterState& state, std::string_view bytes);

}  // namespace habuki
