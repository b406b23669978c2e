#include "core/interrupt_cleanup.h"

#include <unistd.h>

#include <atomic>

namespace habuki {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The temporary file to remove. A signal handler can reach nothing but process-wide state, so
// this is the program's one global; only the handler and InterruptCleanup touch it.
std::atomic<const char*> watchedFile{nullptr};

extern "C" void RemoveWatchedFileAndExit(int signal) {
  if (const char* path = watchedFile.load()) ::unlink(path);
  ::_exit(128 + signal);
}

}  // namespace

InterruptCleanup::InterruptCleanup() {
  struct sigaction cleanup {};
  cleanup.sa_handler = RemoveWatchedFileAndExit;
  sigemptyset(&cleanup.sa_mask);
  for (const int signal : kSignals) sigaddset(&cleanup.sa_mask, signal);
  for (int i = 0; i < 3; ++i) {
    ::sigaction(kSignals[i], nullptr, &previous_[i]);
    if (previous_[i].sa_handler != SIG_IGN) ::sigaction(kSignals[i], &cleanup, nullptr);
  }
}

InterruptCleanup::~InterruptCleanup() {
  Forget();
  for (int i = 0; i < 3; ++i) ::sigaction(kSignals[i], &previous_[i], nullptr);
}

void InterruptCleanup::Watch(const char* path) { watchedFile.store(path); }

sigset_t InterruptCleanup::HoldSignals() {
  sigset_t signals, before;
  sigemptyset(&signals);
  for (const int signal : kSignals) sigaddset(&signals, signal);
  ::sigprocmask(SIG_BLOCK, &signals, &before);
  return before;
}

}  // namespace habuki
