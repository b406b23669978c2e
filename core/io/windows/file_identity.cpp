#include "core/io/file_identity.h"

#include <windows.h>

#include "core/io/system_calls.h"
#include "core/io/windows/system_path.h"

namespace habuki {

// Opened without asking to read or write, so that a file the caller may not read still tells
// what it is; a folder needs backup semantics to be opened at all.
std::optional<FileIdentity> RegularFileIdentity(const std::filesystem::path& path) {
  const HANDLE handle = ::CreateFileW(SystemPath(path).c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool regular = ::GetFileType(handle) == FILE_TYPE_DISK &&
                       ::GetFileInformationByHandle(handle, &info) &&
                       (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  ::CloseHandle(handle);
  if (!regular) return std::nullopt;
  return FileIdentity{info.dwVolumeSerialNumber,
                      (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

std::optional<FileIdentity> RegularFileIdentity(int descriptor) {
  DescriptorStatus status;
  if (StatusOf(descriptor, status) || status.kind != FileKind::Regular) return std::nullopt;
  return status.identity;
}

}  // namespace habuki
