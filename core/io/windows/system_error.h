#pragma once

#include <system_error>

namespace habuki {

// A Windows error code, told in the system's own words and language. It compares equal to the
// error the same failure gives on other systems where there is one (std::errc::
// no_such_file_or_directory for a missing file, and so on), so that callers check alike.
std::error_code WindowsError(unsigned long code);
// The error GetLastError() tells.
std::error_code LastWindowsError();
// The C runtime keeps the system's reason for a failed call beside errno, and never clears it:
// a call whose failure LastError() tells forgets the last one first.
void ForgetRuntimeReason();

}  // namespace habuki
