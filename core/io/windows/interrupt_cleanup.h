#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>

namespace habuki {

// Neither Ctrl-C, Ctrl-Break nor closing the console may leave a temporary file behind, nor end
// the program with a status that looks like success (wine's default handler gives 0): once an
// InterruptCleanup has been made, each of these removes every watched file and folder (with
// what is in it) and ends the program
// with the status a shell gives the matching signal (130 for Ctrl-C, 131 for Ctrl-Break, 129
// for the console closing). The handler stays for the rest of the program. It runs on a thread
// of its own, so the table of watched files is guarded by a lock that the handler keeps until
// the program has ended: no file can be made after it looked.
class InterruptCleanup {
 public:
  static constexpr std::size_t kMaxWatched = 512;

  InterruptCleanup();
  InterruptCleanup(const InterruptCleanup&) = delete;
  InterruptCleanup& operator=(const InterruptCleanup&) = delete;

  // Runs `create`, which makes the file at `path` and gives whether it did, under the lock, and
  // watches the file if it was made. Gives the watch to hand Forget, or -1 when the file was not
  // made or every place in the table is taken (ERROR_TOO_MANY_OPEN_FILES).
  static int CreateWatched(const std::filesystem::path& path, const std::function<bool()>& create);
  // The same for a folder of files that a library makes: on Ctrl-C, whatever is in it is removed,
  // and then the folder.
  static int CreateWatchedFolder(const std::filesystem::path& path,
                                 const std::function<bool()>& create);

  // The file was renamed or removed: nothing is left to clean up for it.
  static void Forget(int watch);
};

}  // namespace habuki
