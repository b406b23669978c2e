#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>

namespace habuki {

// While temporary files are being written, neither Ctrl-C, Ctrl-Break nor closing the console
// may leave one behind: while an InterruptCleanup lives, each of these removes every watched
// file before the program ends (with 130 for Ctrl-C, as a shell reports SIGINT, else 131). The
// handler runs on a thread of its own, so the table of watched files is guarded by a lock that
// the handler keeps until the program has ended: no file can be made after it looked.
class InterruptCleanup {
 public:
  static constexpr std::size_t kMaxWatched = 512;

  InterruptCleanup();
  InterruptCleanup(const InterruptCleanup&) = delete;
  InterruptCleanup& operator=(const InterruptCleanup&) = delete;
  ~InterruptCleanup();

  // Runs `create`, which makes the file at `path` and gives whether it did, under the lock, and
  // watches the file if it was made. Gives the watch to hand Forget, or -1 when the file was not
  // made or every place in the table is taken (ERROR_TOO_MANY_OPEN_FILES).
  static int CreateWatched(const std::filesystem::path& path, const std::function<bool()>& create);

  // The file was renamed or removed: nothing is left to clean up for it.
  static void Forget(int watch);
};

}  // namespace habuki
