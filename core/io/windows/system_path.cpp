#include "core/io/windows/system_path.h"

#include <windows.h>

#include <string_view>

namespace habuki {

namespace {

constexpr std::size_t kPlainLength = MAX_PATH - 12;
constexpr std::wstring_view kExtended = L"\\\\?\\";
constexpr std::wstring_view kDevice = L"\\\\.\\";
constexpr std::wstring_view kShare = L"\\\\";

std::wstring FullPath(const std::wstring& path) {
  std::wstring full(path.size() + MAX_PATH, L'\0');
  for (;;) {
    const DWORD size =
        ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (size == 0) return path;
    if (size < full.size()) {
      full.resize(size);
      return full;
    }
    full.resize(size);
  }
}

}  // namespace

std::wstring SystemPath(const std::filesystem::path& path) {
  const std::wstring& given = path.native();
  if (given.size() < kPlainLength || given.starts_with(kExtended) || given.starts_with(kDevice)) {
    return given;
  }
  const std::wstring full = FullPath(given);
  if (full.starts_with(kExtended) || full.starts_with(kDevice)) return full;
  if (full.starts_with(kShare)) return std::wstring(kExtended) + L"UNC\\" + full.substr(2);
  return std::wstring(kExtended) + full;
}

bool IsFolder(const std::filesystem::path& path) {
  const DWORD attributes = ::GetFileAttributesW(SystemPath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace habuki
