#include "core/io/system_calls.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <climits>

#include "core/io/errno_error.h"
#include "core/io/windows/system_error.h"
#include "core/io/windows/system_path.h"
#include "core/text/utf16_text.h"

namespace habuki {

namespace {

HANDLE HandleOf(int descriptor) { return reinterpret_cast<HANDLE>(::_get_osfhandle(descriptor)); }

}  // namespace

std::error_code StatusOf(int descriptor, DescriptorStatus& status) {
  const HANDLE handle = HandleOf(descriptor);
  if (handle == INVALID_HANDLE_VALUE) return std::make_error_code(std::errc::bad_file_descriptor);
  if (::GetFileType(handle) != FILE_TYPE_DISK) {
    status.kind = FileKind::Other;  // a console, a pipe, NUL
    return {};
  }
  // A disk file that cannot tell what it is (wine hands a program a Linux file so) is read as a
  // stream, without an identity, rather than not at all.
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(handle, &info)) {
    status.kind = FileKind::Other;
    return {};
  }
  const bool folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  status.kind = folder ? FileKind::Directory : FileKind::Regular;
  status.size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
  status.identity = {info.dwVolumeSerialNumber,
                     (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
  return {};
}

std::error_code PositionOf(int descriptor, std::uint64_t& position) {
  ForgetRuntimeReason();
  const long long at = ::_lseeki64(descriptor, 0, SEEK_CUR);
  if (at < 0) return LastError();
  position = static_cast<std::uint64_t>(at);
  return {};
}

std::error_code ReadSome(int descriptor, char* data, std::size_t size, std::size_t& got) {
  ForgetRuntimeReason();
  const int read =
      ::_read(descriptor, data, static_cast<unsigned>(std::min<std::size_t>(size, INT_MAX)));
  if (read < 0) return LastError();
  got = static_cast<std::size_t>(read);
  return {};
}

// Windows has no named pipe that blocks an open, so `noWaiting` asks nothing more. Other
// programs may go on writing the file, as they may on other systems; a program that holds it
// locked (Excel a workbook it shows) is named in the system's words. Windows refuses to open a
// folder as "access denied"; it is told as what it is.
int OpenToRead(const std::filesystem::path& path, bool, std::error_code& error) {
  const HANDLE file = ::CreateFileW(SystemPath(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD failure = ::GetLastError();
    error = failure == ERROR_ACCESS_DENIED && IsFolder(path)
                ? std::make_error_code(std::errc::is_a_directory)
                : WindowsError(failure);
    return -1;
  }
  ForgetRuntimeReason();
  const int descriptor = ::_open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDONLY | _O_BINARY);
  if (descriptor >= 0) return descriptor;
  error = LastError();
  ::CloseHandle(file);
  return -1;
}

void CloseDescriptor(int descriptor) { ::_close(descriptor); }

bool IsTerminal(int descriptor) {
  DWORD mode = 0;
  return ::GetConsoleMode(HandleOf(descriptor), &mode) != 0;
}

// A console shows UTF-16 whatever its code page; the C runtime's writes would pass it bytes in
// the console's code page, or mangle them.
std::error_code WriteToTerminal(int descriptor, std::string_view utf8) {
  const std::wstring wide = WideFromUtf8(utf8);
  std::wstring_view left = wide;
  while (!left.empty()) {
    const auto size = static_cast<DWORD>(std::min<std::size_t>(left.size(), 1 << 15));
    DWORD written = 0;
    if (!::WriteConsoleW(HandleOf(descriptor), left.data(), size, &written, nullptr)) {
      return LastWindowsError();
    }
    left.remove_prefix(written);
  }
  return {};
}

}  // namespace habuki
