#pragma once

#include <filesystem>
#include <optional>

#include "cli/cli_io.h"
#include "core/table/parameter_names.h"

namespace habuki {

// The user's own names of parameters for the tables and comparisons: from `given` (--names), or
// else from names.csv in the configuration folder when there is one; none without either. A file
// that cannot be read (kExitFileError) or holds a bad line (kExitUsage: the names are the user's
// settings) is told on `io.err`, each bad line with its number; nothing is read then.
struct NamesLoad {
  std::optional<ParameterNames> names;
  int status = 0;
};
NamesLoad LoadNames(const std::optional<std::filesystem::path>& given, CliIo& io);

}  // namespace habuki
