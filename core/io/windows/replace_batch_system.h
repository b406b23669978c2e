#pragma once

#include <filesystem>
#include <system_error>

#include "core/io/replace_batch.h"
#include "core/io/windows/interrupt_cleanup.h"

namespace habuki {

// A batch on Windows: each result a temporary beside the file it replaces, named by its path.
struct SystemBatch {
  struct Pending {
    std::filesystem::path target;     // as the caller named it
    std::filesystem::path place;      // the file it names, links followed; or the new file
    std::filesystem::path temporary;  // beside `place`
    bool replaces = false;            // whether `place` exists
    int watch = -1;
    std::error_code error;
  };
  // What a name leads to: a character device or pipe to write through (NUL, CON, CONOUT$), an
  // existing file to replace where it stands, or nothing yet.
  struct Target {
    void* device = nullptr;  // the device's handle, open for writing
    std::filesystem::path place;
    bool exists = false;
  };
  using Handle = void*;  // INVALID_HANDLE_VALUE when it could not be made

  // Nothing is held beyond the results.
  explicit SystemBatch(BatchLimits) {}
};

}  // namespace habuki
