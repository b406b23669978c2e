#pragma once

// The system calls that writing files goes through, with SystemFileOps() giving the real ones:
// each system has its own, and tests hand the writers a copy with one of them made to fail.
#ifdef _WIN32
#include "core/io/windows/file_ops.h"
#else
#include "core/io/posix/file_ops.h"
#endif
