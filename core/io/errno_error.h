#pragma once

#include <cerrno>
#include <system_error>

namespace habuki {

// The error that the last failed call of the C library or a POSIX call left in errno.
inline std::error_code LastError() { return {errno, std::generic_category()}; }

}  // namespace habuki
