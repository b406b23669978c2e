#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/io/posix/replace_batch_state.h"
#include "core/io/replace_batch_policy.h"
#include "core/io/write_refusal.h"

namespace habuki {

static_assert(BatchLimits{}.files * 2 <= InterruptCleanup::kMaxWatched,
              "a batch and a single write beside it must find their temporaries watched");

namespace {

std::error_code WriteThrough(FileDescriptor& file, const WriteContents& contents) {
  if (const auto error = contents(file.get())) return error;
  return file.Close();
}

// The successor takes the old file's owner and group, then its ACL and extended attributes, and
// only then its mode: until then it is its writer's alone. Where the owner cannot be kept, the
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

// An unnamed file can be given a name later through /proc/self/fd; without /proc, temporaries
// have names from the start.
bool UnnamedFilesCanBeNamed() { return ::access("/proc/self/fd", F_OK) == 0; }

// A quarter of what the process may hold, so that a batch of results in many folders never
// takes the descriptors the rest of the run needs.
std::size_t DescriptorsForABatch() {
  struct rlimit limit {};
  if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return 4096;
  return std::max<std::size_t>(static_cast<std::size_t>(limit.rlim_cur) / 4, 4);
}

}  // namespace

ReplaceBatch::State::State(FileOps ops, BatchLimits limits)
    : ops_(std::move(ops)),
      limits_(limits),
      unnamedAllowed_(UnnamedFilesCanBeNamed()),
      mostHeld_(DescriptorsForABatch()),
      random_(std::random_device{}()) {
  pending_.reserve(limits_.files);
  folders_.reserve(limits_.files);
}

ReplaceBatch::State::~State() {
  for (Pending& pending : pending_) Discard(pending);
}

std::error_code ReplaceBatch::State::Add(const std::filesystem::path& path,
                                         const WriteContents& contents) {
  ReplaceTarget target;
  if (const auto error = FindTarget(ops_, path, target)) return error;
  if (target.IsWrittenThrough()) return WriteThrough(target.file, contents);
  return AddPending(
      pending_,
      [&](Pending& pending) {
        pending.target = path;
        pending.folder = KeepFolder(std::move(target.folder));
        pending.found = std::move(target);
      },
      [&](Pending& pending) { return Fill(pending, contents); },
      [&](Pending& pending) { Discard(pending); });
}

// Each result holds its temporary open, and the file it replaces, until the commit; each folder
// one more.
bool ReplaceBatch::State::Full() const {
  const std::size_t held = pending_.size() * 2 + folders_.size();
  return pending_.size() >= limits_.files || folders_.size() >= limits_.files ||
         bytes_ >= limits_.bytes || held + 3 >= mostHeld_;
}

// Writes the temporary, private to its writer when it replaces a file: nobody else can read it
// until it is whole and on disk, and only then does it take the old file's owner and
// permissions. A new file is made with the permissions it will keep, as any program makes one.
// Its data starts on its way to the disk at once; the commit waits for it.
std::error_code ReplaceBatch::State::Fill(Pending& pending, const WriteContents& contents) {
  if (!cleanup_) cleanup_.emplace();
  const mode_t mode = pending.found.IsNew() ? 0666 : 0600;
  pending.file = FileDescriptor(CreateTemporary(pending, mode), ops_);
  if (!pending.file.valid()) return LastError();
  if (const auto error = contents(pending.file.get())) return error;
  // Contents written as they are made tell their size only once written.
  bytes_ += static_cast<std::size_t>(std::max<off_t>(::lseek(pending.file.get(), 0, SEEK_CUR), 0));
  ops_.startWriteBack(pending.file.get());
  return {};
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

// Makes a new file in the target's folder that no other program can open: unnamed where the
// system allows (a killed run then leaves nothing), else under a short name no other writer can
// have opened, watched for removal on a signal.
int ReplaceBatch::State::CreateTemporary(Pending& pending, mode_t mode) {
  const int folder = folders_[pending.folder].descriptor.get();
  if (unnamedAllowed_) {
    const int fd = ops_.openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    pending.unnamed = fd >= 0;
    if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)) return fd;
  }
  return CreateNamed(pending, [&] {
    return ops_.openat(folder, pending.temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                       mode);
  });
}

// Gives the temporary a short random name by `create`, which uses pending.temporary and gives a
// descriptor (or 0) or -1, watched for removal on a signal.
int ReplaceBatch::State::CreateNamed(Pending& pending, const std::function<int()>& create) {
  const int folder = folders_[pending.folder].descriptor.get();
  return CreateUnderNewName(random_, [&](std::string name) {
    pending.temporary = std::move(name);
    const WatchedFile file = InterruptCleanup::CreateWatched(folder, pending.temporary, create);
    pending.watch = file.watch;
    return std::pair{file.descriptor, file.descriptor < 0 && errno == EEXIST};
  });
}

// Waits for every temporary's data (their write-back started as each was written), then puts
// each in its target's place, then syncs each folder once: only the run's own files are waited
// for, never another program's. Where a wait fails, that result is not put in place.
std::vector<ReplaceBatch::Failure> ReplaceBatch::State::Commit() {
  for (Pending& pending : pending_) {
    if (ops_.fdatasync(pending.file.get()) != 0) pending.error = LastError();
  }
  for (Pending& pending : pending_) {
    if (!pending.error) Publish(pending);
  }
  std::vector<Failure> failures;
  for (Pending& pending : pending_) {
    if (!pending.error) continue;
    Discard(pending);
    failures.push_back({pending.target, pending.error});
  }
  // Makes the names durable where the folder can be synced. The new contents are in place by
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

// Takes the old file's owner and permissions, then the target's name: a new target's name is
// given to the unnamed temporary directly, and fails where another program has taken it
// meanwhile; an existing target is replaced by a rename, from the name the temporary has or is
// given for it.
void ReplaceBatch::State::Publish(Pending& pending) {
  Folder& folder = folders_[pending.folder];
  const int fd = folder.descriptor.get();
  if (!pending.found.IsNew()) {
    if ((pending.error = TakeOver(ops_, pending.found, pending.file.get()))) return;
  }
  if (pending.unnamed && pending.found.IsNew()) {
    if (ops_.linkUnnamed(pending.file.get(), fd, pending.found.name.c_str()) != 0) {
      pending.error = errno == EEXIST ? make_error_code(WriteRefusal::NameTaken) : LastError();
      return;
    }
    pending.unnamed = false;
    folder.renamedInto = true;
    return;
  }
  if (pending.unnamed) {
    const int named = CreateNamed(pending, [&] {
      return ops_.linkUnnamed(pending.file.get(), fd, pending.temporary.c_str());
    });
    if (named < 0) {
      pending.error = LastError();
      return;
    }
    pending.unnamed = false;
  }
  if (ops_.renameat(fd, pending.temporary.c_str(), fd, pending.found.name.c_str()) != 0) {
    pending.error = LastError();
    return;
  }
  InterruptCleanup::Forget(std::exchange(pending.watch, -1));
  folder.renamedInto = true;
}

// Removes a temporary that will not replace its target, if it was given a name.
void ReplaceBatch::State::Discard(Pending& pending) {
  if (pending.watch < 0) return;
  ::unlinkat(folders_[pending.folder].descriptor.get(), pending.temporary.c_str(), 0);
  InterruptCleanup::Forget(std::exchange(pending.watch, -1));
}

}  // namespace habuki
