#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/io/posix/replace_batch_state.h"
#include "core/io/posix/replace_target.h"
#include "core/io/temporary_name.h"
#include "core/io/write_refusal.h"

namespace habuki {

static_assert(BatchLimits{}.files * 2 <= InterruptCleanup::kMaxWatched,
              "a batch and a single write beside it must find their temporaries watched");

namespace {

std::error_code WriteThrough(FileDescriptor& file, const WriteContents& contents) {
  if (const auto error = contents(file.get())) return error;
  return file.Close();
}

// The successor takes the old file's owner and group while only its owner may read it, then
// its ACL and extended attributes, and only then its mode. Where the owner cannot be kept, the
// file stays the caller's, and a setuid or setgid bit would hand the caller's rights to whoever
// runs it: those bits go.
std::error_code TakeOver(const FileOps& ops, const ReplaceTarget& target, int successor) {
  mode_t mode = target.info.st_mode & 07777;
  if (ops.fchown(successor, target.info.st_uid, target.info.st_gid) != 0) {
    mode &= ~mode_t{S_ISUID | S_ISGID};
  }
  if (ops.copyAcl(target.file.get(), successor) != 0) return WriteRefusal::AclNotKept;
  if (ops.copyAttributes(target.file.get(), successor) != 0) {
    return WriteRefusal::AttributesNotKept;
  }
  return ops.fchmod(successor, mode) == 0 ? std::error_code{} : LastError();
}

}  // namespace

ReplaceBatch::State::State(FileOps ops, BatchLimits limits)
    : ops_(std::move(ops)), limits_(limits), random_(std::random_device{}()) {
  pending_.reserve(limits_.files);
  folders_.reserve(limits_.files);
}

ReplaceBatch::State::~State() {
  for (const Pending& pending : pending_) Discard(pending);
}

std::error_code ReplaceBatch::State::Add(const std::filesystem::path& path,
                                         const WriteContents& contents) {
  ReplaceTarget target;
  if (const auto error = FindTarget(ops_, path, target)) return error;
  if (target.IsWrittenThrough()) return WriteThrough(target.file, contents);
  // Recorded before the temporary exists, so that whatever happens from there on, an exception
  // included, it is either kept whole or removed.
  Pending& pending = pending_.emplace_back();
  std::error_code error;
  try {
    pending.target = path;
    pending.name = target.name;
    pending.folder = KeepFolder(std::move(target.folder));
    error = Fill(target, pending, contents);
  } catch (...) {
    Discard(pending);
    pending_.pop_back();
    throw;
  }
  if (error) {
    Discard(pending);
    pending_.pop_back();
    return error;
  }
  return {};
}

bool ReplaceBatch::State::Full() const {
  return pending_.size() >= limits_.files || folders_.size() >= limits_.files ||
         bytes_ >= limits_.bytes;
}

// Writes the temporary: private to its owner when it replaces a file, until it has taken that
// file's owner. A new file is made with the permissions it will keep, as any program makes one.
std::error_code ReplaceBatch::State::Fill(const ReplaceTarget& target, Pending& pending,
                                          const WriteContents& contents) {
  if (!cleanup_) cleanup_.emplace();
  const mode_t mode = target.IsNew() ? 0666 : (target.info.st_mode & 0600);
  FileDescriptor file(CreateTemporary(pending, mode), ops_);
  if (!file.valid()) return LastError();
  if (!target.IsNew()) {
    if (const auto error = TakeOver(ops_, target, file.get())) return error;
  }
  if (const auto error = contents(file.get())) return error;
  // Contents written as they are made tell their size only once written.
  bytes_ += static_cast<std::size_t>(std::max<off_t>(::lseek(file.get(), 0, SEEK_CUR), 0));
  if (!folders_[pending.folder].readable && ops_.fsync(file.get()) != 0) return LastError();
  return file.Close();
}

// Folders are held open once each, however many results go into them.
std::size_t ReplaceBatch::State::KeepFolder(FileDescriptor folder) {
  struct stat info {};
  ::fstat(folder.get(), &info);
  for (std::size_t i = 0; i < folders_.size(); ++i) {
    if (folders_[i].device == info.st_dev && folders_[i].inode == info.st_ino) return i;
  }
  const bool readable = (::fcntl(folder.get(), F_GETFL) & O_PATH) == 0;
  folders_.push_back({std::move(folder), info.st_dev, info.st_ino, readable});
  return folders_.size() - 1;
}

// Makes a new file beside the target that no other writer can have opened, and watches it for
// removal on a signal. Its name is short, so that it fits wherever the target's name fits.
int ReplaceBatch::State::CreateTemporary(Pending& pending, mode_t mode) {
  const int folder = folders_[pending.folder].descriptor.get();
  for (int attempt = 0; attempt < 100; ++attempt) {
    pending.temporary = TemporaryName(random_);
    const WatchedFile file = InterruptCleanup::CreateWatched(folder, pending.temporary, [&] {
      return ops_.openat(folder, pending.temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                         mode);
    });
    pending.watch = file.watch;
    if (file.descriptor >= 0 || errno != EEXIST) return file.descriptor;
  }
  return -1;
}

std::vector<ReplaceBatch::Failure> ReplaceBatch::State::Commit() {
  SyncData();
  for (Pending& pending : pending_) {
    if (!pending.error) Rename(pending);
  }
  std::vector<Failure> failures;
  for (const Pending& pending : pending_) {
    if (!pending.error) continue;
    Discard(pending);
    failures.push_back({pending.target, pending.error});
  }
  // Makes the renames durable where the folder can be synced. The new contents are in place by
  // now, so a failure here is not reported as a failed write.
  for (const Folder& folder : folders_) {
    if (folder.renamedInto && folder.readable) ops_.fsync(folder.descriptor.get());
  }
  pending_.clear();
  folders_.clear();
  bytes_ = 0;
  cleanup_.reset();
  return failures;
}

// One sync per file system puts every temporary on it on disk, where a sync of each file would
// wait for the disk once per file. Where that sync fails, no result on it is kept.
void ReplaceBatch::State::SyncData() {
  std::vector<std::pair<dev_t, std::error_code>> synced;
  for (Pending& pending : pending_) {
    const Folder& folder = folders_[pending.folder];
    if (!folder.readable) continue;  // its results were synced as they were written
    auto sync = std::find_if(synced.begin(), synced.end(),
                             [&](const auto& done) { return done.first == folder.device; });
    if (sync == synced.end()) {
      const bool ok = ops_.syncfs(folder.descriptor.get()) == 0;
      sync = synced.insert(sync, {folder.device, ok ? std::error_code{} : LastError()});
    }
    pending.error = sync->second;
  }
}

void ReplaceBatch::State::Rename(Pending& pending) {
  Folder& folder = folders_[pending.folder];
  const int fd = folder.descriptor.get();
  if (ops_.renameat(fd, pending.temporary.c_str(), fd, pending.name.c_str()) != 0) {
    pending.error = LastError();
    return;
  }
  InterruptCleanup::Forget(std::exchange(pending.watch, -1));
  folder.renamedInto = true;
}

// Removes a temporary that will not replace its target, if it was made.
void ReplaceBatch::State::Discard(const Pending& pending) const {
  if (pending.watch < 0) return;
  ::unlinkat(folders_[pending.folder].descriptor.get(), pending.temporary.c_str(), 0);
  InterruptCleanup::Forget(pending.watch);
}

}  // namespace habuki
