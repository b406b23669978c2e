#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <memory>
#include <string>
#include <utility>

#include "core/io/errno_error.h"
#include "core/io/replace_batch_policy.h"
#include "core/io/windows/replace_batch_state.h"
#include "core/io/windows/system_error.h"
#include "core/io/windows/system_path.h"

namespace habuki {

namespace {

// What a name leads to: a character device or pipe to write through (NUL, CON, CONOUT$), an
// existing file to replace where it stands, or nothing yet.
struct Found {
  HANDLE device = INVALID_HANDLE_VALUE;
  std::filesystem::path place;
  bool exists = false;
};

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

// Opening the name for writing asks whether the caller may write it, as replacing it would not.
std::error_code Find(const std::filesystem::path& path, Found& found) {
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

// A descriptor of the C runtime for `handle`, in binary mode; it owns the handle from then on.
int DescriptorOf(HANDLE handle) {
  ForgetRuntimeReason();
  const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY);
  if (fd < 0) ::CloseHandle(handle);
  return fd;
}

std::error_code WriteThrough(HANDLE device, const WriteContents& contents) {
  const int fd = DescriptorOf(device);
  if (fd < 0) return LastError();
  const std::error_code error = contents(fd);
  ForgetRuntimeReason();
  return ::_close(fd) != 0 && !error ? LastError() : error;
}

}  // namespace

ReplaceBatch::State::State(FileOps ops, BatchLimits limits)
    : ops_(std::move(ops)), limits_(limits), random_(std::random_device{}()) {
  pending_.reserve(limits_.files);
}

ReplaceBatch::State::~State() {
  for (const Pending& pending : pending_) Discard(pending);
}

std::error_code ReplaceBatch::State::Add(const std::filesystem::path& path,
                                         const WriteContents& contents) {
  Found found;
  if (const auto error = Find(path, found)) return error;
  if (found.device != INVALID_HANDLE_VALUE) return WriteThrough(found.device, contents);
  return AddPending(
      pending_,
      [&](Pending& pending) {
        pending.target = path;
        pending.place = std::move(found.place);
        pending.replaces = found.exists;
      },
      [&](Pending& pending) { return Fill(pending, contents); },
      [&](const Pending& pending) { Discard(pending); });
}

bool ReplaceBatch::State::Full() const {
  return pending_.size() >= limits_.files || bytes_ >= limits_.bytes;
}

// The temporary is on disk before Commit puts it in place.
std::error_code ReplaceBatch::State::Fill(Pending& pending, const WriteContents& contents) {
  if (!cleanup_) cleanup_.emplace();
  std::error_code error;
  const HANDLE handle = CreateTemporary(pending, error);
  if (handle == INVALID_HANDLE_VALUE) return error;
  const int fd = DescriptorOf(handle);
  if (fd < 0) return LastError();
  error = contents(fd);
  if (!error) {
    bytes_ += static_cast<std::size_t>(std::max<long long>(::_telli64(fd), 0));
    if (!ops_.flushFileBuffers(handle)) error = LastWindowsError();
  }
  ForgetRuntimeReason();
  return ::_close(fd) != 0 && !error ? LastError() : error;
}

// Makes a new file beside the file to replace that no other writer can have opened, and watches
// it for removal on Ctrl-C.
void* ReplaceBatch::State::CreateTemporary(Pending& pending, std::error_code& error) {
  return CreateUnderNewName(random_, [&](const std::string& name) {
    pending.temporary = pending.place.parent_path() / name;
    HANDLE handle = INVALID_HANDLE_VALUE;
    DWORD failure = ERROR_TOO_MANY_OPEN_FILES;
    pending.watch = InterruptCleanup::CreateWatched(pending.temporary, [&] {
      handle = ops_.createNew(SystemPath(pending.temporary).c_str());
      failure = ::GetLastError();
      return handle != INVALID_HANDLE_VALUE;
    });
    if (pending.watch >= 0) return std::pair{handle, false};
    const bool taken = failure == ERROR_FILE_EXISTS;
    error = taken ? std::make_error_code(std::errc::file_exists) : WindowsError(failure);
    return std::pair{INVALID_HANDLE_VALUE, taken};
  });
}

std::vector<ReplaceBatch::Failure> ReplaceBatch::State::Commit() {
  std::vector<Failure> failures;
  for (Pending& pending : pending_) {
    const std::wstring place = SystemPath(pending.place);
    const std::wstring temporary = SystemPath(pending.temporary);
    const bool placed = pending.replaces ? ops_.replaceFile(place.c_str(), temporary.c_str())
                                         : ops_.moveFile(temporary.c_str(), place.c_str());
    if (placed) {
      InterruptCleanup::Forget(std::exchange(pending.watch, -1));
      continue;
    }
    pending.error = LastWindowsError();
    Discard(pending);
    failures.push_back({pending.target, pending.error});
  }
  pending_.clear();
  bytes_ = 0;
  cleanup_.reset();
  return failures;
}

// Removes a temporary that will not replace its target, if it was made.
void ReplaceBatch::State::Discard(const Pending& pending) const {
  if (pending.watch < 0) return;
  ::DeleteFileW(SystemPath(pending.temporary).c_str());
  InterruptCleanup::Forget(pending.watch);
}

}  // namespace habuki
