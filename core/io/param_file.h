#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "core/filter/filter_state.h"
#include "core/io/file_identity.h"

namespace habuki {

enum class LoadStatus { Loaded, CannotRead, TooLarge, Empty };

struct LoadResult {
  LoadStatus status;
  std::error_code error;                  // why the file could not be read
  std::optional<std::uint64_t> fileSize;  // TooLarge: the size, when the file tells it
  std::optional<FileIdentity> identity;   // the regular file that was loaded

  explicit operator bool() const { return status == LoadStatus::Loaded; }
};

// The lines of an 8-bit text. A line ends at CR or CR LF; a lone LF is an ordinary character
// and stays inside its line, as the control's own line reader treats it.
std::vector<std::string> SplitLines(std::string_view bytes);

// Reads a parameter file into AllText, every line followed by CR LF (see line_breaks.h), with
// LineList over it, and touches nothing else. A file that cannot be read, is larger than
// kParamFileLimit or holds no characters clears both and fails; a file over the limit is refused
// before it is read whole. The text is a copy in the program's own memory, read once: whatever
// another program does to the file meanwhile changes neither the text nor the run.
LoadResult LoadParamFile(FilterState& state, const std::filesystem::path& path);

// The same from an open descriptor, such as standard input, from its current position.
LoadResult LoadParamDescriptor(FilterState& state, int descriptor);

// The same for bytes already read.
LoadResult LoadParamBytes(FilterState& state, std::string_view bytes);

}  // namespace habuki
