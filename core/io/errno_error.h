#pragma once

#include <system_error>

namespace habuki {

// The reason the last failed call of the C library or a POSIX call gave: errno's. On Windows the
// system's own reason where the C runtime kept one (a sharing violation rather than errno's
// "permission denied"), told in the system's language.
std::error_code LastError();

}  // namespace habuki
