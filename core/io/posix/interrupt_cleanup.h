#pragma once

#include <csignal>
#include <cstddef>
#include <string_view>

namespace habuki {

// A file or folder made and watched by InterruptCleanup::CreateWatched.
struct WatchedFile {
  int descriptor = -1;  // -1 when it could not be made
  int watch = -1;       // what to hand Forget once it is renamed or removed
};

// While temporary files are being written, no signal that would end the program may leave one
// behind: while an InterruptCleanup lives, SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2,
// SIGALRM, SIGXCPU, SIGVTALRM and SIGPROF remove every watched file and folder and end the program
// with 128 + the signal's number, and SIGXFSZ is ignored, so that a write past the file size
// limit fails with an error that the writer reports and cleans up after. Signals the program
// ignores stay ignored. Cleanups may overlap, in any order: the handlers are set when the first
// begins, and the ones that were there before come back only when the last one ends.
//
// What is watched is held by descriptors and names in a table of fixed size, so that the handler
// needs nothing but system calls: it may run at any moment and can use nothing else safely.
class InterruptCleanup {
 public:
  static constexpr std::size_t kMaxWatched = 512;
  static constexpr std::size_t kMaxName = 32;  // the longest name, its terminating zero included

  InterruptCleanup();
  InterruptCleanup(const InterruptCleanup&) = delete;
  InterruptCleanup& operator=(const InterruptCleanup&) = delete;
  ~InterruptCleanup();

  // Runs `create`, which makes the file `name` in the open folder `folder` and gives its
  // descriptor or -1, with the signals held back, and watches it if it was made: no signal can
  // come between the two. With every place in the table taken, nothing is made (EMFILE).
  template <typename Create>
  static WatchedFile CreateWatched(int folder, std::string_view name, Create create) {
    return CreateWatchedEntry(folder, name, false, create);
  }
  // The same for a folder of files that a library makes, `create` giving its descriptor: on a
  // signal, whatever is in it is removed, and then the folder.
  template <typename Create>
  static WatchedFile CreateWatchedFolder(int parent, std::string_view name, Create create) {
    return CreateWatchedEntry(parent, name, true, create);
  }

  // The file was renamed or removed: nothing is left to clean up for it.
  static void Forget(int watch);

 private:
  template <typename Create>
  static WatchedFile CreateWatchedEntry(int folder, std::string_view name, bool isFolder,
                                        Create create) {
    const sigset_t before = HoldSignals();
    WatchedFile file;
    file.watch = Claim(name);
    if (file.watch >= 0) {
      file.descriptor = create();
      if (file.descriptor >= 0) {
        Watch(file.watch, folder, isFolder ? file.descriptor : -1);
      } else {
        Forget(file.watch);
        file.watch = -1;
      }
    }
    ::sigprocmask(SIG_SETMASK, &before, nullptr);
    return file;
  }

  // Takes a free place in the table for `name`; gives -1 (EMFILE) when none is free or the name
  // does not fit.
  static int Claim(std::string_view name);
  // `folder` holds the name; `contents` is the watched folder's own descriptor, -1 for a file.
  static void Watch(int watch, int folder, int contents);
  // Blocks the signals handled; gives the mask to restore.
  static sigset_t HoldSignals();
};

}  // namespace habuki
