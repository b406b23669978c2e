#include "core/io/scratch_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "core/io/errno_error.h"
#include "core/io/path_text.h"
#include "core/io/posix/interrupt_cleanup.h"
#include "core/io/temporary_name.h"

namespace habuki {

// The folder stays open for as long as the file is there: the signal handler removes the file
// by the folder's descriptor and its name.
struct ScratchFile::State {
  InterruptCleanup cleanup;
  int folder = -1;
  WatchedFile file;
  std::string name;

  ~State() {
    if (file.descriptor >= 0) {
      ::unlinkat(folder, name.c_str(), 0);
      InterruptCleanup::Forget(file.watch);
      ::close(file.descriptor);
    }
    if (folder >= 0) ::close(folder);
  }
};

ScratchFile::ScratchFile() : state_(std::make_unique<State>()) {
  const std::filesystem::path temporary = std::filesystem::temp_directory_path(error_);
  if (error_) return;
  state_->folder = ::open(temporary.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (state_->folder < 0) {
    error_ = LastError();
    return;
  }
  std::mt19937 random(std::random_device{}());
  for (int attempt = 0; attempt < 100; ++attempt) {
    state_->name = TemporaryName(random);
    state_->file = InterruptCleanup::CreateWatched(state_->folder, state_->name, [&] {
      return ::openat(state_->folder, state_->name.c_str(), O_RDONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                      0600);
    });
    if (state_->file.descriptor >= 0) {
      utf8Path_ = Utf8Of(temporary / state_->name);
      return;
    }
    if (errno != EEXIST) break;
  }
  error_ = LastError();
}

ScratchFile::~ScratchFile() = default;

FileContents ScratchFile::ReadBack(ReadLimit limit) const {
  if (::lseek(state_->file.descriptor, 0, SEEK_SET) != 0) {
    FileContents unread;
    unread.error = LastError();
    return unread;
  }
  return ReadDescriptor(state_->file.descriptor, limit);
}

}  // namespace habuki
