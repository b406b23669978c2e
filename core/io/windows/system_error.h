#pragma once

#include <system_error>

namespace habuki {

// A Windows error code as the error the same failure gives on other systems, where there is one
// (a missing file, a refused access, a full disk ...), so that messages and the callers' checks
// are the same everywhere; else as Windows' own error.
std::error_code WindowsError(unsigned long code);
// The error GetLastError() tells.
std::error_code LastWindowsError();

}  // namespace habuki
