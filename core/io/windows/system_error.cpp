#include "core/io/windows/system_error.h"

#include <windows.h>

#include <utility>

namespace habuki {

namespace {

constexpr std::pair<DWORD, std::errc> kSameFailure[] = {
    {ERROR_FILE_NOT_FOUND, std::errc::no_such_file_or_directory},
    {ERROR_PATH_NOT_FOUND, std::errc::no_such_file_or_directory},
    {ERROR_INVALID_DRIVE, std::errc::no_such_file_or_directory},
    {ERROR_BAD_NETPATH, std::errc::no_such_file_or_directory},
    {ERROR_ACCESS_DENIED, std::errc::permission_denied},
    {ERROR_WRITE_PROTECT, std::errc::read_only_file_system},
    {ERROR_SHARING_VIOLATION, std::errc::device_or_resource_busy},
    {ERROR_LOCK_VIOLATION, std::errc::device_or_resource_busy},
    {ERROR_FILE_EXISTS, std::errc::file_exists},
    {ERROR_ALREADY_EXISTS, std::errc::file_exists},
    {ERROR_DISK_FULL, std::errc::no_space_on_device},
    {ERROR_HANDLE_DISK_FULL, std::errc::no_space_on_device},
    {ERROR_NOT_ENOUGH_MEMORY, std::errc::not_enough_memory},
    {ERROR_OUTOFMEMORY, std::errc::not_enough_memory},
    {ERROR_INVALID_NAME, std::errc::invalid_argument},
    {ERROR_DIRECTORY, std::errc::not_a_directory},
    {ERROR_FILENAME_EXCED_RANGE, std::errc::filename_too_long},
    {ERROR_NOT_SAME_DEVICE, std::errc::cross_device_link},
    {ERROR_BROKEN_PIPE, std::errc::broken_pipe},
    {ERROR_NO_DATA, std::errc::broken_pipe},
    {ERROR_TOO_MANY_OPEN_FILES, std::errc::too_many_files_open},
    {ERROR_NOT_SUPPORTED, std::errc::not_supported},
    {ERROR_OPERATION_ABORTED, std::errc::interrupted},
};

}  // namespace

std::error_code WindowsError(unsigned long code) {
  for (const auto& [windows, same] : kSameFailure) {
    if (windows == code) return std::make_error_code(same);
  }
  return {static_cast<int>(code), std::system_category()};
}

std::error_code LastWindowsError() { return WindowsError(::GetLastError()); }

}  // namespace habuki
