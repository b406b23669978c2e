#include "core/io/posix/interrupt_cleanup.h"

#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>

namespace habuki {

namespace {

// The signals whose default action ends the program while a write can be under way, and
// SIGXFSZ, which is ignored instead.
constexpr int kEnding[] = {SIGINT,  SIGTERM, SIGHUP,  SIGQUIT,   SIGUSR1,
                           SIGUSR2, SIGALRM, SIGXCPU, SIGVTALRM, SIGPROF};
constexpr int kSignals[] = {SIGINT,  SIGTERM, SIGHUP,    SIGQUIT, SIGUSR1, SIGUSR2,
                            SIGALRM, SIGXCPU, SIGVTALRM, SIGPROF, SIGXFSZ};
constexpr std::size_t kHandled = std::size(kSignals);

constexpr int kFree = -1;
constexpr int kClaimed = -2;

// One watched file or folder: the descriptor of the folder that holds it once it exists (kFree,
// kClaimed before), its name, and for a folder its own descriptor.
struct WatchedSlot {
  std::atomic<int> folder{kFree};
  int contents = -1;
  char name[InterruptCleanup::kMaxName];
};
static_assert(std::atomic<int>::is_always_lock_free);

// What the handler needs and the handlers it replaced. A signal handler can reach nothing but
// process-wide state, so this is the program's one global; only the handler and InterruptCleanup
// touch it.
struct Watched {
  std::array<WatchedSlot, InterruptCleanup::kMaxWatched> slots;
  struct sigaction previous[kHandled];
  int cleanups = 0;  // how many InterruptCleanups live
};
Watched watched;

// Removes what a watched folder holds, by the system calls alone (getdents64, unlinkat): no
// library call is safe in a handler.
void EmptyFolder(int folder) {
  alignas(8) static char entries[4096];
  for (;;) {
    const long size = ::syscall(SYS_getdents64, folder, entries, sizeof entries);
    if (size <= 0) return;
    bool removed = false;
    for (long at = 0; at < size;) {
      const char* entry = entries + at;
      unsigned short length;
      __builtin_memcpy(&length, entry + 16, sizeof length);
      const char* name = entry + 19;
      const bool dots = name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
      if (!dots) removed = ::unlinkat(folder, name, 0) == 0 || removed;
      at += length;
    }
    if (!removed) return;
    ::lseek(folder, 0, SEEK_SET);
  }
}

extern "C" void RemoveWatchedFilesAndExit(int signal) {
  for (WatchedSlot& slot : watched.slots) {
    const int folder = slot.folder.load(std::memory_order_acquire);
    if (folder < 0) continue;
    if (slot.contents >= 0) EmptyFolder(slot.contents);
    ::unlinkat(folder, slot.name, slot.contents >= 0 ? AT_REMOVEDIR : 0);
  }
  ::_exit(128 + signal);
}

void SetHandlers() {
  struct sigaction cleanup {};
  cleanup.sa_handler = RemoveWatchedFilesAndExit;
  sigemptyset(&cleanup.sa_mask);
  for (const int signal : kEnding) sigaddset(&cleanup.sa_mask, signal);
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  for (std::size_t i = 0; i < kHandled; ++i) {
    const int signal = kSignals[i];
    ::sigaction(signal, nullptr, &watched.previous[i]);
    if (watched.previous[i].sa_handler == SIG_IGN) continue;
    ::sigaction(signal, signal == SIGXFSZ ? &ignore : &cleanup, nullptr);
  }
}

}  // namespace

InterruptCleanup::InterruptCleanup() {
  if (watched.cleanups++ == 0) SetHandlers();
}

InterruptCleanup::~InterruptCleanup() {
  if (--watched.cleanups != 0) return;
  for (std::size_t i = 0; i < kHandled; ++i) {
    ::sigaction(kSignals[i], &watched.previous[i], nullptr);
  }
}

int InterruptCleanup::Claim(std::string_view name) {
  if (name.size() < kMaxName) {
    for (WatchedSlot& slot : watched.slots) {
      int expected = kFree;
      if (!slot.folder.compare_exchange_strong(expected, kClaimed)) continue;
      std::copy(name.begin(), name.end(), slot.name);
      slot.name[name.size()] = '\0';
      return static_cast<int>(&slot - watched.slots.data());
    }
  }
  errno = EMFILE;
  return -1;
}

void InterruptCleanup::Watch(int watch, int folder, int contents) {
  WatchedSlot& slot = watched.slots[static_cast<std::size_t>(watch)];
  slot.contents = contents;
  slot.folder.store(folder, std::memory_order_release);
}

void InterruptCleanup::Forget(int watch) {
  if (watch >= 0) watched.slots[static_cast<std::size_t>(watch)].folder.store(kFree);
}

sigset_t InterruptCleanup::HoldSignals() {
  sigset_t signals, before;
  sigemptyset(&signals);
  for (const int signal : kEnding) sigaddset(&signals, signal);
  ::sigprocmask(SIG_BLOCK, &signals, &before);
  return before;
}

}  // namespace habuki
