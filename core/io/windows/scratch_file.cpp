#include "core/io/scratch_file.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <filesystem>
#include <random>
#include <utility>

#include "core/io/errno_error.h"
#include "core/io/path_text.h"
#include "core/io/temporary_name.h"
#include "core/io/windows/interrupt_cleanup.h"
#include "core/io/windows/system_error.h"

namespace habuki {

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

// Removes what a library left in `folder`, then the folder.
void RemoveFolder(const std::filesystem::path& folder) {
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ignored)) {
    ::DeleteFileW(entry.path().c_str());
  }
  ::RemoveDirectoryW(folder.c_str());
}

}  // namespace

// The folder, in the user's own temporary folder, takes the permissions the user's files there
// have: no other user's.
struct ScratchFile::State {
  InterruptCleanup cleanup;
  std::filesystem::path folder;
  int folderWatch = -1;
  std::filesystem::path path;
  int descriptor = -1;
  int watch = -1;

  ~State() {
    if (descriptor >= 0) {
      ::_close(descriptor);
      ::DeleteFileW(path.c_str());
      InterruptCleanup::Forget(watch);
    }
    if (folderWatch >= 0) {
      RemoveFolder(folder);
      InterruptCleanup::Forget(folderWatch);
    }
  }

  std::error_code MakeFolder(const std::filesystem::path& temporary) {
    std::mt19937 random(std::random_device{}());
    for (int attempt = 0; attempt < 100; ++attempt) {
      folder = temporary / TemporaryName(random);
      DWORD failure = ERROR_TOO_MANY_OPEN_FILES;
      folderWatch = InterruptCleanup::CreateWatchedFolder(folder, [&] {
        const bool made = ::CreateDirectoryW(folder.c_str(), nullptr) != 0;
        failure = ::GetLastError();
        return made;
      });
      if (folderWatch >= 0) return {};
      if (failure != ERROR_ALREADY_EXISTS) return WindowsError(failure);
    }
    return std::make_error_code(std::errc::file_exists);
  }

  std::error_code MakeFile() {
    path = folder / L"workbook";
    HANDLE handle = INVALID_HANDLE_VALUE;
    DWORD failure = ERROR_TOO_MANY_OPEN_FILES;
    watch = InterruptCleanup::CreateWatched(path, [&] {
      handle = CreateScratch(path);
      failure = ::GetLastError();
      return handle != INVALID_HANDLE_VALUE;
    });
    if (watch < 0) return WindowsError(failure);
    ForgetRuntimeReason();
    descriptor = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY);
    if (descriptor >= 0) return {};
    const std::error_code error = LastError();
    ::CloseHandle(handle);
    ::DeleteFileW(path.c_str());
    InterruptCleanup::Forget(std::exchange(watch, -1));
    return error;
  }
};

ScratchFile::ScratchFile() : state_(std::make_unique<State>()) {
  const std::filesystem::path temporary = TemporaryFolder(error_);
  if (error_) return;
  place_ = Utf8Of(temporary);
  if ((error_ = state_->MakeFolder(temporary))) return;
  place_ = Utf8Of(state_->folder);
  if ((error_ = state_->MakeFile())) return;
  utf8Folder_ = place_;
  utf8Path_ = Utf8Of(state_->path);
}

ScratchFile::~ScratchFile() = default;

FileContents ScratchFile::ReadBack(ReadLimit limit) const {
  ForgetRuntimeReason();
  if (::_lseeki64(state_->descriptor, 0, SEEK_SET) != 0) {
    FileContents unread;
    unread.error = LastError();
    return unread;
  }
  return ReadDescriptor(state_->descriptor, limit);
}

}  // namespace habuki
