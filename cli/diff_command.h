#pragma once

#include "cli/cli_io.h"
#include "cli/cli_options.h"

namespace habuki {

// `habuki diff OLD NEW`: tells which parameter values differ between two backups; with three or
// more files, shows them side by side, one column a file. Ends as diff does (kDiffExitStatuses).
int RunDiff(const DiffOptions& options, CliIo& io);

}  // namespace habuki
