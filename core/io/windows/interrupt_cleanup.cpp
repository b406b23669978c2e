#include "core/io/windows/interrupt_cleanup.h"

#include <windows.h>

#include <array>
#include <mutex>
#include <string>

#include "core/io/windows/system_path.h"

namespace habuki {

namespace {

// The temporary files to remove, and the lock the handler takes. A console handler can reach
// nothing but process-wide state, so this is the program's one global of its kind; only the
// handler and InterruptCleanup touch it.
struct WatchedFiles {
  std::mutex lock;
  std::array<std::wstring, InterruptCleanup::kMaxWatched> paths;  // empty: free
  std::array<bool, InterruptCleanup::kMaxWatched> folders{};      // the path is a folder's
};
WatchedFiles watched;

// Removes the files in `folder`, then the folder.
void RemoveFolder(const std::wstring& folder) {
  WIN32_FIND_DATAW entry;
  const HANDLE found = ::FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (found != INVALID_HANDLE_VALUE) {
    do {
      if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        ::DeleteFileW((folder + L"\\" + entry.cFileName).c_str());
      }
    } while (::FindNextFileW(found, &entry));
    ::FindClose(found);
  }
  ::RemoveDirectoryW(folder.c_str());
}

BOOL WINAPI RemoveWatchedFilesAndExit(DWORD event) {
  watched.lock.lock();  // kept: the program ends here
  for (std::size_t i = 0; i < watched.paths.size(); ++i) {
    if (watched.paths[i].empty() || watched.folders[i]) continue;
    ::DeleteFileW(watched.paths[i].c_str());
  }
  for (std::size_t i = 0; i < watched.paths.size(); ++i) {
    if (!watched.paths[i].empty() && watched.folders[i]) RemoveFolder(watched.paths[i]);
  }
  ::ExitProcess(event == CTRL_C_EVENT ? 130 : event == CTRL_BREAK_EVENT ? 131 : 129);
}

int Watch(const std::filesystem::path& path, bool folder, const std::function<bool()>& create) {
  const std::lock_guard<std::mutex> guard(watched.lock);
  for (std::size_t i = 0; i < watched.paths.size(); ++i) {
    if (!watched.paths[i].empty()) continue;
    if (!create()) return -1;
    watched.paths[i] = SystemPath(path);
    watched.folders[i] = folder;
    return static_cast<int>(i);
  }
  ::SetLastError(ERROR_TOO_MANY_OPEN_FILES);
  return -1;
}

}  // namespace

InterruptCleanup::InterruptCleanup() {
  static std::once_flag installed;
  std::call_once(installed, [] { ::SetConsoleCtrlHandler(RemoveWatchedFilesAndExit, TRUE); });
}

int InterruptCleanup::CreateWatched(const std::filesystem::path& path,
                                    const std::function<bool()>& create) {
  return Watch(path, false, create);
}

int InterruptCleanup::CreateWatchedFolder(const std::filesystem::path& path,
                                          const std::function<bool()>& create) {
  return Watch(path, true, create);
}

void InterruptCleanup::Forget(int watch) {
  if (watch < 0) return;
  const std::lock_guard<std::mutex> guard(watched.lock);
  watched.paths[static_cast<std::size_t>(watch)].clear();
}

}  // namespace habuki
