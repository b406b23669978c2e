#include "core/io/posix/interrupt_cleanup.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>

namespace habuki {

namespace {

// The signals whose default action ends the program while a write can be under way, and
// SIGXFSZ, which is ignored instead.
constexpr int kEnding[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM};
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM, SIGXFSZ};
static_assert(std::size(kSignals) == InterruptCleanup::kHandled);

constexpr int kFree = -1;
constexpr int kClaimed = -2;

// One watched file: its folder's descriptor once it exists (kFree, kClaimed before), and its
// name.
struct WatchedSlot {
  std::atomic<int> folder{kFree};
  char name[InterruptCleanup::kMaxName];
};
static_assert(std::atomic<int>::is_always_lock_free);

// The temporary files to remove. A signal handler can reach nothing but process-wide state, so
// this is the program's one global; only the handler and InterruptCleanup touch it.
std::array<WatchedSlot, InterruptCleanup::kMaxWatched> watchedFiles;

extern "C" void RemoveWatchedFilesAndExit(int signal) {
  for (WatchedSlot& slot : watchedFiles) {
    const int folder = slot.folder.load(std::memory_order_acquire);
    if (folder >= 0) ::unlinkat(folder, slot.name, 0);
  }
  ::_exit(128 + signal);
}

}  // namespace

InterruptCleanup::InterruptCleanup() {
  struct sigaction cleanup {};
  cleanup.sa_handler = RemoveWatchedFilesAndExit;
  sigemptyset(&cleanup.sa_mask);
  for (const int signal : kEnding) sigaddset(&cleanup.sa_mask, signal);
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  for (std::size_t i = 0; i < kHandled; ++i) {
    const int signal = kSignals[i];
    ::sigaction(signal, nullptr, &previous_[i]);
    if (previous_[i].sa_handler == SIG_IGN) continue;
    ::sigaction(signal, signal == SIGXFSZ ? &ignore : &cleanup, nullptr);
  }
}

InterruptCleanup::~InterruptCleanup() {
  for (std::size_t i = 0; i < kHandled; ++i) ::sigaction(kSignals[i], &previous_[i], nullptr);
}

int InterruptCleanup::Claim(std::string_view name) {
  if (name.size() < kMaxName) {
    for (std::size_t i = 0; i < watchedFiles.size(); ++i) {
      int expected = kFree;
      if (!watchedFiles[i].folder.compare_exchange_strong(expected, kClaimed)) continue;
      std::copy(name.begin(), name.end(), watchedFiles[i].name);
      watchedFiles[i].name[name.size()] = '\0';
      return static_cast<int>(i);
    }
  }
  errno = EMFILE;
  return -1;
}

void InterruptCleanup::Watch(int watch, int folder) {
  watchedFiles[static_cast<std::size_t>(watch)].folder.store(folder, std::memory_order_release);
}

void InterruptCleanup::Forget(int watch) {
  if (watch >= 0) watchedFiles[static_cast<std::size_t>(watch)].folder.store(kFree);
}

sigset_t InterruptCleanup::HoldSignals() {
  sigset_t signals, before;
  sigemptyset(&signals);
  for (const int signal : kEnding) sigaddset(&signals, signal);
  ::sigprocmask(SIG_BLOCK, &signals, &before);
  return before;
}

}  // namespace habuki
