#include "core/io/scratch_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "core/io/errno_error.h"
#include "core/io/path_text.h"
#include "core/io/posix/interrupt_cleanup.h"
#include "core/io/posix/new_file.h"
#include "core/io/temporary_name.h"

namespace habuki {

namespace {

constexpr const char* kFileName = "workbook";

// $TMPDIR as the system's programs take it: unset or empty means /tmp.
std::filesystem::path TemporaryFolder() {
  const char* folder = std::getenv("TMPDIR");
  return folder != nullptr && *folder != '\0' ? folder : "/tmp";
}

// The name by which any program opens what descriptor `fd` holds; none without /proc.
std::string DescriptorPath(int fd) {
  const std::string path = "/proc/self/fd/" + std::to_string(fd);
  return ::access(path.c_str(), F_OK) == 0 ? path : std::string();
}

// Removes everything in the folder `fd`: the library's files left by a failure.
void EmptyFolder(int fd) {
  const int listed = ::dup(fd);
  DIR* entries = listed >= 0 ? ::fdopendir(listed) : nullptr;
  if (entries == nullptr) {
    if (listed >= 0) ::close(listed);
    return;
  }
  while (const dirent* entry = ::readdir(entries)) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") ::unlinkat(fd, entry->d_name, 0);
  }
  ::closedir(entries);
}

}  // namespace

// The parent stays open for as long as the folder is there, and the folder for as long as its
// file is: the signal handler removes them by these descriptors and their names.
struct ScratchFile::State {
  InterruptCleanup cleanup;
  int parent = -1;
  WatchedFile folder;
  std::string folderName;
  int file = -1;
  bool named = false;  // the file has a name in the folder: kFileName

  ~State() {
    if (file >= 0) ::close(file);
    if (folder.descriptor >= 0) {
      EmptyFolder(folder.descriptor);
      struct stat mine {
      }, there{};
      ::fstat(folder.descriptor, &mine);
      // Only the folder made here is removed, not one that took its name meanwhile.
      const bool same = ::fstatat(parent, folderName.c_str(), &there, AT_SYMLINK_NOFOLLOW) == 0 &&
                        there.st_dev == mine.st_dev && there.st_ino == mine.st_ino;
      if (same) ::unlinkat(parent, folderName.c_str(), AT_REMOVEDIR);
      InterruptCleanup::Forget(folder.watch);
      ::close(folder.descriptor);
    }
    if (parent >= 0) ::close(parent);
  }

  // Makes the folder, private to its owner; false with errno set when it cannot.
  bool MakeFolder(std::mt19937& random) {
    for (int attempt = 0; attempt < 100; ++attempt) {
      folderName = TemporaryName(random);
      folder = InterruptCleanup::CreateWatchedFolder(parent, folderName, [&] {
        if (::mkdirat(parent, folderName.c_str(), 0700) != 0) return -1;
        return ::openat(parent, folderName.c_str(),
                        O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
      });
      if (folder.descriptor >= 0) return IsOwnPrivateFolder();
      if (errno != EEXIST) return false;
    }
    return false;
  }

  // What was opened must be the folder made: another user who owns the temporary folder could
  // have put one of theirs in its place.
  bool IsOwnPrivateFolder() const {
    struct stat info {};
    if (::fstat(folder.descriptor, &info) != 0) return false;
    if (info.st_uid == ::geteuid() && (info.st_mode & 0777) == 0700) return true;
    errno = EPERM;
    return false;
  }

  // The file, unnamed where the system allows and the library can reach it without a name.
  bool MakeFile(bool unnamedAllowed) {
    if (unnamedAllowed) {
      file = ::openat(folder.descriptor, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
      if (file >= 0) return true;
    }
    named = true;
    file = CreateNewFile(folder.descriptor, kFileName);
    return file >= 0;
  }
};

ScratchFile::ScratchFile() : state_(std::make_unique<State>()) {
  const std::filesystem::path temporary = TemporaryFolder();
  place_ = Utf8Of(temporary);
  state_->parent = ::open(temporary.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  std::mt19937 random(std::random_device{}());
  if (state_->parent < 0 || !state_->MakeFolder(random)) {
    error_ = LastError();
    return;
  }
  place_ = Utf8Of(temporary / state_->folderName);
  const std::string folderByDescriptor = DescriptorPath(state_->folder.descriptor);
  if (!state_->MakeFile(!folderByDescriptor.empty())) {
    error_ = LastError();
    return;
  }
  utf8Folder_ = folderByDescriptor.empty() ? place_ : folderByDescriptor;
  utf8Path_ = state_->named ? utf8Folder_ + "/" + kFileName : DescriptorPath(state_->file);
}

ScratchFile::~ScratchFile() = default;

FileContents ScratchFile::ReadBack(ReadLimit limit) const {
  if (::lseek(state_->file, 0, SEEK_SET) != 0) {
    FileContents unread;
    unread.error = LastError();
    return unread;
  }
  return ReadDescriptor(state_->file, limit);
}

}  // namespace habuki
