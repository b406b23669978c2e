#pragma once

#include <csignal>
#include <string>

namespace habuki {

// While a temporary file is being written, SIGINT, SIGTERM and SIGHUP must not leave it behind:
// while an InterruptCleanup lives, they remove the watched file and end the program with
// 128 + the signal's number. Signals the program ignores stay ignored; the handlers that were
// there before come back when it ends.
class InterruptCleanup {
 public:
  InterruptCleanup();
  InterruptCleanup(const InterruptCleanup&) = delete;
  InterruptCleanup& operator=(const InterruptCleanup&) = delete;
  ~InterruptCleanup();

  // Runs `create`, which makes the file `path` and gives its descriptor or -1, with the signals
  // held back, and watches `path` if it was made: no signal can come between the two.
  template <typename Create>
  int CreateWatched(const std::string& path, Create create) {
    const sigset_t before = HoldSignals();
    const int descriptor = create();
    if (descriptor >= 0) Watch(path.c_str());
    ::sigprocmask(SIG_SETMASK, &before, nullptr);
    return descriptor;
  }

  // The file was renamed or removed: nothing is left to clean up.
  void Forget() { Watch(nullptr); }

 private:
  static void Watch(const char* path);
  // Blocks the three signals; gives the mask to restore.
  static sigset_t HoldSignals();

  struct sigaction previous_[3];
};

}  // namespace habuki
