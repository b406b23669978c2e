#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <memory>
#include <string>
#include <utility>

#include "core/io/errno_error.h"
#include "core/io/replace_batch_state.h"
#include "core/io/windows/system_error.h"
#include "core/io/windows/system_path.h"

namespace habuki {

namespace {

// The path Windows knows an open file by, every link and junction on the way resolved. Where
// the system cannot tell it (wine, for a path past MAX_PATH), the full path of the name given
// stands, and a link there is replaced rather than the file it leads to.
std::filesystem::path FinalPath(HANDLE file, const std::filesystem::path& given) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD size =
        ::GetFinalPathNameByHandleW(file, path.data(), static_cast<DWORD>(path.size()), 0);
    if (size == 0) {
      std::error_code ignored;
      return SystemPath(std::filesystem::absolute(given, ignored));
    }
    if (size < path.size()) {
      path.resize(size);
      return path;
    }
    path.resize(size);
  }
}

// A descriptor of the C runtime for `handle`, in binary mode; it owns the handle from then on.
int DescriptorOf(HANDLE handle) {
  ForgetRuntimeReason();
  const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY);
  if (fd < 0) ::CloseHandle(handle);
  return fd;
}

}  // namespace

// Opening the name for writing asks whether the caller may write it, as replacing it would not.
std::error_code ReplaceBatch::State::Find(const std::filesystem::path& path, Target& found) const {
  const std::filesystem::path name = path.filename();
  if (name.empty() || name == "." || name == "..") {
    return std::make_error_code(std::errc::is_a_directory);
  }
  const HANDLE file = ::CreateFileW(SystemPath(path).c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    std::error_code ignored;
    if (error == ERROR_FILE_NOT_FOUND) {
      found.place = std::filesystem::absolute(path, ignored);
      return {};
    }
    if (error == ERROR_ACCESS_DENIED && IsFolder(path)) {
      return std::make_error_code(std::errc::is_a_directory);
    }
    return WindowsError(error);
  }
  if (::GetFileType(file) != FILE_TYPE_DISK) {
    found.device = file;
    return {};
  }
  const std::unique_ptr<void, decltype(&::CloseHandle)> closed(file, &::CloseHandle);
  found.exists = true;
  found.place = FinalPath(file, path);
  return {};
}

bool ReplaceBatch::State::IsWrittenThrough(const Target& target) {
  return target.device != nullptr;
}

std::error_code ReplaceBatch::State::WriteThrough(Target& target,
                                                  const WriteContents& contents) const {
  const int fd = DescriptorOf(target.device);
  if (fd < 0) return LastError();
  const std::error_code error = contents(fd);
  ForgetRuntimeReason();
  return ::_close(fd) != 0 && !error ? LastError() : error;
}

void ReplaceBatch::State::Hold(Pending& pending, Target target) {
  pending.place = std::move(target.place);
  pending.replaces = target.exists;
}

bool ReplaceBatch::State::HoldsTooMuch() const { return false; }

// Makes a new file beside the file to replace that no other writer can have opened, and writes
// it: it is on disk before Commit puts it in place.
std::error_code ReplaceBatch::State::WriteTemporary(Pending& pending,
                                                    const WriteContents& contents) {
  const Made made =
      CreateNamed(pending, [&] { return ops_.createNew(SystemPath(pending.temporary).c_str()); });
  if (made.handle == INVALID_HANDLE_VALUE) return made.error;
  const int fd = DescriptorOf(made.handle);
  if (fd < 0) return LastError();
  std::error_code error = contents(fd);
  if (!error) {
    bytes_ += static_cast<std::size_t>(std::max<long long>(::_telli64(fd), 0));
    if (!ops_.flushFileBuffers(made.handle)) error = LastWindowsError();
  }
  ForgetRuntimeReason();
  return ::_close(fd) != 0 && !error ? LastError() : error;
}

void ReplaceBatch::State::NameTemporary(Pending& pending, std::string name) const {
  pending.temporary = pending.place.parent_path() / name;
}

// Makes the temporary by `create`, watched for removal on Ctrl-C.
ReplaceBatch::State::Made ReplaceBatch::State::CreateWatched(Pending& pending,
                                                             const Create& create) const {
  HANDLE handle = INVALID_HANDLE_VALUE;
  DWORD failure = ERROR_TOO_MANY_OPEN_FILES;
  const int watch = InterruptCleanup::CreateWatched(pending.temporary, [&] {
    handle = create();
    failure = ::GetLastError();
    return handle != INVALID_HANDLE_VALUE;
  });
  if (watch >= 0) return {handle, {}, false, watch};
  const bool taken = failure == ERROR_FILE_EXISTS;
  return {INVALID_HANDLE_VALUE,
          taken ? std::make_error_code(std::errc::file_exists) : WindowsError(failure), taken, -1};
}

// Each temporary was flushed to disk as it was written.
void ReplaceBatch::State::WaitForData() {}

// Replaces an existing file, which keeps its attributes, ACL and streams; moves a new one into
// place.
void ReplaceBatch::State::Publish(Pending& pending) {
  const std::wstring place = SystemPath(pending.place);
  const std::wstring temporary = SystemPath(pending.temporary);
  const bool placed = pending.replaces ? ops_.replaceFile(place.c_str(), temporary.c_str())
                                       : ops_.moveFile(temporary.c_str(), place.c_str());
  if (!placed) pending.error = LastWindowsError();
}

// The moves were written through; no folder is held.
void ReplaceBatch::State::SyncFolders() {}

void ReplaceBatch::State::Remove(const Pending& pending) const {
  ::DeleteFileW(SystemPath(pending.temporary).c_str());
}

}  // namespace habuki
