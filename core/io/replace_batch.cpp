#include "core/io/replace_batch.h"

#include <utility>

// What a batch holds is the system's own.
#ifdef _WIN32
#include "core/io/windows/replace_batch_state.h"
#else
#include "core/io/posix/replace_batch_state.h"
#endif

namespace habuki {

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
