#include "core/io/executable_folder.h"

namespace habuki {

std::filesystem::path ExecutableFolder() {
  std::error_code error;
  const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path{} : executable.parent_path();
}

}  // namespace habuki
