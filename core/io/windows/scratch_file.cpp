#include "core/io/scratch_file.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <filesystem>
#include <random>

#include "core/io/errno_error.h"
#include "core/io/path_text.h"
#include "core/io/temporary_name.h"
#include "core/io/windows/interrupt_cleanup.h"
#include "core/io/windows/system_error.h"

namespace habuki {

struct ScratchFile::State {
  InterruptCleanup cleanup;
  std::filesystem::path path;
  int descriptor = -1;
  int watch = -1;

  ~State() {
    if (descriptor < 0) return;
    ::_close(descriptor);
    ::DeleteFileW(path.c_str());
    InterruptCleanup::Forget(watch);
  }
};

namespace {

std::filesystem::path TemporaryFolder(std::error_code& error) {
  wchar_t folder[MAX_PATH + 1];
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
  if (length == 0 || length > MAX_PATH) {
    error = LastWindowsError();
    return {};
  }
  return std::filesystem::path(std::wstring(folder, length));
}

// Shared for reading and writing, so that the library can open it while it is held, and for
// deletion, so that Ctrl-C can remove it.
HANDLE CreateScratch(const std::filesystem::path& path) {
  return ::CreateFileW(path.c_str(), GENERIC_READ,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_TEMPORARY, nullptr);
}

}  // namespace

ScratchFile::ScratchFile() : state_(std::make_unique<State>()) {
  const std::filesystem::path folder = TemporaryFolder(error_);
  if (error_) return;
  std::mt19937 random(std::random_device{}());
  for (int attempt = 0; attempt < 100; ++attempt) {
    state_->path = folder / TemporaryName(random);
    HANDLE handle = INVALID_HANDLE_VALUE;
    DWORD failure = ERROR_TOO_MANY_OPEN_FILES;
    state_->watch = InterruptCleanup::CreateWatched(state_->path, [&] {
      handle = CreateScratch(state_->path);
      failure = ::GetLastError();
      return handle != INVALID_HANDLE_VALUE;
    });
    if (state_->watch >= 0) {
      state_->descriptor = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY);
      if (state_->descriptor < 0) {
        error_ = LastError();
        ::CloseHandle(handle);
        ::DeleteFileW(state_->path.c_str());
        InterruptCleanup::Forget(state_->watch);
        return;
      }
      utf8Path_ = Utf8Of(state_->path);
      return;
    }
    if (failure != ERROR_FILE_EXISTS) {
      error_ = WindowsError(failure);
      return;
    }
  }
  error_ = std::make_error_code(std::errc::file_exists);
}

ScratchFile::~ScratchFile() = default;

FileContents ScratchFile::ReadBack(ReadLimit limit) const {
  if (::_lseeki64(state_->descriptor, 0, SEEK_SET) != 0) {
    FileContents unread;
    unread.error = LastError();
    return unread;
  }
  return ReadDescriptor(state_->descriptor, limit);
}

}  // namespace habuki
