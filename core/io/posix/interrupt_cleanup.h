#pragma once

#include <csignal>
#include <cstddef>
#include <string_view>

namespace habuki {

// A file made and watched by InterruptCleanup::CreateWatched.
struct WatchedFile {
  int descriptor = -1;  // -1 when the file could not be made
  int watch = -1;       // what to hand Forget once the file is renamed or removed
};

// While temporary files are being written, no signal that would end the program may leave one
// behind: while an InterruptCleanup lives, SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2
// and SIGALRM remove every watched file and end the program with 128 + the signal's number, and
// SIGXFSZ is ignored, so that a write past the file size limit fails with an error that the
// writer reports and cleans up after. Signals the program ignores stay ignored; the handlers that
// were there before come back when it ends.
//
// Files are watched by their folder's descriptor and their name in a table of fixed size, so
// that the handler needs nothing but unlinkat: it may run at any moment and can use nothing
// else safely.
class InterruptCleanup {
 public:
  static constexpr std::size_t kMaxWatched = 512;
  static constexpr std::size_t kMaxName = 32;  // the longest name, its terminating zero included
  static constexpr std::size_t kHandled = 8;   // the signals handled or ignored

  InterruptCleanup();
  InterruptCleanup(const InterruptCleanup&) = delete;
  InterruptCleanup& operator=(const InterruptCleanup&) = delete;
  ~InterruptCleanup();

  // Runs `create`, which makes the file `name` in the open folder `folder` and gives its
  // descriptor or -1, with the signals held back, and watches it if it was made: no signal can
  // come between the two. With every place in the table taken, nothing is made (EMFILE).
  template <typename Create>
  static WatchedFile CreateWatched(int folder, std::string_view name, Create create) {
    const sigset_t before = HoldSignals();
    WatchedFile file;
    file.watch = Claim(name);
    if (file.watch >= 0) {
      file.descriptor = create();
      if (file.descriptor >= 0) {
        Watch(file.watch, folder);
      } else {
        Forget(file.watch);
        file.watch = -1;
      }
    }
    ::sigprocmask(SIG_SETMASK, &before, nullptr);
    return file;
  }

  // The file was renamed or removed: nothing is left to clean up for it.
  static void Forget(int watch);

 private:
  // Takes a free place in the table for `name`; gives -1 (EMFILE) when none is free or the name
  // does not fit.
  static int Claim(std::string_view name);
  static void Watch(int watch, int folder);
  // Blocks the signals handled; gives the mask to restore.
  static sigset_t HoldSignals();

  struct sigaction previous_[kHandled];
};

}  // namespace habuki
