#include "core/io/executable_folder.h"

#include <windows.h>

#include <string>

namespace habuki {

std::filesystem::path ExecutableFolder() {
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD size = ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (size == 0) return {};
    if (size < name.size()) {
      name.resize(size);
      return std::filesystem::path(name).parent_path();
    }
    name.resize(2 * name.size());  // the name was cut short
  }
}

}  // namespace habuki
