#include "core/io/replace_batch.h"

#include <utility>

#include "core/io/replace_batch_policy.h"
#include "core/io/replace_batch_state.h"

namespace habuki {

ReplaceBatch::State::State(FileOps ops, BatchLimits limits)
    : ops_(std::move(ops)), limits_(limits), random_(std::random_device{}()), system_(limits) {
  pending_.reserve(limits_.files);
}

ReplaceBatch::State::~State() {
  for (Pending& pending : pending_) Discard(pending);
}

// A target that is no regular file is written through at once; any other is given a temporary
// that replaces it at the commit.
std::error_code ReplaceBatch::State::Add(const std::filesystem::path& path,
                                         const WriteContents& contents) {
  Target target;
  if (const auto error = Find(path, target)) return error;
  if (IsWrittenThrough(target)) return WriteThrough(target, contents);
  return AddPending(
      pending_,
      [&](Pending& pending) {
        pending.target = path;
        Hold(pending, std::move(target));
      },
      [&](Pending& pending) {
        if (!cleanup_) cleanup_.emplace();
        return WriteTemporary(pending, contents);
      },
      [&](Pending& pending) { Discard(pending); });
}

bool ReplaceBatch::State::Full() const {
  return pending_.size() >= limits_.files || bytes_ >= limits_.bytes || HoldsTooMuch();
}

// Once every temporary's data is on disk, puts each in its target's place; those that could not
// be waited for or placed are removed, their targets left as they were.
std::vector<ReplaceBatch::Failure> ReplaceBatch::State::Commit() {
  WaitForData();
  for (Pending& pending : pending_) {
    if (pending.error) continue;
    Publish(pending);
    if (!pending.error) InterruptCleanup::Forget(std::exchange(pending.watch, -1));
  }
  std::vector<Failure> failures;
  for (Pending& pending : pending_) {
    if (!pending.error) continue;
    Discard(pending);
    failures.push_back({pending.target, pending.error});
  }
  SyncFolders();
  pending_.clear();
  bytes_ = 0;
  cleanup_.reset();
  return failures;
}

// Each name is given to the result before its temporary is made under it, so that a signal
// meanwhile finds it watched under that name.
ReplaceBatch::State::Made ReplaceBatch::State::CreateNamed(Pending& pending, const Create& create) {
  return CreateUnderNewName(random_, [&](std::string name) {
    NameTemporary(pending, std::move(name));
    const Made made = CreateWatched(pending, create);
    pending.watch = made.watch;
    return std::pair{made, made.taken};
  });
}

// Removes a temporary that will not replace its target, if it was given a name.
void ReplaceBatch::State::Discard(Pending& pending) {
  if (pending.watch < 0) return;
  Remove(pending);
  InterruptCleanup::Forget(std::exchange(pending.watch, -1));
}

ReplaceBatch::ReplaceBatch(FileOps ops, BatchLimits limits)
    : state_(std::make_unique<State>(std::move(ops), limits)) {}

ReplaceBatch::~ReplaceBatch() = default;

std::error_code ReplaceBatch::Add(const std::filesystem::path& path, ByteParts parts) {
  return Add(path,
             [&](int descriptor) { return WriteToDescriptor(descriptor, parts, state_->ops_); });
}

std::error_code ReplaceBatch::Add(const std::filesystem::path& path,
                                  const WriteContents& contents) {
  return state_->Add(path, contents);
}

bool ReplaceBatch::Full() const { return state_->Full(); }

std::vector<ReplaceBatch::Failure> ReplaceBatch::Commit() { return state_->Commit(); }

std::error_code ReplaceBatch::CommitOne() {
  const std::vector<Failure> failures = Commit();
  return failures.empty() ? std::error_code{} : failures.front().error;
}

}  // namespace habuki
