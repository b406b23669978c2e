#include "core/io/windows/system_error.h"

#include <windows.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <utility>

#include "core/io/errno_error.h"
#include "core/text/utf16_text.h"

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

// Windows' errors, told with the system's own text in the user's language, as UTF-8 like every
// other message. Each compares equal to the error the same failure gives on other systems (a
// missing file, a refused access, a full disk ...), so that the callers' checks hold everywhere.
class WindowsErrorCategory : public std::error_category {
 public:
  const char* name() const noexcept override { return "windows"; }

  std::string message(int code) const override {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring wide(text != nullptr ? text : L"", length);
    ::LocalFree(text);
    // The texts end in a line break, and the English ones in a full stop that the message
    // around them does not want.
    while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r' || wide.back() == L' ' ||
                             wide.back() == L'.')) {
      wide.pop_back();
    }
    if (wide.empty()) return "Windows error " + std::to_string(static_cast<DWORD>(code));
    return Utf8FromWide(wide);
  }

  std::error_condition default_error_condition(int code) const noexcept override {
    for (const auto& [windows, same] : kSameFailure) {
      if (windows == static_cast<DWORD>(code)) return std::make_error_condition(same);
    }
    return {code, *this};
  }
};

const std::error_category& WindowsCategory() {
  static const WindowsErrorCategory category;
  return category;
}

}  // namespace

std::error_code WindowsError(unsigned long code) {
  return {static_cast<int>(code), WindowsCategory()};
}

std::error_code LastWindowsError() { return WindowsError(::GetLastError()); }

void ForgetRuntimeReason() { _doserrno = 0; }

std::error_code LastError() {
  const unsigned long reason = _doserrno;
  return reason != 0 ? WindowsError(reason) : std::error_code(errno, std::generic_category());
}

}  // namespace habuki
