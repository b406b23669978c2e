#include "core/io/system_calls.h"

namespace habuki {

bool NamesATerminal(const std::filesystem::path& path) {
  std::error_code error;
  const int descriptor = OpenToRead(path, /*noWaiting=*/true, error);
  if (descriptor < 0) return false;
  const bool terminal = IsTerminal(descriptor);
  CloseDescriptor(descriptor);
  return terminal;
}

}  // namespace habuki
