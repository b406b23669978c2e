#include "core/io/user_config_folder.h"

#include <windows.h>
#include <shlobj.h>

namespace habuki {

std::filesystem::path UserConfigFolder() {
  PWSTR roaming = nullptr;
  std::filesystem::path folder;
  if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &roaming))) {
    folder = std::filesystem::path(roaming) / L"habuki";
  }
  ::CoTaskMemFree(roaming);
  return folder;
}

std::filesystem::path UserHomeFolder() {
  PWSTR profile = nullptr;
  std::filesystem::path folder;
  if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_Profile, 0, nullptr, &profile))) folder = profile;
  ::CoTaskMemFree(profile);
  return folder;
}

}  // namespace habuki
